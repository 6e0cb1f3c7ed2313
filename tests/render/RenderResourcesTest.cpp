// GPU buffers, declarations, bindings and the renderer's factories, over the recording device.
#include "render/IndexBuffer.h"
#include "render/Render.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"
#include "render/VertexDecl.h"
#include "tests/render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using test::RecordingRender;

struct RenderResources : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(harness.render->Init());
    harness.Device()->ClearCalls();
  }
  N_Render& render() { return *harness.render; }
  RecordingRender harness;
};

TEST_F(RenderResources, FactoriesKeepTheMemoryTotals) {
  N_VertexBuffer* vb = render().CreateVertexBuffer(44, 4, 1);
  EXPECT_EQ(render().VertexBufferMemory(), 176u);
  N_IndexBuffer* ib16 = render().CreateIndexBuffer(101, 300, 0);
  N_IndexBuffer* ib32 = render().CreateIndexBuffer(102, 300, 0);
  EXPECT_EQ(render().IndexBufferMemory(), 1800u);
  render().DestroyVertexBuffer(&vb);
  EXPECT_EQ(vb, nullptr);
  EXPECT_EQ(render().VertexBufferMemory(), 0u);
  render().DestroyIndexBuffer(&ib32);
  EXPECT_EQ(render().IndexBufferMemory(), 600u);
  render().DestroyIndexBuffer(&ib16);
  N_IndexBuffer* none = nullptr;
  render().DestroyIndexBuffer(&none);  // a null pointer does nothing
  EXPECT_EQ(render().IndexBufferMemory(), 0u);
}

TEST_F(RenderResources, DestroyRulesDifferByKind) {
  // A vertex buffer made elsewhere is left alone and the pointer stays.
  N_VertexBuffer stranger(render().Device(), 12, 1, 1);
  N_VertexBuffer* pointer = &stranger;
  render().DestroyVertexBuffer(&pointer);
  EXPECT_EQ(pointer, &stranger);
  // A declaration or binding made elsewhere is freed and nulled all the same.
  auto* declaration = new N_VertexDecl(render().Device());
  render().DestroyVertexDecl(&declaration);
  EXPECT_EQ(declaration, nullptr);
  auto* binding = new N_VertexBufferBinding;
  render().DestroyVertexBufferBinding(&binding);
  EXPECT_EQ(binding, nullptr);
  // A null address (no pointer at all) does nothing for any kind.
  render().DestroyVertexBuffer(nullptr);
  render().DestroyIndexBuffer(nullptr);
  render().DestroyVertexDecl(nullptr);
  render().DestroyVertexBufferBinding(nullptr);
  render().DestroyOcclusionQuery(nullptr);
  N_VertexDecl* listed = render().CreateVertexDecl();
  EXPECT_EQ(render().VertexDecls().size(), 6u);
  render().DestroyVertexDecl(&listed);
  EXPECT_EQ(render().VertexDecls().size(), 5u);
}

TEST_F(RenderResources, ZeroSizedBuffersAreListedWithoutADeviceBuffer) {
  struct Case {
    std::uint32_t stride, count;
  };
  for (const Case c : {Case{12, 0}, Case{0, 5}}) {
    N_VertexBuffer* vb = render().CreateVertexBuffer(c.stride, c.count, 1);
    EXPECT_EQ(vb->DeviceBuffer(), nullptr);
    EXPECT_EQ(vb->Lock(true, false), nullptr) << "nothing to lock, nothing to crash on";
  }
  N_IndexBuffer* ib = render().CreateIndexBuffer(101, 0, 1);
  EXPECT_EQ(ib->DeviceBuffer(), nullptr);
  EXPECT_EQ(render().VertexBuffers().size(), 3u);
  EXPECT_EQ(render().IndexBuffers().size(), 1u);
  const auto errors = test::LinesStartingWith(harness.Log(), "!!! Error: Attempt to create the");
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_EQ(errors[0], "!!! Error: Attempt to create the vertex buffer with 0 vertices");
  EXPECT_EQ(errors[2], "!!! Error: Attempt to create the index buffer with 0 elements");
}

