#include "tests/scene/LevelFileSupport.h"

#include "tests/scene/AnimTestSupport.h"
#include "tests/scene/SceneTestSupport.h"

namespace test {

std::vector<RecordingAnimSet::Call> RecordingAnimSet::calls;

void WriteLevel(const std::string& path, const datagen::LevelData& level) { WriteBytes(path, datagen::EncodeLevel(level)); }

datagen::LevelData SmallLevel() {
  datagen::LevelData level;
  level.geometry.materials = {"walls", "roof"};
  level.geometry.lightmaps = {"lm/one"};
  AddQuad(level.geometry, 0, 0.0f, 100.0f, 0.0f, 50.0f);
  level.geometry.surfaces.back().kind = 1;
  AddQuad(level.geometry, 1, 0.0f, 200.0f, 0.0f, 20.0f);
  level.pointSets.push_back({"CameraPath_Menu", {{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}}});
  level.soundSources.push_back({{1, 2, 3}, "crowd", "crowd_sound"});
  const std::vector<N_PathKey> keys{{{0, 0, 0}, {}}, {{10, 0, 0}, {}}, {{20, 0, 0}, {}}};
  level.cameras.push_back({"Camera_Sprint", level.AddPath(keys, 2, 4.0f)});
  level.lights.push_back({"lf_sun", {0, 5000, 0}, {}, {1, 1, 1}});
  level.triggers.push_back({"Trigger_Ciel", {}});
  level.hasLightGrid = true;
  level.lightGrid.size = {2, 2, 2};
  level.lightGrid.bounds = {0, 0, 0, 100, 100, 100};
  level.lightGrid.cells.assign(8, 0x00FF8000);
  level.emitters.push_back({"snow", "snow", {0, 0, 500}, {-10, -10, -10, 10, 10, 10}});
  level.spectators.push_back({{0, 0, 0}, {}, "fan", "data\\ai\\a.mesh"});
  datagen::LevelSceneObject object;
  object.surfaceRange = level.AddSurfaceRange(0, 2);
  object.cameraPath = 0;
  object.box = {-50, 50, -50, 50, 200, 50};
  level.sceneObjects.push_back(object);
  level.namePairs.push_back({"small", "level"});
  return level;
}

std::string AudienceScript() {
  return "// two spectator meshes\n"
         "data\\ai\\a.mesh\n{\n case IDLE:\n {\n  data\\ai\\idle1.anim 1\n  data\\ai\\idle2.anim 1\n }\n"
         " case ACTION:\n {\n  data\\ai\\act.anim 1\n }\n}\n"
         "data\\ai\\b.mesh\n{\n case IDLE:\n {\n  data\\ai\\idle2.anim 1\n }\n}\n";
}

void WriteAudience(const std::string& script) {
  const datagen::AnimMeshBuilder mesh = TwoBoneQuad("fan/jacket");
  for (const char* name : {"a", "b"}) {
    WriteBytes(std::string("data/ai/") + name + ".mesh", mesh.Write());
    datagen::SurfaceData low;
    low.materials = {"fan/low"};
    AddQuad(low, 0, 0.0f, 0.0f, 10.0f, 10.0f);
    WriteMesh(std::string("data/ai/") + name + ".mesh_l.mesh", low);
  }
  for (const char* name : {"idle1", "idle2", "act", "extra"}) {
    WriteBytes(std::string("data/ai/") + name + ".anim", AnimationOf(mesh, BindFrames(mesh, 4)));
  }
  WriteBytes("data/ai/divaci.ai", std::vector<std::uint8_t>(script.begin(), script.end()));
}

int RecordingAnimSet::CreateInstance() {
  const int instance = N_AnimationFactory::CreateInstance();
  calls.push_back({"create", instance});
  return instance;
}

bool RecordingAnimSet::SetAction(int instance, int action, float rate, float mix) {
  calls.push_back({"action", instance, action});
  return N_AnimationFactory::SetAction(instance, action, rate, mix);
}

bool RecordingAnimSet::SetNextAction(int instance, int action, float rate, float mix) {
  calls.push_back({"next", instance, action});
  return N_AnimationFactory::SetNextAction(instance, action, rate, mix);
}

bool RecordingAnimSet::SetInstanceMesh(int instance, int mesh) {
  calls.push_back({"mesh", instance, mesh});
  return N_AnimationFactory::SetInstanceMesh(instance, mesh);
}

void RecordingAnimSet::RenderInstance(float frameTime, int instance, const N_Vector3&, const N_Matrix3&, bool, bool) {
  calls.push_back({"render", instance, -1, frameTime});
}

std::unique_ptr<N_AnimationFactory> RecordingAnimSet::Make() { return std::make_unique<RecordingAnimSet>(); }

}  // namespace test
