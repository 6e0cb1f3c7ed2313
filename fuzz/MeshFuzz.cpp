// The static meshes ("MESH"), through the level's LOD object manager as the level
// loader adds a LOD object: the input is the finest mesh of the object ("_1.mesh"),
// the two coarser ones are small valid meshes. A mesh the game refuses ends in the
// critical report, which unwinds here through the exit hook. Whatever loads has its
// indices inside its surfaces and is drawn at once, every level, with its materials
// built.
#include "fuzz/FuzzSupport.h"
#include "fuzz/RecordingRenderer.h"
#include "fuzz/SceneSupport.h"
#include "scene/LodObjectMng.h"
#include "tools/MeshWriter.h"

#include <string>
#include <vector>

namespace {

constexpr const char* kObject = "data\\meshes\\fuzz";
constexpr float kDistances[3] = {500.0f, 1500.0f, 4000.0f};

/// A coarser level: one quad of the material facing the camera.
void WriteCoarseLevel(int level, float half) {
  datagen::SurfaceData data;
  data.materials = {"fuzz/level" + std::to_string(level)};
  data.AddSurface({datagen::MeshVertex(-half, 0, -half, 0xFFFFFFFF, 0, 0), datagen::MeshVertex(half, 0, -half, 0xFFFFFFFF, 1, 0),
                   datagen::MeshVertex(-half, 0, half, 0xFFFFFFFF, 0, 1), datagen::MeshVertex(half, 0, half, 0xFFFFFFFF, 1, 1)},
                  {0, 1, 2, 2, 1, 3}, 0);
  const std::vector<std::uint8_t> bytes = datagen::EncodeMesh(data);
  fuzz::WriteFile(std::string(kObject) + "_" + std::to_string(level) + ".mesh", bytes.data(), bytes.size());
}

bool WriteCoarseLevels() {
  WriteCoarseLevel(2, 50.0f);
  WriteCoarseLevel(3, 100.0f);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Scene& scene = fuzz::SceneOnRecordingRenderer();
  static const bool coarse = WriteCoarseLevels();
  (void)coarse;
  fuzz::WriteFile(std::string(kObject) + "_1.mesh", data, size);
  fuzz::Guarded([&] {
    N_LodObjectMng objects;
    const std::int32_t index = objects.Add(kObject, kDistances);
    const N_LodObject* object = objects.Get(index);
    fuzz::Check(object != nullptr, "a LOD object that loaded is not in the manager");
    scene.shaders.LoadShaders();
    for (int level = 0; level < 3; ++level) {
      N_StaticMesh& mesh = *object->Mesh(level);
      for (const N_MeshSurface& surface : mesh.Surfaces()) {
        for (std::uint32_t i = 0; i < surface.indexCount; ++i) {
          fuzz::Check(surface.indices[i] < surface.vertexCount, "an index outside its surface's vertices");
        }
      }
      mesh.Render(N_Vector3{0, 400, 0}, N_Matrix3{});
    }
  });
  fuzz::ForgetCalls();
  return 0;
}