TEST_F(RenderResources, RefusedBuffersLogTheErrorText) {
  harness.Device()->Config().failingCalls = {"CreateVertexBuffer", "CreateIndexBuffer"};
  N_VertexBuffer* vb = render().CreateVertexBuffer(12, 3, 2);
  N_IndexBuffer* ib = render().CreateIndexBuffer(101, 3, 2);
  EXPECT_EQ(vb->DeviceBuffer(), nullptr);
  EXPECT_EQ(ib->DeviceBuffer(), nullptr);
  const std::string log = harness.Log();
  EXPECT_NE(log.find("Error: Vertex Buffer creation failed. DX: D3DERR_OUTOFVIDEOMEMORY\n"), std::string::npos);
  EXPECT_NE(log.find("!!! Error: Index Buffer creation failed. DX: D3DERR_OUTOFVIDEOMEMORY\n"), std::string::npos);
}

TEST_F(RenderResources, SizesBeyondThirtyTwoBitsAreRefusedNotWrapped) {
  N_VertexBuffer* vb = render().CreateVertexBuffer(0x10000, 0x10001, 1);
  N_IndexBuffer* ib32 = render().CreateIndexBuffer(102, 0x40000001, 1);
  N_IndexBuffer* ib16 = render().CreateIndexBuffer(101, 0x80000001, 1);
  for (N_RenderResource* buffer : {static_cast<N_RenderResource*>(vb), static_cast<N_RenderResource*>(ib32),
                                   static_cast<N_RenderResource*>(ib16)}) {
    EXPECT_EQ(buffer->Lock(true, false), nullptr);
  }
  EXPECT_EQ(vb->GetSize(), 0u);
  EXPECT_EQ(render().VertexBufferMemory(), 0u);
  EXPECT_EQ(render().IndexBufferMemory(), 0u);
  const std::string log = harness.Log();
  EXPECT_NE(log.find("Error: Vertex Buffer creation failed. DX: D3DERR_INVALIDCALL\n"), std::string::npos);
  EXPECT_EQ(test::LinesStartingWith(log, "!!! Error: Index Buffer creation failed. DX: D3DERR_INVALIDCALL").size(), 2u);
  render().DestroyVertexBuffer(&vb);
  render().DestroyIndexBuffer(&ib32);
  render().DestroyIndexBuffer(&ib16);
  EXPECT_EQ(render().VertexBufferMemory(), 0u);
}

TEST_F(RenderResources, LockFlagsAndPoolsByKind) {
  N_VertexBuffer* staticVb = render().CreateVertexBuffer(4, 4, 1);
  N_VertexBuffer* dynamicVb = render().CreateVertexBuffer(4, 4, 2);
  const auto created = harness.Calls("CreateVertexBuffer");
  ASSERT_EQ(created.size(), 2u);
  EXPECT_EQ(created[0], "CreateVertexBuffer(16, 0x8, 0x0, 1)");
  EXPECT_EQ(created[1], "CreateVertexBuffer(16, 0x208, 0x0, 0)");
  struct Case {
    bool write, discard;
    const char* flags;
  };
  for (const Case c : {Case{true, false, "0x800"}, Case{true, true, "0x2800"}, Case{false, false, "0x1810"},
                       Case{false, true, "0x3810"}}) {
    harness.Device()->ClearCalls();
    ASSERT_NE(dynamicVb->Lock(c.write, c.discard), nullptr);
    EXPECT_TRUE(dynamicVb->IsLocked());
    dynamicVb->Unlock();
    EXPECT_FALSE(dynamicVb->IsLocked());
    const auto locks = harness.Calls("Lock(");
    ASSERT_EQ(locks.size(), 1u);
    EXPECT_NE(locks[0].find(std::string(", 0, 0, ") + c.flags + ")"), std::string::npos) << locks[0];
  }
  // Write: NOSYSLOCK (+ DISCARD); a static buffer is preloaded afterwards, a dynamic one not.
  const std::uint32_t words[4] = {1, 2, 3, 4};
  harness.Device()->ClearCalls();
  staticVb->Write(0, 16, words, false);
  dynamicVb->Write(0, 16, words, true);
  EXPECT_EQ(harness.Calls("Lock(").size(), 2u);
  EXPECT_NE(harness.Calls("Lock(")[0].find("0x800)"), std::string::npos);
  EXPECT_NE(harness.Calls("Lock(")[1].find("0x2800)"), std::string::npos);
  EXPECT_EQ(harness.Calls("PreLoad(").size(), 1u);
  // Reads: 0x1810 for vertex buffers, 0x1010 for index buffers.
  harness.Device()->ClearCalls();
  std::uint32_t out[4];
  staticVb->Read(0, 16, out);
  N_IndexBuffer* ib = render().CreateIndexBuffer(101, 4, 1);
  ib->Read(0, 8, out);
  EXPECT_NE(harness.Calls("Lock(")[0].find("0x1810)"), std::string::npos);
  EXPECT_NE(harness.Calls("Lock(")[1].find("0x1010)"), std::string::npos);
}

