#pragma once
// A renderer on the recording device with what material tests need: the renderer's
// time under the test's control, device textures with their records, shaders built
// stage by stage, and surfaces drawn from memory or from GPU buffers.
#include "render/IndexBuffer.h"
#include "render/MeshSurface.h"
#include "render/Shader.h"
#include "render/TexInfo.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"
#include "tests/render/RenderRig.h"
#include "tests/render/TestRenderTime.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace test {

class MaterialRig : public RenderRig {
 public:
  explicit MaterialRig(platform::d3d9::RecordingDirect3DConfig config = RecordingRender::DefaultConfig(),
                       RenderMaker make = {})
      : RenderRig(std::move(config), std::move(make)) {
    // What a frame left in the program-wide cache (tests may share a process).
    g_renderStateCache.currentShader = nullptr;
    g_renderStateCache.noShader = 0;
    g_renderStateCache.currentLayer = 0;
    g_renderStateCache.currentLightmap = 0;
  }
  ~MaterialRig() {
    for (IDirect3DTexture9* texture : m_textures) texture->Release();
  }

  /// A device texture and a record holding its handle.
  TexInfo* Texture() {
    IDirect3DTexture9* texture = nullptr;
    device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr);
    m_textures.push_back(texture);
    TexInfo& record = m_records.emplace_back();
    record.texture = platform::TextureHandleOf(texture);
    device->ClearCalls();
    return &record;
  }
  /// The recorded name of a record's device texture ("tex2").
  std::string TextureName(const TexInfo* record) {
    return device->NameOf(platform::TextureFromHandle(record->texture));
  }
  /// A stage of the shader with the given textures.
  static N_ShaderStage* AddStage(N_Shader& shader, std::vector<TexInfo*> textures = {}) {
    N_ShaderStage* stage = shader.AddStage();
    for (TexInfo* texture : textures) stage->AddTexture(texture, 10.0f);
    return stage;
  }
  /// A quad of four vertices and six indices (a triangle list) in memory.
  N_MeshSurface& Quad() {
    N_MeshSurface& surface = m_surfaces.emplace_back();
    surface.vertices = m_vertices;
    surface.vertexCount = 4;
    surface.indices = m_indices;
    surface.indexCount = 6;
    return surface;
  }
  /// The quad from GPU buffers of its own, with a binding on stream 0.
  N_MeshSurface& BufferQuad() {
    N_MeshSurface& surface = Quad();
    surface.vertexBuffer = render.CreateVertexBuffer(44, 4, 1);
    surface.indexBuffer = render.CreateIndexBuffer(101, 6, 1);
    surface.binding = render.CreateVertexBufferBinding();
    surface.binding->SetStream(0, surface.vertexBuffer);
    device->ClearCalls();
    return surface;
  }
  /// The device calls since the last time, emptied.
  std::vector<std::string> TakeCalls() {
    std::vector<std::string> calls = device->Calls();
    device->ClearCalls();
    return calls;
  }
  /// The calls since the last time that start with the prefix (all calls are emptied).
  std::vector<std::string> TakeCalls(const std::string& prefix) {
    std::vector<std::string> calls = device->CallsStartingWith(prefix);
    device->ClearCalls();
    return calls;
  }
  /// Writes the five vertex programs (any text: the recording device takes it) and
  /// loads them again.
  void LoadPrograms() {
    for (const char* name : {"wave", "water", "alphadot", "rgbgen", "autosprite"}) {
      harness.dir.Write(std::string("data/scripts/vp/") + name + ".vsh", "void main() {}\n");
    }
    render.LoadVertexPrograms();
    device->ClearCalls();
  }
  /// The recorded name of a bound vertex program ("null" for none).
  std::string VertexProgram() {
    IDirect3DVertexShader9* program = nullptr;
    device->GetVertexShader(&program);
    const std::string name = device->NameOf(program);
    if (program) program->Release();
    return name;
  }

  TestRenderTime time;

 private:
  std::vector<IDirect3DTexture9*> m_textures;
  std::deque<TexInfo> m_records;
  std::deque<N_MeshSurface> m_surfaces;
  N_SurfaceVertex m_vertices[4] = {};
  std::uint16_t m_indices[6] = {0, 1, 2, 2, 1, 3};
};

}  // namespace test
