#pragma once
// What the skier figures read of the athletes, which the race owns (its athlete
// manager, above the scene): the roster the figure factory builds its instances from,
// the spare (ghost) figure and the start-number bibs. The race fills one N_FigureRoster
// and lends it through g_scene.figureRoster before the world loads the figures; its
// athlete records carry the N_FigureAthlete fields. Tests fill both directly.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

/// The figure fields of one athlete record.
struct N_FigureAthlete {
  /// The reference mesh path ("Mesh"); the profiles' default names no model.
  std::string mesh = "default.mesh";
  std::int32_t figureInstance = -1;  ///< written by N_AnimationFactory2::Load
  std::int32_t figureMesh = -1;      ///< fixed index of the reference mesh, written by Load
  std::int32_t lowMesh = -1;         ///< fixed index of its low-detail twin, written by Load
  /// The athlete's own gear: shader handles drawn in place of the figure meshes' dress
  /// placeholders, in this order.
  std::int32_t dressShader = 0;
  std::int32_t sticksShader = 0;
  std::int32_t gunShader = 0;
  std::int32_t skiShader = 0;
};

struct N_FigureRoster {
  static constexpr int kBibCount = 31;

  /// Every athlete in roster order (not owned).
  std::vector<N_FigureAthlete*> athletes;
  /// The spare figure instance (the ghost athlete's), written by N_AnimationFactory2::Load.
  std::int32_t spareInstance = -1;
  /// Shader handles of "textures\lyziari\startnum01" to "startnum31": the bib of start
  /// number n is entry n - 1.
  std::array<std::int32_t, kBibCount> bibShaders{};

  /// The bib shader of a start number, -1 outside 1..31.
  std::int32_t BibShader(int number) const {
    return number >= 1 && number <= kBibCount ? bibShaders[static_cast<std::size_t>(number - 1)] : -1;
  }
};
