// N_Level::Load: the level file and its settings file. The whole file is decoded and
// checked first (scene/LevelFile.h); then the level is built from it section by section
// in the loader's order, with the loading progress reported between the steps (5 to
// 80), and the drawables handed to the world's level object list.
#include "core/ConfigReader.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/Matrix4.h"
#include "core/VarMng.h"
#include "platform/win32/Files.h"
#include "render/MeshSurface.h"
#include "scene/AnimationFactory.h"
#include "scene/LensFlare.h"
#include "scene/Level.h"
#include "scene/LevelAnimObject.h"
#include "scene/LevelCamera.h"
#include "scene/LevelFile.h"
#include "scene/LevelObjectList.h"
#include "scene/LightGrid.h"
#include "scene/Lightmaps.h"
#include "scene/LodObject.h"
#include "scene/LodRenderObject.h"
#include "scene/MeshObject.h"
#include "scene/SceneAccess.h"
#include "scene/SceneHelpers.h"
#include "sound/SoundMng.h"

#include <algorithm>
#include <span>

namespace {

/// Level and level-mesh file errors are critical with this code.
constexpr int kLevelError = 9;
constexpr const char* kSpectatorScript = "data\\ai\\divaci.ai";

std::unique_ptr<N_CameraPath> MakePath(const N_LevelCameraPath& path, const std::vector<N_PathKey>& keys) {
  return std::make_unique<N_CameraPath>(keys.data() + path.firstKey, path.keyCount, path.playMode, path.rate);
}

/// The level file read whole and checked (nothing is taken from it before that). The
/// critical message of its fault, or empty when it passed.
std::string ReadLevel(const std::string& path, N_LevelFile& file) {
  std::string raw;
  if (!platform::ReadWholeFile(path, raw)) return "level " + path + " not found!";
  const std::span bytes(reinterpret_cast<const std::uint8_t*>(raw.data()), raw.size());
  const N_FileHeader header(bytes);
  const std::string notLevel = path + " is not level file!";
  if (header.Word(0) != levelfile::kMagic) return notLevel;
  if (!header.complete) {  // its version and sections would be read as zeros
    if (g_log) g_log->Print("!!! Level %s: %zu bytes, shorter than its header\n", path.c_str(), raw.size());
    return notLevel;
  }
  if (const std::uint32_t version = header.Word(4); version != levelfile::kVersion) {
    return path + " is v." + std::to_string(static_cast<int>(version)) +
           " not supported version, supported version is 1.50";
  }
  std::string fault;
  if (!ReadLevelFile(bytes, file, fault)) {
    if (g_log) g_log->Print("!!! Level %s: %s\n", path.c_str(), fault.c_str());
    return notLevel;
  }
  return {};
}

}  // namespace

