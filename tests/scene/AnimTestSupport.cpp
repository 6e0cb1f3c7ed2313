#include "tests/scene/AnimTestSupport.h"

#include "platform/win32.h"
#include "render/Render.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace test {

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  const std::filesystem::path file(path);
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(platform::ResolvePath(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void PatchU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

void PatchF32(std::vector<std::uint8_t>& bytes, std::size_t offset, float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, 4);
  PatchU32(bytes, offset, bits);
}

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= std::uint32_t(bytes.at(offset + i)) << (8 * i);
  return value;
}

std::uint32_t SectionOffset(const std::vector<std::uint8_t>& bytes, int section) {
  return U32At(bytes, 8 * std::size_t(section));
}

std::uint32_t SectionSize(const std::vector<std::uint8_t>& bytes, int section) {
  return U32At(bytes, 8 * std::size_t(section) + 4);
}

datagen::AnimMeshBuilder TwoBoneQuad(const std::string& material) {
  datagen::AnimMeshBuilder mesh;
  const int root = mesh.AddBone("root", -1, {0, 0, 0});
  const int tip = mesh.AddBone("tip", root, {10, 0, 0});
  mesh.AddSkinPoint({0, 0, 0}, {{root, 1.0f}});
  mesh.AddSkinPoint({0, 0, 10}, {{root, 1.0f}});
  mesh.AddSkinPoint({20, 0, 0}, {{tip, 1.0f}});
  mesh.AddSkinPoint({20, 0, 10}, {{root, 0.5f}, {tip, 0.5f}});
  const int quad = mesh.AddMaterial(material);
  std::vector<datagen::AnimMeshBuilder::Vertex> vertices(4);
  for (int i = 0; i < 4; ++i) {
    vertices[std::size_t(i)].skinPoint = i;
    vertices[std::size_t(i)].uv[0] = float(i & 2) / 2;
    vertices[std::size_t(i)].uv[1] = float(i & 1);
  }
  mesh.AddSurface(quad, vertices, {0, 2, 1, 1, 2, 3});
  std::vector<datagen::AnimMeshBuilder::Vertex> shared(3);
  shared[0].skinPoint = 2;
  shared[1].skinPoint = 3;
  shared[2].skinPoint = 0;
  mesh.AddSurface(quad, shared, {0, 1, 2});
  return mesh;
}

std::vector<std::vector<N_AnimKey>> BindFrames(const datagen::AnimMeshBuilder& mesh, int frames) {
  return std::vector<std::vector<N_AnimKey>>(std::size_t(frames), mesh.BindPose());
}

std::vector<std::uint8_t> AnimationOf(const datagen::AnimMeshBuilder& mesh,
                                      const std::vector<std::vector<N_AnimKey>>& frames) {
  return datagen::WriteAnimation(datagen::TracksFromFrames(mesh, frames));
}

AnimRig::AnimRig(platform::d3d9::RecordingDirect3DConfig config, RenderMaker make)
    : MaterialRig(std::move(config), std::move(make)) {
  g_render = &render;
  frustum.Build(camera);
  g_scene.frustum = &frustum;
  g_scene.shaderMng = &shaders;
  g_scene.level = &level;
}

AnimRig::~AnimRig() {
  g_scene = N_SceneAccess{};
  g_render = nullptr;
}

}  // namespace test
