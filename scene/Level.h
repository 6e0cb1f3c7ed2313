#pragma once
// N_Level: the loaded race course, owned by the world (one at a time; recreated for
// every level change, then filled by Load from the level file named by "mapname").
//
// What it holds once loaded: the level's geometry (materials, lightmaps, vertices,
// indices and the surfaces over them), its named records (trigger boxes, emitter
// placements, point sets, lights), sound sources with their ambient sounds, lens
// flares, the light grid, the sun light, animated props, LOD objects, fly-by cameras
// with the keyframe paths, scene objects and surface ranges the drawables were made
// from, the spectators with their audience, and its particle effects. The world calls,
// in this order: Load, then InitEffects once after every load (after the shaders are
// built), then per frame UpdateFog from its update and UpdateFlares, RenderActors and
// RenderFlares from its render; SetSnow when a race starts. The teardown gives
// everything back in a fixed order (Level.cpp).
//
// The data members are filled directly by the loader (and by the tests' builder).
// Every name lookup compares within the 128-byte name fields without regard to case
// and answers the first record of that name, null when none.
#include "core/Vector3.h"
#include "render/MeshSurface.h"
#include "render/RenderLight.h"
#include "render/SurfaceVertex.h"
#include "render/TexInfo.h"
#include "scene/AudienceMng.h"
#include "scene/CameraPath.h"
#include "scene/LevelRecords.h"
#include "scene/LodObjectMng.h"
#include "scene/Spectator.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class N_LensFlare;
class N_LevelAnimObject;
class N_LevelCamera;
class N_LightGrid;
class N_ParticleEmitter;
class N_ParticleSystem;
class N_VertexBuffer;
class N_IndexBuffer;
class N_VertexBufferBinding;

class N_Level {
 public:
  /// An empty level: no geometry, records, sounds, flares, grid, props or cameras, no
  /// particle system, the sun light at its defaults (no direction).
  N_Level();
  /// The teardown (Level.cpp), in its fixed order.
  ~N_Level();
  N_Level(const N_Level&) = delete;
  N_Level& operator=(const N_Level&) = delete;

  /// Loads the level "data\levels\" + "mapname" and its settings file (LevelLoad.cpp),
  /// on a new level; reports the loading progress between its steps. Every fault of the
  /// file, its LOD meshes or its spectators is critical; but with a fallback course, a
  /// level file of another name that cannot be read or fails its checks is logged,
  /// "mapname" set to the fallback (and so saved), and the fallback loaded instead.
  void Load(const char* fallback = nullptr);
  /// Per frame from the world's render (LevelActors.cpp): the spectators (while
  /// "ShowAnimObj" is set), the animated props, and the mist overlay while "HmlaHackSet"
  /// is 1. Frame time in seconds.
  void RenderActors(float frameTime);

  /// After a load, once the shaders are built: billboard quads, the shared GPU buffers,
  /// the particle effects (critical without a particle manager), the sun light, the
  /// flares' sprites, the ambient sounds.
  void InitEffects();
  /// Per frame: the fog ("foglinear", "foglinearnear", "foglinearfar" up to
  /// "LODWorldDistance", "fogcolor") and the shadow colour ("playerShadowColor").
  void UpdateFog(float frameTime);
  /// Starts (non-zero) or stops the snow emitter; nothing in a level without one.
  void SetSnow(std::uint8_t on);
  const N_LevelTrigger* FindTrigger(const char* name) const;
  const N_LevelLight* FindLight(const char* name) const;
  /// A null name gives null.
  N_LevelCamera* FindCamera(const char* name) const;
  /// Hands the light grid's colour at the position to N_Render::SetAmbient; black
  /// while the level has no grid.
  void SetAmbientFromLightGrid(const N_Vector3& position);
  /// Per frame from the world's render: every flare's Update, then (after the scene)
  /// every flare's Render, in list order.
  void UpdateFlares();
  void RenderFlares();