TEST_F(RenderResources, WritesCopyWholeWordsExceptSixteenBitIndices) {
  struct Case {
    const char* what;
    int kind;  // 0 vertex buffer, 1 16-bit indices, 2 32-bit indices
    std::uint32_t size, copied;
  };
  const Case cases[] = {{"vertex buffer, 10 bytes", 0, 10, 8},
                        {"16-bit indices, 6 bytes", 1, 6, 6},
                        {"32-bit indices, 6 bytes", 2, 6, 4}};
  std::uint8_t source[16];
  for (int i = 0; i < 16; ++i) source[i] = std::uint8_t(0xA0 + i);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::uint8_t back[16] = {};
    if (c.kind == 0) {
      N_VertexBuffer* vb = render().CreateVertexBuffer(4, 4, 1);
      vb->Write(0, c.size, source, false);
      vb->Read(0, 16, back);
    } else {
      N_IndexBuffer* ib = render().CreateIndexBuffer(c.kind == 1 ? 101 : 102, 4, 1);
      ib->Write(0, c.size, source, false);
      std::memset(back, 0, sizeof back);
      ib->Read(0, c.kind == 1 ? 8 : 16, back);
    }
    for (std::uint32_t i = 0; i < 8; ++i) {
      EXPECT_EQ(back[i], i < c.copied ? source[i] : 0) << "byte " << i;
    }
  }
}

TEST_F(RenderResources, BindingsBindTheirStreamsAndUnbindTheRest) {
  N_VertexBuffer* a = render().CreateVertexBuffer(12, 4, 1);
  N_VertexBuffer* b = render().CreateVertexBuffer(16, 4, 1);
  N_VertexBuffer* c = render().CreateVertexBuffer(20, 4, 1);
  N_VertexBufferBinding* three = render().CreateVertexBufferBinding();
  three->SetStream(0, a);
  three->SetStream(2, c);
  three->SetStream(1, b);
  EXPECT_EQ(three->HighestStream(), 2);
  N_VertexBufferBinding* two = render().CreateVertexBufferBinding();
  two->SetStream(3, a);
  two->SetStream(1, b);
  EXPECT_EQ(two->HighestStream(), 3) << "the highest stream ever set";
  N_VertexBufferBinding* pair = render().CreateVertexBufferBinding();
  pair->SetStream(0, c);
  pair->SetStream(1, b);
  render().ApplyVertexBufferBinding(three);
  EXPECT_EQ(render().BoundStreamCount(), 3u);
  harness.Device()->ClearCalls();
  render().ApplyVertexBufferBinding(pair);
  const auto calls = harness.Calls("SetStreamSource");
  ASSERT_EQ(calls.size(), 3u);
  // vb1 is the full-screen quad Init made.
  EXPECT_EQ(calls[0], "SetStreamSource(0, vb4, 0, 20)");
  EXPECT_EQ(calls[1], "SetStreamSource(1, vb3, 0, 16)");
  EXPECT_EQ(calls[2], "SetStreamSource(2, null, 0, 0)");
  EXPECT_EQ(render().BoundStreamCount(), 2u);
}

