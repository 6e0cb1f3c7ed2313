#pragma once
// What the skier figures read of the athletes, which the race owns (its athlete
// manager, above the scene): every athlete's figure fields, the ghost's figure (the
// spare instance) and the start-number bibs. The athlete manager is the roster: the
// world lends it through g_scene.figureRoster before it loads the figures, and the
// figure factory writes each athlete's figure instance and mesh indices back into the
// athlete's own record, where the race reads them. Tests implement the roster directly.
#include <cstddef>
#include <cstdint>
#include <string>

/// The figure fields of an athlete record (the race's athlete profile is one).
struct N_FigureAthlete {
  /// The reference mesh path (the profile key "Mesh"); the default names no model.
  std::string Mesh = "default.mesh";
  std::int32_t Figure = -1;         ///< figure instance (the racers' athlete id), written by N_AnimationFactory2::Load
  std::int32_t MeshHandle = -1;     ///< fixed index of the reference mesh, written by Load
  std::int32_t LowMeshHandle = -1;  ///< fixed index of its low-detail twin, written by Load
  /// The athlete's own gear: shader handles drawn in place of the figure meshes' dress
  /// placeholders, in this order; 0 until the athletes' textures are loaded.
  std::int32_t DressShader = 0;
  std::int32_t SticksShader = 0;
  std::int32_t GunShader = 0;
  std::int32_t SkiShader = 0;
};

class N_FigureRoster {
 public:
  static constexpr int kBibCount = 31;

  virtual ~N_FigureRoster() = default;
  /// Every athlete, in file order.
  virtual std::size_t AthleteCount() const = 0;
  /// The athlete at the index, null when the index is not below the count.
  virtual N_FigureAthlete* Athlete(std::size_t index) const = 0;
  /// The ghost of the recorded run: its figure is the spare instance.
  virtual N_FigureAthlete& Ghost() = 0;
  /// The shader of the bib of start number n (1 to 31, entry n - 1 of the 31 bibs);
  /// -1 for any other number.
  virtual int BibShader(int startNumber) const = 0;
};