  N_RenderLight& SunLight() { return sunLight; }
  const N_RenderLight& SunLight() const { return sunLight; }

  // Geometry. Surfaces index the level's arrays through their vertexOffset and
  // indexOffset (their indices count from their first vertex); InitEffects puts all
  // of it into one vertex buffer, one index buffer and one binding that every surface
  // draws from.
  std::vector<TexInfo> lightmaps;  ///< the lightmaps' device textures, not entered in the texture table
  std::vector<N_SurfaceVertex> vertices;
  std::vector<N_MeshSurface> surfaces;
  N_VertexBuffer* sharedVertexBuffer = nullptr;
  N_IndexBuffer* sharedIndexBuffer = nullptr;
  N_VertexBufferBinding* sharedBinding = nullptr;
  std::vector<std::uint16_t> indices;

  std::vector<std::string> materials;  ///< the material (shader) names of the surfaces
  std::vector<N_LevelTrigger> triggers;
  std::vector<N_LevelEmitter> emitters;
  std::vector<N_LevelLight> lights;
  std::vector<N_LevelSoundSource> soundSources;
  /// Sound handles of the sound sources, one each (0: none): played by InitEffects,
  /// released by the teardown.
  std::vector<int> ambientSounds;
  /// One per "lf_..." light; each points at its record in `lights`.
  std::vector<std::unique_ptr<N_LensFlare>> flares;
  std::unique_ptr<N_LightGrid> lightGrid;  ///< null: the level has none
  /// Type 0, diffuse white, attenuation (1, 0, 0) until InitEffects takes "lf_sun" or "sun".
  N_RenderLight sunLight;
  std::vector<std::unique_ptr<N_LevelAnimObject>> animObjects;
  N_LodObjectMng lodObjects;
  /// The level's particle system (one emitter per placement whose template exists),
  /// made by InitEffects; owned by the particle manager.
  N_ParticleSystem* particleSystem = nullptr;
  N_ParticleEmitter* snow = nullptr;  ///< the "snow" placement's emitter, made stopped
  std::vector<std::unique_ptr<N_LevelCamera>> cameras;
  // The records the drawables and cameras were made from.
  std::vector<N_LevelSceneObject> sceneObjects;
  std::vector<N_LevelSurfaceRange> surfaceRanges;
  std::vector<N_LevelCameraPath> cameraPaths;
  std::vector<N_PathKey> pathKeys;
  std::vector<N_LevelNamePair> namePairs;
  N_AudienceMng audience;
  std::vector<N_Spectator> spectators;

  // Point sets: the named polylines of the level (the race camera's path, the AI's
  // paths, the start places). A set is a run of `points`.
  using PointSet = N_LevelPointSet;
  /// The first point of the set and its count in *count, or null (count untouched)
  /// when no set has the name or its run lies outside `points`.
  const N_Vector3* FindPointSet(const char* name, std::int32_t* count) const;
  std::vector<PointSet> pointSets;
  std::vector<N_Vector3> points;
  // End of the point sets.

  /// Appends a set of these points after the existing ones (the builders of tests
  /// and sample courses); a name is cut to its field.
  void AddPointSet(const std::string& name, const std::vector<N_Vector3>& newPoints);

 private:
  /// InitEffects' steps, in its order.
  void MakeBillboards();
  void MakeSharedBuffers();
  void StartParticleEffects();
  void SetSunFromLight();
  /// Load's steps for the spectators and the drawables.
  void SetupSpectator(N_Spectator& spectator, const std::string& meshName);
  void AddDrawables(const std::vector<std::int32_t>& lodIndices);
  /// The squared distances RenderActors compares with (LevelActors.cpp).
  struct ActorRanges;
  /// The pick, state and draw of one spectator in RenderActors.
  void UpdateSpectator(N_Spectator& spectator, float frameTime, const N_Vector3& eye, const ActorRanges& ranges);
  /// The teardown's steps that give GPU objects and references back.
  void ReleaseGeometry();
  void ReleaseParticleEffects();
};