TEST_F(RenderResources, DeclarationsAreBuiltOnceUntilTheyChange) {
  N_VertexDecl* declaration = render().CreateVertexDecl();
  EXPECT_TRUE(declaration->IsDirty());
  IDirect3DVertexDeclaration9* empty = declaration->GetDeclaration();
  ASSERT_NE(empty, nullptr);
  UINT count = 0;
  empty->GetDeclaration(nullptr, &count);
  EXPECT_EQ(count, 1u) << "the end marker alone";
  EXPECT_EQ(declaration->GetDeclaration(), empty);
  EXPECT_EQ(harness.Calls("CreateVertexDeclaration").size(), 1u);
  declaration->AddElement(0, 0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0);
  EXPECT_TRUE(declaration->IsDirty());
  IDirect3DVertexDeclaration9* built = declaration->GetDeclaration();
  ASSERT_NE(built, nullptr);
  EXPECT_FALSE(declaration->IsDirty());
  EXPECT_FALSE(declaration->IsReady());
  D3DVERTEXELEMENT9 elements[2];
  built->GetDeclaration(elements, &count);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(elements[1].Stream, 0xFF);
  EXPECT_EQ(elements[1].Type, D3DDECLTYPE_UNUSED);
  harness.Device()->Config().failingCalls = {"CreateVertexDeclaration"};
  declaration->AddElement(0, 12, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0);
  EXPECT_EQ(declaration->GetDeclaration(), nullptr);
  EXPECT_NE(harness.Log().find("DX Error: D3DERR_OUTOFVIDEOMEMORY\n"), std::string::npos);
}

TEST_F(RenderResources, DynamicBuffersGiveTheirDeviceCopyBackAroundAReset) {
  N_VertexBuffer* staticVb = render().CreateVertexBuffer(4, 4, 1);
  N_VertexBuffer* dynamicVb = render().CreateVertexBuffer(4, 4, 2);
  N_IndexBuffer* dynamicIb = render().CreateIndexBuffer(101, 4, 2);
  ASSERT_NE(dynamicVb->Lock(true, true), nullptr);
  dynamicVb->ReleaseDeviceBuffer();
  EXPECT_FALSE(dynamicVb->IsLocked()) << "unlocked before its release";
  EXPECT_EQ(dynamicVb->DeviceBuffer(), nullptr);
  staticVb->ReleaseDeviceBuffer();
  EXPECT_NE(staticVb->DeviceBuffer(), nullptr) << "a managed buffer keeps its copy";
  dynamicIb->ReleaseDeviceBuffer();
  harness.Device()->ClearCalls();
  dynamicVb->Restore();
  dynamicIb->Restore();
  staticVb->Restore();
  EXPECT_NE(dynamicVb->DeviceBuffer(), nullptr);
  EXPECT_NE(dynamicIb->DeviceBuffer(), nullptr);
  EXPECT_EQ(harness.Calls("CreateVertexBuffer"), std::vector<std::string>{"CreateVertexBuffer(16, 0x208, 0x0, 0)"});
  EXPECT_EQ(harness.Calls("CreateIndexBuffer"), std::vector<std::string>{"CreateIndexBuffer(8, 0x208, 101, 0)"});
  dynamicVb->ReleaseDeviceBuffer();
  harness.Device()->Config().failingCalls = {"CreateVertexBuffer"};
  dynamicVb->Restore();
  EXPECT_NE(harness.Log().find("!!! Error: Vertex Buffer restore failed. DX: D3DERR_OUTOFVIDEOMEMORY\n"),
            std::string::npos);
}

}  // namespace
