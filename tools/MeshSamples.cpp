// The sample static meshes: the LOD object "data\meshes\trees\spruce", three files of
// fewer triangles each ("_1.mesh" a cone on a trunk, "_2.mesh" two crossed quads,
// "_3.mesh" one quad the material turns to the camera), with the materials of
// data/scripts/trees.shader. Sizes in inches: the tree is 400 high, 220 wide.
#include "tools/MeshWriter.h"
#include "tools/Step.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using datagen::MeshVertex;
using datagen::SurfaceData;

constexpr float kPi = 3.14159265f;
constexpr float kHeight = 400.0f;
constexpr float kHalfWidth = 110.0f;
constexpr float kTrunkTop = 60.0f;
constexpr float kTrunkRadius = 12.0f;
constexpr int kSides = 12;

/// Materials in the order the three files name them.
enum Material : std::uint32_t { Needles, Bark };

/// A ring of sides + 1 vertices (the seam twice) and its apex or upper ring as a fan
/// of quads or triangles.
void AddShell(SurfaceData& mesh, std::uint32_t material, float radiusLow, float zLow, float radiusHigh, float zHigh,
              std::uint32_t colourLow, std::uint32_t colourHigh, float uRepeat) {
  std::vector<N_SurfaceVertex> vertices;
  std::vector<std::uint16_t> indices;
  for (int i = 0; i <= kSides; ++i) {
    const float angle = 2.0f * kPi * float(i) / kSides, c = std::cos(angle), s = std::sin(angle);
    const float u = uRepeat * float(i) / kSides;
    vertices.push_back(MeshVertex(radiusLow * c, radiusLow * s, zLow, colourLow, u, 1.0f));
    vertices.push_back(MeshVertex(radiusHigh * c, radiusHigh * s, zHigh, colourHigh, u, 0.0f));
  }
  for (int i = 0; i < kSides; ++i) {
    const auto low = static_cast<std::uint16_t>(2 * i), high = static_cast<std::uint16_t>(2 * i + 1);
    const std::uint16_t quad[6] = {low, static_cast<std::uint16_t>(low + 2), high,
                                   high, static_cast<std::uint16_t>(low + 2), static_cast<std::uint16_t>(high + 2)};
    indices.insert(indices.end(), quad, quad + 6);
  }
  mesh.AddSurface(vertices, indices, material);
}

/// A vertical quad through the tree's axis at the angle, textured with the whole picture.
void AddCard(std::vector<N_SurfaceVertex>& vertices, std::vector<std::uint16_t>& indices, float angle) {
  const float c = std::cos(angle) * kHalfWidth, s = std::sin(angle) * kHalfWidth;
  const auto first = static_cast<std::uint16_t>(vertices.size());
  vertices.push_back(MeshVertex(-c, -s, kHeight, 0xFFFFFFFF, 0.0f, 0.0f));
  vertices.push_back(MeshVertex(c, s, kHeight, 0xFFFFFFFF, 1.0f, 0.0f));
  vertices.push_back(MeshVertex(-c, -s, 0.0f, 0xFFFFFFFF, 0.0f, 1.0f));
  vertices.push_back(MeshVertex(c, s, 0.0f, 0xFFFFFFFF, 1.0f, 1.0f));
  for (int k : {0, 2, 1, 1, 2, 3}) indices.push_back(static_cast<std::uint16_t>(first + k));
}

SurfaceData Cone() {
  SurfaceData mesh;
  mesh.materials = {"textures/trees/needles", "textures/trees/bark"};
  AddShell(mesh, Needles, kHalfWidth, kTrunkTop, 0.0f, kHeight, 0xFF6A7A6A, 0xFFFFFFFF, 3.0f);
  AddShell(mesh, Bark, kTrunkRadius, 0.0f, kTrunkRadius, kTrunkTop + 20.0f, 0xFFB0B0B0, 0xFF808080, 1.0f);
  return mesh;
}

SurfaceData CrossedQuads() {
  SurfaceData mesh;
  mesh.materials = {"textures/trees/spruce_cross"};
  std::vector<N_SurfaceVertex> vertices;
  std::vector<std::uint16_t> indices;
  AddCard(vertices, indices, 0.0f);
  AddCard(vertices, indices, kPi * 0.5f);
  mesh.AddSurface(vertices, indices, 0);
  return mesh;
}

/// The material's autosprite2 places the corners around the centre, which every
/// vertex holds; the texture coordinates say which corner a vertex is.
SurfaceData Billboard() {
  SurfaceData mesh;
  mesh.materials = {"textures/trees/spruce_far"};
  std::vector<N_SurfaceVertex> vertices;
  for (int corner = 0; corner < 4; ++corner) {
    vertices.push_back(MeshVertex(0.0f, 0.0f, kHeight * 0.5f, 0xFFFFFFFF, float(corner & 1), float(corner >> 1)));
  }
  const std::uint32_t surface = mesh.AddSurface(vertices, {0, 2, 1, 1, 2, 3}, 0);
  // The drawn quad's bounds, not those of its centre.
  const float box[6] = {-kHalfWidth, -kHalfWidth, 0.0f, kHalfWidth, kHalfWidth, kHeight};
  std::copy(box, box + 6, mesh.surfaces[surface].box);
  return mesh;
}

bool WriteMeshes(datagen::Output& out) {
  bool ok = out.Write("data/meshes/trees/spruce_1.mesh", datagen::EncodeMesh(Cone()));
  ok = out.Write("data/meshes/trees/spruce_2.mesh", datagen::EncodeMesh(CrossedQuads())) && ok;
  return out.Write("data/meshes/trees/spruce_3.mesh", datagen::EncodeMesh(Billboard())) && ok;
}

const datagen::StepRegistrar kMeshes{{"meshes", "static meshes: the LOD tree", &WriteMeshes}};

}  // namespace
