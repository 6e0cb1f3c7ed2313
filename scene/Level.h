#pragma once
// N_Level: the loaded race course, owned by the world (one at a time; recreated for
// every level change, then filled by the level loader from the level file).
//
// What it holds once loaded: the level's geometry (lightmaps, vertices, indices and the
// surfaces over them), its named records (trigger boxes, emitter placements, point
// sets, lights), ambient sounds, lens flares, the light grid, the sun light, animated
// props, LOD objects, fly-by cameras and its particle effects. The world calls, in
// this order: InitEffects once after every load (after the shaders are built), then
// per frame UpdateFog from its update and UpdateFlares and RenderFlares from its
// render; SetSnow when a race starts. The teardown gives everything back in a fixed
// order (Level.cpp).
//
// The data members are filled directly by the loader (and by the tests' builder).
// Every name lookup compares within the 128-byte name fields without regard to case
// and answers the first record of that name, null when none.
#include "core/Vector3.h"
#include "render/MeshSurface.h"
#include "render/RenderLight.h"
#include "render/SurfaceVertex.h"
#include "render/TexInfo.h"
#include "scene/LevelRecords.h"
#include "scene/LodObjectMng.h"

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

  std::vector<N_LevelTrigger> triggers;
  std::vector<N_LevelEmitter> emitters;
  std::vector<N_LevelLight> lights;
  /// Sound handles of the level's sound sources: played by InitEffects, released by the teardown.
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

  // Point sets: the named polylines of the level (the race camera's path, the AI's
  // paths, the start places). A set is a run of `points`.
  struct PointSet {
    char name[levelfile::kNameSize] = {};
    std::uint32_t firstPoint = 0;  ///< +128: index into `points`
    std::uint32_t pointCount = 0;  ///< +132
  };
  static_assert(sizeof(PointSet) == 136);
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
  /// The teardown's steps that give GPU objects and references back.
  void ReleaseGeometry();
  void ReleaseParticleEffects();
};
