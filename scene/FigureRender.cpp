// N_AnimationFactory2 per frame: a figure's visibility, level of detail, step, emitters,
// occlusion and dressed drawing; the action queries.
#include "render/Frustum.h"
#include "render/OcclusionQuery.h"
#include "render/Render.h"
#include "scene/AnimEmitorSet.h"
#include "scene/Animation.h"
#include "scene/AnimationFactory2.h"
#include "scene/FigureMesh.h"
#include "scene/SceneAccess.h"
#include "scene/SceneHelpers.h"

#include <algorithm>

N_FigureMesh* N_AnimationFactory2::Advance(N_AnimInstance& instance, const N_Vector3& position, bool forceVisible,
                                           bool draw, bool pose, float box[6], bool& visible) {
  N_FigureMesh* mesh = MeshForIndex(instance.mesh);
  // Sorted into minimum and maximum, as the frustum's corner choice needs.
  const float corners[6] = {position.x - kBoxHalfWidth, position.y - kBoxHalfWidth, position.z,
                            position.x + kBoxHalfWidth, position.y + kBoxHalfWidth, position.z + kBoxHeight};
  std::copy(corners, corners + 6, box);
  bool inside = false;
  // Advanced only (the race's fixed steps): the verdict would not be used, and the race
  // runs without a world.
  if (draw || pose) {
    float depth = 0.0f;  // a rejected box gets no depth
    inside = g_scene.frustum && g_scene.frustum->TestBox(box, &depth);
    const float beyond = depth - mesh->Radius();
    if (beyond > kLowDetailDistance) {
      if (N_FigureMesh* low = LowMeshForIndex(instance.mesh)) mesh = low;
    }
    if (beyond > SceneVarFloat("LODWorldDistance")) inside = false;
  }
  visible = (inside || forceVisible) && draw;
  AdvanceInstance(instance, *mesh, visible);
  return mesh;
}

bool N_AnimationFactory2::PassesOcclusion(N_AnimInstance& instance, const float box[6]) const {
  if (!g_render || !g_render->SupportsOcclusionQueries() || !instance.occlusionQuery) return true;
  // Never waits: this frame's draw follows a query of an earlier frame.
  DWORD pixels = 0;
  const bool answered = instance.occlusionQuery->GetResult(&pixels, true);
  instance.occlusionQuery->TestBox(box);
  return !(answered && pixels == 0);
}

void N_AnimationFactory2::RenderFigure(float frameTime, int index, const N_Vector3& position,
                                       const N_Matrix3& orientation, int dressNumber, const N_FigureAthlete* athlete,
                                       bool forceVisible, bool draw, bool pose) {
  if (!ValidInstance(index) || m_figureMeshes.empty()) return;
  N_AnimInstance& instance = *m_instances[static_cast<std::size_t>(index)];
  TakeQueuedAction(instance);
  instance.frameTime = frameTime;
  float box[6];
  bool visible = false;
  N_FigureMesh* mesh = Advance(instance, position, forceVisible, draw, pose, box, visible);
  if (pose) {
    mesh->Skin(instance);
    if (instance.emitters) {
      instance.emitters->Update(instance.takenAction, instance.channel1.frameA, position, orientation);
      instance.emitters->UpdatePatches();
    }
  }
  if (!visible || !PassesOcclusion(instance, box)) return;
  mesh->DrawDressed(position, orientation, dressNumber, athlete);
}

int N_AnimationFactory2::GetCurrentAction(int index) const {
  return ValidInstance(index) ? m_instances[static_cast<std::size_t>(index)]->channel1.actionIndex : 0;
}

float N_AnimationFactory2::GetActionProgress(int index) const {
  if (!ValidInstance(index)) return 0.0f;
  const N_AnimAction& channel = m_instances[static_cast<std::size_t>(index)]->channel1;
  const N_Animation* animation = Animation(channel.animationA);
  if (!animation) return 0.0f;
  const int frames = animation->FrameCount();
  // With 2 keys the only frame is the last one.
  if (frames <= 2) return 1.0f;
  const float progress = static_cast<float>(channel.frameA) / static_cast<float>(frames - 2);
  return progress > 1.0f ? 1.0f : progress;
}
