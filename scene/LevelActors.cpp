// N_Level::RenderActors: the level's per-frame actors. Distances are compared squared:
// no square root per spectator.
#include "render/Camera.h"
#include "render/TextBatch.h"
#include "scene/AnimationFactory.h"
#include "scene/Level.h"
#include "scene/LevelAnimObject.h"
#include "scene/SceneAccess.h"
#include "scene/SceneHelpers.h"
#include "scene/StaticMesh.h"

namespace {

/// Settings given in metres are in inches in the world.
constexpr float kInchesPerMetre = 39.37f;
constexpr float kAnimationRate = 30.0f;

float Squared(float value) { return value * value; }

}  // namespace

struct N_Level::ActorRanges {
  float nearSquared;    ///< animated up to here
  float farSquared;     ///< drawn (low detail beyond near) below here
  float changeSquared;  ///< idle turns to action below here
};

void N_Level::RenderActors(float frameTime) {
  const ActorRanges ranges{Squared(SceneVarFloat("LODAudienceDistance") * kInchesPerMetre),
                           Squared(SceneVarFloat("LODWorldDistance")),
                           Squared(SceneVarFloat("AiAudienceStateChange") * kInchesPerMetre)};
  if (SceneVarInt("ShowAnimObj") != 0 && g_scene.camera && audience.Set()) {
    const N_Vector3 eye = g_scene.camera->position;
    for (N_Spectator& spectator : spectators) UpdateSpectator(spectator, frameTime, eye, ranges);
  }
  // The props play whatever "ShowAnimObj" says.
  for (const auto& object : animObjects) {
    if (object->Set()) {
      object->Set()->RenderInstance(frameTime, object->Instance(), object->Position(), object->Orientation(), false,
                                    true);
    }
  }
  if (SceneVarInt("HmlaHackSet") == 1 && g_scene.textBatch) {
    g_scene.textBatch->AddQuad(SceneVarInt("HmlaHack1"), 0.0f, 0.0f, 640.0f, 480.0f, 1.0f, 1.0f, 255);
  }
}

void N_Level::UpdateSpectator(N_Spectator& spectator, float frameTime, const N_Vector3& eye, const ActorRanges& ranges) {
  N_AnimationFactory& set = *audience.Set();
  const N_AudienceState* state = audience.State(spectator.mesh);
  spectator.timer -= frameTime;
  if (spectator.timer <= 0.0f && state) {
    spectator.timer = RandomRange(5.0f, 10.0f);
    // An empty action list keeps the spectator on its idle animations.
    const std::vector<std::int32_t>& list =
        spectator.state == 1 && !state->action.empty() ? state->action : state->idle;
    if (!list.empty()) {
      set.SetNextAction(spectator.instance, audience.SetAction(list[SpectatorPick(list.size())]), kAnimationRate, 0.0f);
    }
  }
  const N_Vector3 offset = eye - spectator.position;
  const float distanceSquared = Vec3Dot(offset, offset);
  if (distanceSquared < ranges.changeSquared && spectator.state == 0) {
    spectator.state = 1;
    spectator.timer = 0.0f;  // the next frame picks an action
  } else if (distanceSquared > ranges.changeSquared + N_Spectator::kStateMargin && spectator.state == 1) {
    spectator.state = 0;
  }
  if (distanceSquared >= ranges.farSquared) return;
  if (distanceSquared <= ranges.nearSquared) {
    set.RenderInstance(frameTime + spectator.elapsed, spectator.instance, spectator.position, spectator.orientation,
                       false, true);
    spectator.elapsed = 0.0f;
  } else {
    if (N_StaticMesh* low = audience.LowMesh(spectator.mesh)) low->Render(spectator.position, spectator.orientation);
    spectator.elapsed += frameTime;
  }
}