void N_Level::Load(const char* fallback) {
  std::string path = std::string("data\\levels\\") + SceneVarString("mapname");
  N_LevelFile file;
  std::string fault = ReadLevel(path, file);
  if (!fault.empty() && fallback && !platform::EqualsNoCase(SceneVarString("mapname"), fallback)) {
    // A course named by the settings: the game starts on the fallback and saves its name.
    if (g_log) g_log->Print("!!! %s: the start course is %s\n", fault.c_str(), fallback);
    if (g_varMng) g_varMng->SetString("mapname", fallback, 0);
    path = std::string("data\\levels\\") + fallback;
    file = N_LevelFile{};
    fault = ReadLevel(path, file);
  }
  if (!fault.empty()) SceneCritical(kLevelError, "%s", fault.c_str());
  const std::string settingsPath = path + ".cfg";
  if (g_varMng) g_varMng->SetInt("HmlaHackSet", 0, 0x02);
  auto settings = std::make_unique<N_ConfigReader>();
  settings->LoadChecked(settingsPath.c_str());
  if (g_log) g_log->Print("\n Loading Level: %s\n", path.c_str());

  // Sections 1 to 5: materials, lightmaps, vertices, indices, surfaces.
  materials = file.geometry.materials;
  lightmaps.resize(file.geometry.lightmaps.size());
  for (std::size_t i = 0; i < lightmaps.size(); ++i) LoadLightmap(file.geometry.lightmaps[i].c_str(), lightmaps[i]);
  SceneLoadingProgress(5.0f);
  vertices = std::move(file.geometry.vertices);
  SceneLoadingProgress(10.0f);
  indices = std::move(file.geometry.indices);
  SceneLoadingProgress(15.0f);
  surfaces.resize(file.geometry.descriptors.size());  // never resized again: drawables point into it
  for (std::size_t i = 0; i < surfaces.size(); ++i) {
    FillSurface(surfaces[i], file.geometry.descriptors[i], file.geometry, vertices.data(), indices.data(), lightmaps,
                g_scene.shaderMng);
  }
  SceneLoadingProgress(20.0f);

  // Sections 11, 12, 8, 13, 6, 7, 10.
  triggers = std::move(file.triggers);
  SceneLoadingProgress(25.0f);
  if (file.lightGrid.present) {
    lightGrid = std::make_unique<N_LightGrid>();
    const auto& grid = file.lightGrid;
    // The file check asked the grid already; a refusal here would be a fault of ours.
    if (!lightGrid->Init(grid.size[0], grid.size[1], grid.size[2], grid.bounds, grid.cells)) {
      SceneCritical(kLevelError, "%s is not level file!", path.c_str());
    }
  } else if (g_log) {
    g_log->Print("Warning!! Light grid is not in the level!\n");
  }
  soundSources = std::move(file.soundSources);
  SceneLoadingProgress(30.0f);
  emitters = std::move(file.emitters);
  pointSets = std::move(file.pointSets);
  points = std::move(file.points);
  SceneLoadingProgress(35.0f);
  lights = std::move(file.lights);  // never resized again: the flares point into it
  for (const N_LevelLight& light : lights) {
    const std::string_view name = levelfile::FieldName(light.name);
    if (name.size() < 3 || !platform::EqualsNoCase(name.substr(0, 3), "lf_")) continue;
    auto flare = std::make_unique<N_LensFlare>();
    flare->AttachLight(&light, platform::EqualsNoCase(name, "lf_sun") ? 1 : 0);
    flare->Setup();
    flares.push_back(std::move(flare));
  }

  // Sections 15 to 19, 9, 20.
  sceneObjects = std::move(file.sceneObjects);
  SceneLoadingProgress(40.0f);
  surfaceRanges = std::move(file.surfaceRanges);
  cameraPaths = std::move(file.cameraPaths);
  pathKeys = std::move(file.pathKeys);
  SceneLoadingProgress(45.0f);
  namePairs = std::move(file.namePairs);
  for (const N_LevelCameraRecord& record : file.cameras) {
    auto camera = std::make_unique<N_LevelCamera>();
    camera->SetName(record.name.c_str());
    if (record.cameraPath > -1) camera->path = MakePath(cameraPaths[std::size_t(record.cameraPath)], pathKeys);
    cameras.push_back(std::move(camera));
  }
  for (const N_LevelAnimObjectRecord& record : file.animObjects) {
    auto object = std::make_unique<N_LevelAnimObject>();
    object->Load(record.file.c_str(), record.position, record.rotation);
    animObjects.push_back(std::move(object));
  }
  SceneLoadingProgress(50.0f);

  // Section 14: the spectators against the script.
  spectators.resize(file.spectators.size());
  audience.ParseScript(kSpectatorScript);
  audience.LogNames();
  if (g_log) g_log->Print("Pocet Divakov: %d\n", static_cast<int>(spectators.size()));
  for (std::size_t i = 0; i < spectators.size(); ++i) {
    const N_LevelSpectatorRecord& record = file.spectators[i];
    spectators[i].position = record.position;
    spectators[i].orientation.FromQuaternion(record.rotation);
    SetupSpectator(spectators[i], record.mesh);
  }
  SceneLoadingProgress(60.0f);

  // LOD objects, then the drawables, then the LOD meshes' surface records.
  std::vector<std::int32_t> lodIndices(sceneObjects.size(), -1);
  for (std::size_t i = 0; i < sceneObjects.size(); ++i) {
    const N_LevelSceneObject& object = sceneObjects[i];
    if (object.lod[0] != '\0') lodIndices[i] = lodObjects.Add(std::string(levelfile::FieldName(object.lod)), object.distances);
  }
  SceneLoadingProgress(65.0f);
  lodObjects.LogNames();
  AddDrawables(lodIndices);
  SceneLoadingProgress(75.0f);
  if (N_LevelObjectList* list = g_scene.levelObjects) {
    for (std::int32_t index = 0; index < lodObjects.Count(); ++index) {
      const N_LodObject* object = lodObjects.Get(index);
      if (!object) continue;
      for (int level = 0; level < 3; ++level) {
        if (N_StaticMesh* mesh = object->Mesh(level)) {
          for (const auto& record : mesh->Instances()) list->AddSurfaceRecord(record.get());
        }
      }
    }
  }
  SceneLoadingProgress(80.0f);

  // The sound sources' sounds, at their places.
  ambientSounds.assign(soundSources.size(), 0);
  if (g_soundMng) {
    for (std::size_t i = 0; i < soundSources.size(); ++i) {
      const N_Vector3& p = soundSources[i].position;
      const float position[3] = {p.x, p.y, p.z};
      ambientSounds[i] = g_soundMng->CreateSound(levelfile::FieldName(soundSources[i].sound).data(), position);
    }
  }
  settings.reset();
}

