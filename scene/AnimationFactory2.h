#pragma once
// N_AnimationFactory2: the skier figures, one animation set shared by every skier seen
// in the game. The world creates it empty and fills it once (Load) after the athletes
// and the particle scripts: the reference meshes the roster names (g_scene.figureRoster)
// with their low-detail twins, the 48 skier actions of "data\anim\lyziari\", the
// emitter template of "particle.ctrl" (while "PlayersParticles" is 1), one instance per
// athlete and a spare one (the ghost's). The race, the game modes and the GUI then
// drive the instances by index (SetNextAction, SetAction, SetActionRate of the base)
// and draw each once per frame with RenderFigure:
//   1. queue take-over (as the base's RenderInstance);
//   2. the box (x +- 55, y +- 55, z .. z + 80) against the frustum, which gives its depth;
//   3. level of detail: beyond 4000 units past the mesh's radius its low twin, beyond
//      "LODWorldDistance" not drawn;
//   4. the animation step (posing only a figure to be drawn);
//   5. with pose set: skinning, then the emitters follow the bones and switch, and the
//      trail patches are drawn;
//   6. a figure to be drawn: the result of its last occlusion query (0 pixels skips it)
//      and a new query, then the figure in the athlete's dress and start number.
// The race simulation advances figures headless with draw and pose cleared: no device
// call, no frustum.
//
// Figure meshes have fixed indices (the reference table): 0-5 the low-detail twins
// "low_ref_model1" to "low_ref_model_F3", 6-11 "ref_model1" to "ref_model_F3"; the
// twin of i (6..11) is i - 6. An instance's mesh index is a fixed index; an index with
// no mesh loaded draws the first mesh loaded.
#include "core/Matrix3.h"
#include "core/Vector3.h"
#include "scene/AnimationFactory.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class N_AnimEmitorSet;
class N_FigureMesh;
struct N_FigureAthlete;

class N_AnimationFactory2 final : public N_AnimationFactory {
 public:
  static constexpr int kFixedMeshes = 12;
  /// The first full-detail mesh ("ref_model1"): fixed index i >= 6 has its twin at i - 6.
  static constexpr int kFirstFullMesh = 6;
  static constexpr float kLowDetailDistance = 4000.0f;
  static constexpr float kBoxHalfWidth = 55.0f;
  static constexpr float kBoxHeight = 80.0f;
  /// Standing still: the action every figure starts with.
  static constexpr int kStartAction = 18;
  static constexpr int kActionCount = 48;
  static constexpr const char* kEmitterScript = "data\\anim\\ref_meshe\\particle.ctrl";

  N_AnimationFactory2();
  /// Frees the figure meshes, actions, instances (their emitter sets and occlusion
  /// queries), animations and the emitter template, in this order.
  ~N_AnimationFactory2() override;

  /// Builds the figure set once (steps in the class comment). A reference mesh outside
  /// the table and a figure mesh that does not load are critical errors; an action
  /// whose animation fails is reported and left out (the later indices shift).
  void Load();
  /// Registers the path in the mesh load list (kept as written) and returns its fixed
  /// index (compared ignoring case); a path outside the table is a critical error.
  int GetReferenceMesh(const char* path);
  /// Loads a figure mesh and appends it; -1 for null, a failed load or a bone count
  /// other than the first figure mesh's (code 12).
  int AddFigureMesh(const char* path);
  /// Loads an animation fitted to the first figure mesh's bones; -1 without a figure
  /// mesh, for a failed load or an animation that does not fit (code 12 each).
  int AddFigureAnimation(const char* path);
  /// An action of one animation (or two, mixed); its name is the first path (the first
  /// action of a name keeps it). -1 when an animation fails.
  int AddAction(const char* path1, const char* path2, bool loop);
  /// The action named by its first animation file (byte for byte), -1 when none.
  int FindAction(const char* name) const;
  /// A new figure instance (bone matrices of the first figure mesh's skeleton) with a
  /// clone of the template bound to it and an occlusion query when the renderer has
  /// them; -1 without a figure mesh.
  int CreateInstance(const N_AnimEmitorSet* emitterTemplate);
  using N_AnimationFactory::CreateInstance;
  /// The instance draws the fixed mesh index; false for a bad instance or an index
  /// outside the table.
  bool SetInstanceMesh(int instance, int mesh) override;
  /// Advances, poses and draws one figure (steps in the class comment); nothing for an
  /// instance out of range or without any figure mesh.
  void RenderFigure(float frameTime, int instance, const N_Vector3& position, const N_Matrix3& orientation,
                    int dressNumber, const N_FigureAthlete* athlete, bool forceVisible, bool draw, bool pose);
  /// Channel 1's action index; 0 for an instance out of range.
  int GetCurrentAction(int instance) const;
  /// Channel 1's frame A / (its animation's frames - 2), at most 1.0 (1.0 for an
  /// animation of 2 keys); 0.0 for an instance out of range.
  float GetActionProgress(int instance) const;
  /// Every figure mesh's shadow volume (when a race is set up).
  void CreateShadowVolumes();
  /// The figure as it was made: standing still (set and queued), at its first frame, no
  /// cross-fade and no time carried over; its mesh, emitters and pose stay. A race
  /// starts its figures so, whatever the previous race left them playing.
  void ResetFigure(int instance);

  int FigureMeshCount() const { return static_cast<int>(m_figureMeshes.size()); }
  /// The figure mesh at a position of the load order, null outside.
  N_FigureMesh* FigureMesh(int index) const;
  /// The mesh a fixed index draws (the first loaded one when the index has none), null
  /// without any figure mesh.
  N_FigureMesh* MeshForIndex(int fixedIndex) const;
  /// The low-detail twin of a fixed index 6..11 when it is loaded, else null.
  N_FigureMesh* LowMeshForIndex(int fixedIndex) const;
  /// Registered reference paths -> registration number, in byte order.
  const std::map<std::string, int>& MeshLoadList() const { return m_meshLoadList; }
  const N_AnimEmitorSet* EmitterTemplate() const { return m_emitterTemplate.get(); }

 private:
  /// The fixed index of a table path (case ignored), -1 for any other.
  static int FixedIndexOf(const char* path);
  /// The instance's step: the frustum's verdict, the level of detail, the step itself;
  /// returns the mesh chosen and the box tested.
  N_FigureMesh* Advance(N_AnimInstance& instance, const N_Vector3& position, bool forceVisible, bool draw,
                        bool pose, float box[6], bool& visible);
  /// Asks the last occlusion query and issues the next: false when the last one saw no pixel.
  bool PassesOcclusion(N_AnimInstance& instance, const float box[6]) const;
  void CreateFigureInstances(N_AnimEmitorSet* emitterTemplate);

  std::vector<std::unique_ptr<N_FigureMesh>> m_figureMeshes;
  /// Fixed index -> the first mesh loaded for it (owned by m_figureMeshes), null when none.
  std::array<N_FigureMesh*, kFixedMeshes> m_fixedMeshes{};
  std::map<std::string, int> m_meshLoadList;
  int m_registrations = 0;
  std::unique_ptr<N_AnimEmitorSet> m_emitterTemplate;
};
