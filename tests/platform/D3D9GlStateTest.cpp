// The GL device's state choke point: what a draw costs in GL calls once its state is in
// place, and that sending only differences draws exactly what sending everything every
// time draws (the same long, varied run of states, resources and draws on a device with
// the cache and on one without it, compared pixel for pixel).
#include "platform/d3d9.h"
#include "tests/platform/GlDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 64, kHeight = 48;

struct ColourVertex {  // FVF XYZ | DIFFUSE | TEX1
  float x, y, z;
  D3DCOLOR color;
  float u, v;
};
constexpr DWORD kColourFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct LitVertex {  // FVF XYZ | NORMAL | DIFFUSE | TEX2
  float x, y, z;
  float nx, ny, nz;
  D3DCOLOR color;
  float u0, v0, u1, v1;
};
constexpr DWORD kLitFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX2;

struct SizedPoint {  // position, size, colour
  float x, y, z;
  float size;
  D3DCOLOR color;
};

/// A device on a window of its own; with the state cache on or off.
class Device : public test::GlDevice {
 public:
  explicit Device(bool cache) {
    const char* before = std::getenv("NAVO_GL_STATE_CACHE");
    const std::optional<std::string> saved = before ? std::optional<std::string>(before) : std::nullopt;
    if (cache) {
      unsetenv("NAVO_GL_STATE_CACHE");
    } else {
      setenv("NAVO_GL_STATE_CACHE", "0", 1);
    }
    (void)Open(kWidth, kHeight, DepthStencil());  // the tests check the device
    saved ? setenv("NAVO_GL_STATE_CACHE", saved->c_str(), 1) : unsetenv("NAVO_GL_STATE_CACHE");
  }

  std::vector<DWORD> BackBuffer() {
    IDirect3DSurface9* surface = nullptr;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface);
    std::vector<DWORD> pixels;
    D3DLOCKED_RECT locked{};
    if (surface && SUCCEEDED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
      for (int y = 0; y < kHeight; ++y) {
        const auto* row = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch);
        pixels.insert(pixels.end(), row, row + kWidth);
      }
      surface->UnlockRect();
    }
    if (surface) surface->Release();
    return pixels;
  }
};

std::vector<std::string> Trace() { return platform::TakeDeviceGlCalls(); }

bool Has(const std::vector<std::string>& calls, const std::string& name) {
  return std::find(calls.begin(), calls.end(), name) != calls.end();
}

std::string Joined(const std::vector<std::string>& calls) {
  std::string text;
  for (const std::string& c : calls) text += c + " ";
  return text;
}

/// A quad over most of clip space from a static buffer, and its indices.
struct QuadBuffers {
  explicit QuadBuffers(IDirect3DDevice9* device) {
    const ColourVertex quad[4] = {{-0.8f, 0.8f, 0.5f, 0xFFFF0000, 0, 0}, {0.8f, 0.8f, 0.5f, 0xFF00FF00, 1, 0},
                                  {-0.8f, -0.8f, 0.5f, 0xFF0000FF, 0, 1}, {0.8f, -0.8f, 0.5f, 0xFFFFFFFF, 1, 1}};
    device->CreateVertexBuffer(sizeof quad, D3DUSAGE_WRITEONLY, kColourFvf, D3DPOOL_MANAGED, &vertices, nullptr);
    void* data = nullptr;
    vertices->Lock(0, 0, &data, 0);
    std::memcpy(data, quad, sizeof quad);
    vertices->Unlock();
    const WORD list[6] = {0, 1, 2, 2, 1, 3};
    device->CreateIndexBuffer(sizeof list, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr);
    indices->Lock(0, 0, &data, 0);
    std::memcpy(data, list, sizeof list);
    indices->Unlock();
  }
  ~QuadBuffers() {
    vertices->Release();
    indices->Release();
  }
  IDirect3DVertexBuffer9* vertices = nullptr;
  IDirect3DIndexBuffer9* indices = nullptr;
};

class D3D9GlState : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* cache = std::getenv("NAVO_GL_STATE_CACHE");
    if (cache && cache[0] == '0') GTEST_SKIP() << "the state cache is off: every value goes to GL every time";
    platform::TraceDeviceGlCalls(true);
  }
  void TearDown() override { platform::TraceDeviceGlCalls(false); }
};