void N_Level::SetupSpectator(N_Spectator& spectator, const std::string& meshName) {
  spectator.mesh = audience.FindMesh(meshName);
  if (spectator.mesh == -1) SceneCritical(0, "Mesh %s not found in file data\\ai\\divaci.ai", meshName.c_str());
  const N_AudienceState* state = audience.State(spectator.mesh);
  if (!state || state->idle.empty()) {
    SceneCritical(0, "Mesh %s has no IDLE animation in file data\\ai\\divaci.ai", meshName.c_str());
  }
  N_AnimationFactory& set = *audience.Set();
  spectator.instance = set.CreateInstance();
  spectator.timer = RandomRange(10.0f, 15.0f);
  const std::int32_t action = audience.SetAction(state->idle[SpectatorPick(state->idle.size())]);
  set.SetAction(spectator.instance, action, 30.0f, 0.0f);
  set.SetNextAction(spectator.instance, action, 30.0f, 0.0f);
  set.SetInstanceMesh(spectator.instance, audience.SetMesh(spectator.mesh));
}

// A LOD object is placed by its matrix and keeps no sound (its drawable has no place
// for one); a mesh object draws a run of the level's surfaces, which are in world
// coordinates unless a path moves it, and keeps its sound, made at the origin.
void N_Level::AddDrawables(const std::vector<std::int32_t>& lodIndices) {
  for (std::size_t i = 0; i < sceneObjects.size(); ++i) {
    const N_LevelSceneObject& object = sceneObjects[i];
    std::unique_ptr<N_RenderObject> drawable;
    if (lodIndices[i] != -1) {
      const N_LodObject* lod = lodObjects.Get(lodIndices[i]);
      drawable = std::make_unique<N_LodRenderObject>(lod->Mesh(0), lod->Mesh(1), lod->Mesh(2), lod->Distance(0),
                                                     lod->Distance(1), lod->Distance(2));
      N_Matrix4 placement;
      std::copy(object.matrix, object.matrix + 16, placement.m);
      drawable->SetTransform(object.box, object.flags, N_RenderObject::kLodObject, placement, -1);
    } else {
      std::int32_t sound = 0;
      if (object.sound[0] != '\0' && g_soundMng) {
        const float origin[3] = {0.0f, 0.0f, 0.0f};
        sound = g_soundMng->CreateSound(levelfile::FieldName(object.sound).data(), origin);
      }
      const N_LevelSurfaceRange& range = surfaceRanges[std::size_t(object.surfaceRange)];
      drawable = std::make_unique<N_MeshObject>(surfaces.data() + range.first, range.count);
      drawable->SetTransform(object.box, object.flags, N_RenderObject::kMeshObject, N_Matrix4{}, sound);
    }
    if (object.cameraPath > -1) drawable->path = MakePath(cameraPaths[std::size_t(object.cameraPath)], pathKeys);
    if (g_scene.levelObjects) g_scene.levelObjects->Add(std::move(drawable));
  }
}
