// The factories of GPU resources, stream binding and the memory statistics.
#include "render/IndexBuffer.h"
#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/RenderStateCache.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"
#include "render/VertexDecl.h"

#include <algorithm>

namespace {

/// Deletes an object of a list by its destroy rule for declarations, bindings and rings:
/// every equal entry goes, the object is freed and the pointer nulled, listed or not.
template <class T>
void DestroyUnconditionally(std::list<T*>& list, T** object) {
  if (!object || !*object) return;
  list.remove(*object);
  delete *object;
  *object = nullptr;
}

}  // namespace

N_VertexBuffer* N_Render::CreateVertexBuffer(std::uint32_t vertexSize, std::uint32_t vertexCount,
                                             std::uint32_t mode) {
  auto* buffer = new N_VertexBuffer(m_device, vertexSize, vertexCount, mode);
  m_vertexBuffers.push_back(buffer);
  m_vertexBufferMemory += buffer->GetSize();  // vertex size x count (0 when none was made)
  return buffer;
}

void N_Render::DestroyVertexBuffer(N_VertexBuffer** buffer) {
  if (!buffer || !*buffer) return;
  auto it = std::find(m_vertexBuffers.begin(), m_vertexBuffers.end(), *buffer);
  if (it == m_vertexBuffers.end()) return;  // not ours: left alone, pointer kept
  m_vertexBufferMemory -= (*buffer)->GetSize();
  m_vertexBuffers.erase(it);
  // The binding the device draws from may hold it: bind anew next time.
  g_renderStateCache.streamBinding.reset();
  delete *buffer;
  *buffer = nullptr;
}

N_IndexBuffer* N_Render::CreateIndexBuffer(std::uint32_t format, std::uint32_t indexCount, std::uint32_t mode) {
  auto* buffer = new N_IndexBuffer(m_device, format, indexCount, mode);
  m_indexBuffers.push_back(buffer);
  m_indexBufferMemory += buffer->GetSize();  // count x 2, or x 4 for 32-bit indices
  return buffer;
}

void N_Render::DestroyIndexBuffer(N_IndexBuffer** buffer) {
  if (!buffer || !*buffer) return;
  auto it = std::find(m_indexBuffers.begin(), m_indexBuffers.end(), *buffer);
  if (it == m_indexBuffers.end()) return;
  m_indexBufferMemory -= (*buffer)->GetSize();
  m_indexBuffers.erase(it);
  // A new buffer may come at this address: the device must not seem to draw from it.
  if (g_renderStateCache.indexBuffer == *buffer) g_renderStateCache.indexBuffer.reset();
  delete *buffer;
  *buffer = nullptr;
}

N_VertexDecl* N_Render::CreateVertexDecl() {
  auto* declaration = new N_VertexDecl(m_device);
  m_vertexDecls.push_back(declaration);
  return declaration;
}

void N_Render::DestroyVertexDecl(N_VertexDecl** declaration) { DestroyUnconditionally(m_vertexDecls, declaration); }

N_VertexBufferBinding* N_Render::CreateVertexBufferBinding() {
  auto* binding = new N_VertexBufferBinding;
  m_bindings.push_back(binding);
  return binding;
}

void N_Render::DestroyVertexBufferBinding(N_VertexBufferBinding** binding) {
  if (binding && *binding && g_renderStateCache.streamBinding == *binding) g_renderStateCache.streamBinding.reset();
  DestroyUnconditionally(m_bindings, binding);
}

void N_Render::ApplyVertexBufferBinding(N_VertexBufferBinding* binding) {
  // Bindings number their streams from 0 without gaps.
  for (const auto& [stream, buffer] : binding->Streams()) {
    m_device->SetStreamSource(stream, buffer ? buffer->DeviceBuffer() : nullptr, 0, buffer ? buffer->GetStride() : 0);
  }
  const auto count = std::uint32_t(binding->Streams().size());
  for (std::uint32_t stream = count; stream < m_boundStreamCount; ++stream) {
    m_device->SetStreamSource(stream, nullptr, 0, 0);
  }
  m_boundStreamCount = count;
  g_renderStateCache.streamBinding = binding;
}

void N_Render::DumpMemoryStatistics() {
  RenderPrint("\n--- Render memory statistics:\n");
  RenderPrint("Textures:\n");
  RenderPrint("Count %u\n", unsigned(m_textureRegistry.size()));
  RenderPrint("Memory: %u B (%u MB)\n", m_textureMemory, m_textureMemory >> 20);
  RenderPrint("Effects:\n");
  RenderPrint("Count %u\n", unsigned(m_effects.size()));
  RenderPrint("Vertex Buffers:\n");
  RenderPrint("Count %u\n", unsigned(m_vertexBuffers.size()));
  RenderPrint("Memory: %u B (%u MB)\n", m_vertexBufferMemory, m_vertexBufferMemory >> 20);
  RenderPrint("Index Buffers:\n");
  RenderPrint("Count %u\n", unsigned(m_indexBuffers.size()));
  RenderPrint("Memory: %u B (%u MB)\n", m_indexBufferMemory, m_indexBufferMemory >> 20);
  RenderPrint("Vertex Buffer Bindings:\n");
  RenderPrint("Count %u\n", unsigned(m_bindings.size()));
  RenderPrint("Vertex Declarations:\n");
  RenderPrint("Count %u\n", unsigned(m_vertexDecls.size()));
  RenderPrint("Occlusion queries:\n");
  RenderPrint("Count %u\n\n", unsigned(m_occlusionQueryRings.size()));
}