TEST_F(D3D9GlState, ADrawAgainIsOneGlCallAndAChangeSendsOnlyItself) {
  Device d(true);
  ASSERT_NE(d.device, nullptr);
  IDirect3DDevice9* device = d.device;
  QuadBuffers quad(device);
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetFVF(kColourFvf);
  device->SetStreamSource(0, quad.vertices, 0, sizeof(ColourVertex));
  device->SetIndices(quad.indices);
  struct Step {
    const char* what;
    void (*change)(IDirect3DDevice9*);
    std::vector<std::string> calls;  ///< the GL calls of the draw after the change, in order
  };
  const Step steps[] = {
      {"the same indexed draw again", [](IDirect3DDevice9*) {}, {"glDrawRangeElementsBaseVertex"}},
      {"a state set to the value it has", [](IDirect3DDevice9* dv) { dv->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL); },
       {"glDrawRangeElementsBaseVertex"}},
      {"the depth function", [](IDirect3DDevice9* dv) { dv->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS); },
       {"glDepthFunc", "glDrawRangeElementsBaseVertex"}},
      {"the world matrix", [](IDirect3DDevice9* dv) {
         D3DMATRIX world{};
         world._11 = world._22 = world._33 = world._44 = 0.5f;
         dv->SetTransform(D3DTS_WORLD, &world);
       }, {"glLoadMatrixf", "glDrawRangeElementsBaseVertex"}},
      {"the same stream at another offset",
       [](IDirect3DDevice9* dv) {
         IDirect3DVertexBuffer9* vb = nullptr;
         UINT offset = 0, stride = 0;
         dv->GetStreamSource(0, &vb, &offset, &stride);
         dv->SetStreamSource(0, vb, sizeof(ColourVertex), stride);
         vb->Release();
       },
       // Position, colour and texture coordinates of the one stream are pointed again.
       {"glBindBuffer", "glVertexPointer", "glColorPointer", "glClientActiveTexture", "glTexCoordPointer",
        "glDrawRangeElementsBaseVertex"}},
  };
  ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
  Trace();
  for (const Step& s : steps) {
    s.change(device);
    ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1), D3D_OK);
    EXPECT_EQ(Trace(), s.calls) << s.what;
  }
  // A draw without indices from the same arrays: only the draw.
  ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 1), D3D_OK);
  EXPECT_EQ(Trace(), std::vector<std::string>{"glDrawArrays"});
}

TEST_F(D3D9GlState, LightsFollowTheLightsAndTheViewAndTheMaterialItself) {
  Device d(true);
  ASSERT_NE(d.device, nullptr);
  IDirect3DDevice9* device = d.device;
  const LitVertex triangle[3] = {{-0.5f, -0.5f, 0.5f, 0, 0, -1, 0xFFFFFFFF, 0, 0, 0, 0},
                                 {0.0f, 0.5f, 0.5f, 0, 0, -1, 0xFFFFFFFF, 0, 0, 0, 0},
                                 {0.5f, -0.5f, 0.5f, 0, 0, -1, 0xFFFFFFFF, 0, 0, 0, 0}};
  D3DLIGHT9 light{};
  light.Type = D3DLIGHT_POINT;
  light.Diffuse = {1, 1, 1, 1};
  light.Position = {0, 0, -1};
  light.Range = 10;
  light.Attenuation0 = 1;
  device->SetLight(0, &light);
  device->LightEnable(0, TRUE);
  D3DMATERIAL9 material{};
  material.Diffuse = {1, 0.5f, 0.25f, 1};
  device->SetMaterial(&material);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetFVF(kLitFvf);
  auto draw = [&] {
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(LitVertex)), D3D_OK);
    return Trace();
  };
  draw();
  D3DMATRIX world{};
  world._11 = world._22 = world._33 = world._44 = 1.0f;
  world._41 = 0.1f;
  device->SetTransform(D3DTS_WORLD, &world);
  auto calls = draw();
  EXPECT_FALSE(Has(calls, "glUniform4fv")) << "a new world matrix sends no light: " << Joined(calls);
  EXPECT_TRUE(Has(calls, "glLoadMatrixf")) << Joined(calls);
  device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
  calls = draw();
  EXPECT_FALSE(Has(calls, "glUniform4fv")) << "a render state that is not the material's sends none: "
                                           << Joined(calls);
  device->SetMaterial(&material);
  calls = draw();
  EXPECT_FALSE(Has(calls, "glUniform4fv")) << "the same material again sends nothing: " << Joined(calls);
  material.Diffuse.g = 0.75f;
  device->SetMaterial(&material);
  calls = draw();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "glUniform4fv"), 1) << "a new material: " << Joined(calls);
  D3DMATRIX view = world;
  device->SetTransform(D3DTS_VIEW, &view);
  calls = draw();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "glUniform4fv"), 1) << "a new view moves the lights: "
                                                                       << Joined(calls);
  light.Range = 5;
  device->SetLight(0, &light);
  calls = draw();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "glUniform4fv"), 1) << "a changed light: " << Joined(calls);
  device->LightEnable(0, TRUE);
  calls = draw();
  EXPECT_FALSE(Has(calls, "glUniform4fv")) << "a light switched on again is no change: " << Joined(calls);
}

/// A fixed pseudo-random sequence (not the C library's rand, whose sequence differs).
class Sequence {
 public:
  explicit Sequence(std::uint32_t seed) : m_state(seed) {}
  std::uint32_t Next(std::uint32_t bound) {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state % bound;
  }
  float Between(float low, float high) { return low + (high - low) * float(Next(1001)) / 1000.0f; }

 private:
  std::uint32_t m_state;
};

/// The resources of the varied run, made on one device.
struct Resources {
  explicit Resources(IDirect3DDevice9* d) : device(d) {
    for (int i = 0; i < 3; ++i) textures.push_back(MakeTexture(DWORD(0xFF203040u + 0x305010u * DWORD(i + 1))));
    colourBuffer = MakeColourBuffer(0);
    device->CreateVertexBuffer(64 * sizeof(LitVertex), D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, kLitFvf,
                               D3DPOOL_DEFAULT, &litBuffer, nullptr);
    device->CreateVertexBuffer(64 * 8, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &uvBuffer, nullptr);
    void* data = nullptr;
    uvBuffer->Lock(0, 0, &data, 0);
    auto* uv = static_cast<float*>(data);
    for (int i = 0; i < 128; ++i) uv[i] = float((i * 7) % 5) * 0.25f;
    uvBuffer->Unlock();
    const WORD small[12] = {0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7};
    device->CreateIndexBuffer(sizeof small, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices16,
                              nullptr);
    indices16->Lock(0, 0, &data, 0);
    std::memcpy(data, small, sizeof small);
    indices16->Unlock();
    const DWORD wide[6] = {3, 2, 1, 1, 2, 0};
    device->CreateIndexBuffer(sizeof wide, D3DUSAGE_WRITEONLY, D3DFMT_INDEX32, D3DPOOL_MANAGED, &indices32, nullptr);
    indices32->Lock(0, 0, &data, 0);
    std::memcpy(data, wide, sizeof wide);
    indices32->Unlock();
    const D3DVERTEXELEMENT9 twoStreams[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                            {0, 12, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                                            {1, 0, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                            D3DDECL_END()};
    device->CreateVertexDeclaration(twoStreams, &split);
    const D3DVERTEXELEMENT9 sized[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                       {0, 12, D3DDECLTYPE_FLOAT1, 0, D3DDECLUSAGE_PSIZE, 0},
                                       {0, 16, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                                       D3DDECL_END()};
    device->CreateVertexDeclaration(sized, &points);
    const char* program = "#version 120\nuniform vec4 c[8];\nvoid main() {\n"
                          "  gl_Position = vec4(gl_Vertex.xy * c[0].xy + c[0].zw, gl_Vertex.z, 1.0);\n"
                          "  gl_FrontColor = gl_Color * c[1];\n  gl_TexCoord[0] = gl_MultiTexCoord0;\n}\n";
    device->CreateVertexShader(reinterpret_cast<const DWORD*>(program), &shader);
  }
  ~Resources() {
    for (IDirect3DTexture9* t : textures) t->Release();
    for (IUnknown* r : std::initializer_list<IUnknown*>{colourBuffer, litBuffer, uvBuffer, indices16, indices32, split,
                                                        points, shader}) {
      if (r) r->Release();
    }
  }

  IDirect3DTexture9* MakeTexture(DWORD base) {
    IDirect3DTexture9* texture = nullptr;
    device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr);
    Fill(texture, base);
    return texture;
  }
  static void Fill(IDirect3DTexture9* texture, DWORD base) {
    D3DLOCKED_RECT locked{};
    texture->LockRect(0, &locked, nullptr, 0);
    for (int y = 0; y < 4; ++y) {
      auto* row = reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
      for (int x = 0; x < 4; ++x) row[x] = base ^ DWORD((x * 0x41 + y * 0x2300) & 0xFFFF) ^ DWORD((x + y) & 1) << 31;
    }
    texture->UnlockRect(0);
  }
  IDirect3DVertexBuffer9* MakeColourBuffer(int variant) {
    IDirect3DVertexBuffer9* buffer = nullptr;
    device->CreateVertexBuffer(64 * sizeof(ColourVertex), D3DUSAGE_WRITEONLY, kColourFvf, D3DPOOL_MANAGED, &buffer,
                               nullptr);
    void* data = nullptr;
    buffer->Lock(0, 0, &data, 0);
    auto* v = static_cast<ColourVertex*>(data);
    for (int i = 0; i < 64; ++i) {
      const float x = float(i % 8) / 4.0f - 1.0f, y = float(i / 8) / 4.0f - 1.0f;
      v[i] = {x + (i & 1 ? 0.5f : 0.0f), y + (i & 2 ? 0.5f : 0.0f), 0.2f + 0.01f * float(i),
              0xFF000000u | DWORD(i * 0x040813 + variant * 0x300000), float(i & 1), float((i >> 1) & 1)};
    }
    buffer->Unlock();
    return buffer;
  }

  IDirect3DDevice9* device;
  std::vector<IDirect3DTexture9*> textures;
  IDirect3DVertexBuffer9* colourBuffer = nullptr;
  IDirect3DVertexBuffer9* litBuffer = nullptr;
  IDirect3DVertexBuffer9* uvBuffer = nullptr;
  IDirect3DIndexBuffer9* indices16 = nullptr;
  IDirect3DIndexBuffer9* indices32 = nullptr;
  IDirect3DVertexDeclaration9* split = nullptr;
  IDirect3DVertexDeclaration9* points = nullptr;
  IDirect3DVertexShader9* shader = nullptr;
};

void SetFloat(IDirect3DDevice9* device, D3DRENDERSTATETYPE state, float value) {
  DWORD bits;
  std::memcpy(&bits, &value, sizeof bits);
  device->SetRenderState(state, bits);
}

/// One step of the varied run: a state, a binding, a resource's life, or a draw.
void Step(IDirect3DDevice9* device, Resources& r, Sequence& s) {
  switch (s.Next(16)) {
    case 0: {
      static const std::pair<D3DRENDERSTATETYPE, std::vector<DWORD>> kStates[] = {
          {D3DRS_CULLMODE, {D3DCULL_NONE, D3DCULL_CW, D3DCULL_CCW}},
          {D3DRS_ALPHABLENDENABLE, {FALSE, TRUE}},
          {D3DRS_SRCBLEND, {D3DBLEND_ONE, D3DBLEND_SRCALPHA, D3DBLEND_DESTCOLOR}},
          {D3DRS_DESTBLEND, {D3DBLEND_ZERO, D3DBLEND_INVSRCALPHA, D3DBLEND_ONE}},
          {D3DRS_ZENABLE, {D3DZB_FALSE, D3DZB_TRUE}},
          {D3DRS_ZFUNC, {D3DCMP_LESSEQUAL, D3DCMP_ALWAYS, D3DCMP_GREATER}},
          {D3DRS_ZWRITEENABLE, {FALSE, TRUE}},
          {D3DRS_ALPHATESTENABLE, {FALSE, TRUE}},
          {D3DRS_ALPHAREF, {0x20, 0x80}},
          {D3DRS_ALPHAFUNC, {D3DCMP_GREATER, D3DCMP_LESS}},
          {D3DRS_COLORWRITEENABLE, {0xF, 0x7, 0x5}},
          {D3DRS_LIGHTING, {FALSE, TRUE, TRUE}},
          {D3DRS_SPECULARENABLE, {FALSE, TRUE}},
          {D3DRS_AMBIENT, {0, 0xFF404040, 0xFF102030}},
          {D3DRS_NORMALIZENORMALS, {FALSE, TRUE}},
          {D3DRS_LOCALVIEWER, {FALSE, TRUE}},
          {D3DRS_COLORVERTEX, {FALSE, TRUE}},
          {D3DRS_DIFFUSEMATERIALSOURCE, {D3DMCS_MATERIAL, D3DMCS_COLOR1}},
          {D3DRS_AMBIENTMATERIALSOURCE, {D3DMCS_MATERIAL, D3DMCS_COLOR1}},
          {D3DRS_FOGENABLE, {FALSE, TRUE}},
          {D3DRS_FOGTABLEMODE, {D3DFOG_LINEAR, D3DFOG_EXP}},
          {D3DRS_FOGCOLOR, {0xFF808000, 0xFF004080}},
          {D3DRS_TEXTUREFACTOR, {0xFFFFFFFF, 0x80FF8040}},
          {D3DRS_SHADEMODE, {D3DSHADE_GOURAUD, D3DSHADE_FLAT}},
          {D3DRS_SCISSORTESTENABLE, {FALSE, TRUE}},
          {D3DRS_STENCILENABLE, {FALSE, TRUE}},
          {D3DRS_STENCILPASS, {D3DSTENCILOP_KEEP, D3DSTENCILOP_INCR}},
          {D3DRS_STENCILFUNC, {D3DCMP_ALWAYS, D3DCMP_EQUAL}},
      };
      const auto& [state, values] = kStates[s.Next(std::size(kStates))];
      device->SetRenderState(state, values[s.Next(std::uint32_t(values.size()))]);
      SetFloat(device, D3DRS_FOGEND, 0.9f);
      SetFloat(device, D3DRS_FOGSTART, 0.1f);
      break;
    }
    case 1: {
      const DWORD stage = s.Next(2);
      const std::uint32_t which = s.Next(4);
      device->SetTexture(stage, which < 3 ? r.textures[which] : nullptr);
      break;
    }
    case 2: {
      const DWORD stage = s.Next(2);
      static const DWORD kOps[] = {D3DTOP_MODULATE, D3DTOP_SELECTARG1, D3DTOP_SELECTARG2, D3DTOP_ADD,
                                   D3DTOP_DISABLE, D3DTOP_BLENDTEXTUREALPHA};
      device->SetTextureStageState(stage, D3DTSS_COLOROP, kOps[s.Next(stage == 0 ? 4 : 6)]);
      device->SetTextureStageState(stage, D3DTSS_ALPHAOP, kOps[s.Next(4)]);
      device->SetTextureStageState(stage, D3DTSS_COLORARG2, s.Next(2) ? D3DTA_CURRENT : D3DTA_TFACTOR);
      break;
    }
    case 3: {
      const DWORD stage = s.Next(2);
      static const DWORD kIndices[] = {0, 1, D3DTSS_TCI_SPHEREMAP, D3DTSS_TCI_CAMERASPACEPOSITION};
      device->SetTextureStageState(stage, D3DTSS_TEXCOORDINDEX, kIndices[s.Next(4)]);
      device->SetTextureStageState(stage, D3DTSS_TEXTURETRANSFORMFLAGS, s.Next(2) ? D3DTTFF_DISABLE : D3DTTFF_COUNT2);
      D3DMATRIX t{};
      t._11 = s.Between(0.5f, 2.0f);
      t._22 = 1.0f;
      t._31 = s.Between(-0.5f, 0.5f);
      t._33 = t._44 = 1.0f;
      device->SetTransform(D3DTRANSFORMSTATETYPE(D3DTS_TEXTURE0 + stage), &t);
      break;
    }
    case 4:
      device->SetSamplerState(s.Next(2), D3DSAMP_MAGFILTER, s.Next(2) ? D3DTEXF_POINT : D3DTEXF_LINEAR);
      device->SetSamplerState(s.Next(2), D3DSAMP_ADDRESSU, s.Next(2) ? D3DTADDRESS_WRAP : D3DTADDRESS_CLAMP);
      break;
    case 5: {
      D3DMATRIX m{};
      m._11 = m._22 = s.Between(0.6f, 1.2f);
      m._33 = m._44 = 1.0f;
      m._41 = s.Between(-0.3f, 0.3f);
      m._42 = s.Between(-0.3f, 0.3f);
      device->SetTransform(s.Next(3) ? D3DTS_WORLD : D3DTS_VIEW, &m);
      break;
    }
    case 6: {
      D3DLIGHT9 light{};
      light.Type = D3DLIGHTTYPE(1 + s.Next(3));
      light.Diffuse = {s.Between(0, 1), s.Between(0, 1), s.Between(0, 1), 1};
      light.Ambient = {s.Between(0, 0.3f), 0.1f, 0.2f, 1};
      light.Specular = {1, 1, 1, 1};
      light.Position = {s.Between(-1, 1), s.Between(-1, 1), s.Between(-1, 0.3f)};
      light.Direction = {s.Between(-1, 1), s.Between(-1, 1), 1};
      light.Range = s.Between(0.5f, 3);
      light.Attenuation0 = s.Between(0.2f, 1);
      light.Attenuation1 = s.Between(0, 1);
      light.Theta = s.Between(0.2f, 1);
      light.Phi = light.Theta + s.Between(0, 1);
      light.Falloff = s.Between(0.5f, 2);
      const DWORD index = s.Next(4);
      device->SetLight(index, &light);
      device->LightEnable(index, s.Next(4) != 0);
      break;
    }
    case 7: {
      D3DMATERIAL9 m{};
      m.Diffuse = {s.Between(0, 1), s.Between(0, 1), s.Between(0, 1), s.Between(0.3f, 1)};
      m.Ambient = {0.3f, 0.3f, s.Between(0, 1), 1};
      m.Specular = {0.5f, 0.5f, 0.5f, 1};
      m.Emissive = {s.Between(0, 0.2f), 0, 0, 1};
      m.Power = s.Between(1, 20);
      device->SetMaterial(&m);
      break;
    }
    case 8: {
      const DWORD x = s.Next(20), y = s.Next(16);
      const D3DVIEWPORT9 viewport{x, y, DWORD(kWidth) - x - s.Next(10), DWORD(kHeight) - y - s.Next(10), 0.0f, 1.0f};
      device->SetViewport(&viewport);
      const RECT scissor{LONG(s.Next(30)), LONG(s.Next(20)), LONG(34 + s.Next(30)), LONG(28 + s.Next(20))};
      device->SetScissorRect(&scissor);
      break;
    }
    case 9:
      // A texture written between draws binds its own name behind the state cache.
      Resources::Fill(r.textures[s.Next(3)], 0xFF000000u | s.Next(0xFFFFFF));
      break;
    case 10: {
      // A buffer given up and made again: GL may hand the new one the old one's name.
      r.colourBuffer->Release();
      r.colourBuffer = r.MakeColourBuffer(int(s.Next(4)));
      break;
    }
    case 11: {
      device->SetVertexShader(s.Next(3) == 0 ? r.shader : nullptr);
      const float constants[8] = {s.Between(0.5f, 1), s.Between(0.5f, 1), s.Between(-0.2f, 0.2f), 0,
                                  1, s.Between(0, 1), 1, 1};
      device->SetVertexShaderConstantF(0, constants, 2);
      break;
    }
    default: {
      // A draw, one of five ways.
      switch (s.Next(5)) {
        case 0:
          device->SetFVF(kColourFvf);
          device->SetStreamSource(0, r.colourBuffer, 0, sizeof(ColourVertex));
          device->SetIndices(s.Next(2) ? r.indices16 : r.indices32);
          device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, INT(s.Next(40)), 0, 8, 0, 2);
          break;
        case 1: {
          LitVertex v[6];
          for (int i = 0; i < 6; ++i) {
            v[i] = {s.Between(-1, 1), s.Between(-1, 1), s.Between(0.1f, 0.9f), s.Between(-1, 1), s.Between(-1, 1),
                    -1, 0xFF000000u | s.Next(0xFFFFFF), s.Between(0, 1), s.Between(0, 1), s.Between(0, 1),
                    s.Between(0, 1)};
          }
          void* data = nullptr;
          r.litBuffer->Lock(0, sizeof v, &data, D3DLOCK_DISCARD);
          std::memcpy(data, v, sizeof v);
          r.litBuffer->Unlock();
          device->SetFVF(kLitFvf);
          device->SetStreamSource(0, r.litBuffer, 0, sizeof(LitVertex));
          device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2);
          break;
        }
        case 2:
          device->SetVertexDeclaration(r.split);
          device->SetStreamSource(0, r.colourBuffer, 0, sizeof(ColourVertex));
          device->SetStreamSource(1, r.uvBuffer, 8 * s.Next(4), 8);
          device->DrawPrimitive(D3DPT_TRIANGLESTRIP, s.Next(30), 4);
          break;
        case 3: {
          const ColourVertex quad[4] = {{s.Between(-1, 0), 0.6f, 0.3f, 0xFF8080FF, 0, 0},
                                        {0.7f, 0.7f, 0.3f, 0x80FF8000, 1, 0},
                                        {-0.6f, s.Between(-1, 0), 0.6f, 0xFF00FF80, 0, 1},
                                        {0.6f, -0.6f, 0.6f, 0xFFFFFFFF, 1, 1}};
          device->SetFVF(kColourFvf);
          if (s.Next(2)) {
            device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ColourVertex));
          } else {
            const WORD list[6] = {0, 2, 1, 1, 2, 3};
            device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, list, D3DFMT_INDEX16, quad,
                                           sizeof(ColourVertex));
          }
          break;
        }
        default: {
          SizedPoint p[3];
          for (SizedPoint& point : p) {
            point = {s.Between(-0.8f, 0.8f), s.Between(-0.8f, 0.8f), 0.5f, s.Between(2, 9), 0xFFFFC000};
          }
          device->SetVertexDeclaration(r.points);
          device->DrawPrimitiveUP(D3DPT_POINTLIST, 3, p, sizeof(SizedPoint));
          break;
        }
      }
      break;
    }
  }
}

/// The back buffer after every 10 steps of the varied run (and cleared now and then).
std::vector<std::vector<DWORD>> VariedRun(Device& d, std::uint32_t seed) {
  Resources resources(d.device);
  Sequence s(seed);
  std::vector<std::vector<DWORD>> frames;
  d.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF203040, 1.0f, 0);
  for (int step = 1; step <= 600; ++step) {
    Step(d.device, resources, s);
    if (step % 10 == 0) frames.push_back(d.BackBuffer());
    if (step % 150 == 0) {
      d.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF000000u | s.Next(0xFFFFFF),
                      1.0f, 0);
    }
    if (step == 300) {
      // A reset in the middle: every state back at its default, every binding gone.
      D3DPRESENT_PARAMETERS again = d.params;
      d.device->Reset(&again);
    }
  }
  return frames;
}

TEST(D3D9GlStateCache, AVariedRunDrawsTheSameWithAndWithoutTheCache) {
  for (const std::uint32_t seed : {1u, 20231u, 777777u}) {
    std::vector<std::vector<DWORD>> cached, uncached;
    {
      Device d(true);
      ASSERT_NE(d.device, nullptr);
      cached = VariedRun(d, seed);
    }
    {
      Device d(false);
      ASSERT_NE(d.device, nullptr);
      uncached = VariedRun(d, seed);
    }
    ASSERT_EQ(cached.size(), uncached.size());
    for (std::size_t i = 0; i < cached.size(); ++i) {
      ASSERT_EQ(cached[i].size(), std::size_t(kWidth * kHeight)) << "seed " << seed << ", frame " << i;
      std::size_t differing = 0;
      for (std::size_t p = 0; p < cached[i].size(); ++p) differing += cached[i][p] != uncached[i][p];
      ASSERT_EQ(differing, 0u) << "seed " << seed << ": first difference after step " << (i + 1) * 10;
    }
    // The run must draw something: a blank run would agree trivially.
    std::size_t kinds = 0;
    std::vector<DWORD> seen;
    for (DWORD p : cached.back()) {
      if (std::find(seen.begin(), seen.end(), p) == seen.end() && seen.size() < 64) seen.push_back(p);
    }
    kinds = seen.size();
    EXPECT_GT(kinds, 8u) << "seed " << seed;
  }
}

}  // namespace
