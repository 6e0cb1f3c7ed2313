// Fixed-function lighting on the OpenGL device against Direct3D 9's lighting equation:
// directional, point and spot lights with range, attenuation and cone, specular with a
// local and a distant viewer, and material colours taken from the vertices. Each probe
// is a small flat-shaded triangle whose colour is its first vertex's; the test works
// the equation out for that vertex and compares the pixel.
#include "platform/d3d9.h"
#include "tests/platform/GlDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 128, kHeight = 96;
constexpr int kSpacing = 8;  ///< pixels between probes
constexpr int kColumns = kWidth / kSpacing, kRows = kHeight / kSpacing;

struct V3 {
  float x, y, z;
};
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(float s, V3 a) { return {s * a.x, s * a.y, s * a.z}; }
float Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float Length(V3 a) { return std::sqrt(Dot(a, a)); }
V3 Normalized(V3 a) {
  const float l = Length(a);
  return l > 0.0f ? (1.0f / l) * a : a;
}

struct Rgb {
  float r = 0, g = 0, b = 0;
};
Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
Rgb operator*(float s, Rgb a) { return {s * a.r, s * a.g, s * a.b}; }
Rgb Of(const D3DCOLORVALUE& c) { return {c.r, c.g, c.b}; }
Rgb Of(D3DCOLOR c) { return {float((c >> 16) & 0xFF) / 255.0f, float((c >> 8) & 0xFF) / 255.0f, float(c & 0xFF) / 255.0f}; }

/// The view of every case: lights are given in world space, so the view must carry them
/// into camera space (a quarter turn about y and a shift). The world matrix is its
/// inverse, so vertices are given in camera space directly.
D3DMATRIX View() {
  D3DMATRIX m{};
  // A quarter turn about y, (x, y, z) -> (z, y, -x), then the shift.
  m._13 = -1.0f;
  m._22 = 1.0f;
  m._31 = 1.0f;
  m._41 = 5.0f;
  m._42 = -3.0f;
  m._43 = 40.0f;
  m._44 = 1.0f;
  return m;
}
D3DMATRIX InverseView() {
  // Back: subtract the shift t, then (a, b, c) -> (-c, b, a).
  const D3DMATRIX v = View();
  D3DMATRIX m{};
  m._31 = -1.0f;
  m._22 = 1.0f;
  m._13 = 1.0f;
  m._44 = 1.0f;
  m._41 = v._43;
  m._42 = -v._42;
  m._43 = -v._41;
  return m;
}
V3 ToCamera(V3 p, bool point) {
  const D3DMATRIX v = View();
  V3 out{p.x * v._11 + p.y * v._21 + p.z * v._31, p.x * v._12 + p.y * v._22 + p.z * v._32,
         p.x * v._13 + p.y * v._23 + p.z * v._33};
  if (point) out = out + V3{v._41, v._42, v._43};
  return out;
}

/// A probe: a camera-space position and normal, and its vertex colours.
struct Probe {
  V3 position;
  V3 normal;
  D3DCOLOR diffuse = 0xFFFFFFFF;
  D3DCOLOR specular = 0xFF000000;
};

struct Scene {
  const char* name;
  std::vector<D3DLIGHT9> lights;
  D3DMATERIAL9 material;
  D3DCOLOR ambient = 0;
  bool specularOn = false;
  bool localViewer = true;
  bool vertexColours = false;  ///< diffuse from colour 1, ambient from colour 1, specular from colour 2
  std::vector<Probe> probes;
};

/// Direct3D 9's equation for one vertex: the diffuse and specular outputs, clamped.
std::pair<Rgb, Rgb> Expected(const Scene& s, const Probe& p) {
  const Rgb cd = s.vertexColours ? Of(p.diffuse) : Of(s.material.Diffuse);
  const Rgb ca = s.vertexColours ? Of(p.diffuse) : Of(s.material.Ambient);
  const Rgb cs = s.vertexColours ? Of(p.specular) : Of(s.material.Specular);
  const Rgb ce = Of(s.material.Emissive);
  Rgb ambient = Of(s.ambient), diffuse, specular;
  const V3 toViewer = s.localViewer ? Normalized(V3{0, 0, 0} - p.position) : V3{0, 0, -1};
  for (const D3DLIGHT9& l : s.lights) {
    V3 toLight;
    float factor = 1.0f;
    if (l.Type == D3DLIGHT_DIRECTIONAL) {
      toLight = Normalized(V3{0, 0, 0} - ToCamera({l.Direction.x, l.Direction.y, l.Direction.z}, false));
    } else {
      const V3 v = ToCamera({l.Position.x, l.Position.y, l.Position.z}, true) - p.position;
      const float d = Length(v);
      if (d > l.Range) continue;
      toLight = Normalized(v);
      factor = 1.0f / (l.Attenuation0 + l.Attenuation1 * d + l.Attenuation2 * d * d);
      if (l.Type == D3DLIGHT_SPOT) {
        const float rho = Dot(Normalized(ToCamera({l.Direction.x, l.Direction.y, l.Direction.z}, false)),
                              V3{0, 0, 0} - toLight);
        const float inner = std::cos(l.Theta / 2), outer = std::cos(l.Phi / 2);
        if (rho <= outer) continue;
        if (rho <= inner) factor *= std::pow((rho - outer) / (inner - outer), l.Falloff);
      }
    }
    ambient = ambient + factor * Of(l.Ambient);
    const float lambert = Dot(p.normal, toLight);
    if (lambert <= 0.0f) continue;
    diffuse = diffuse + (factor * lambert) * Of(l.Diffuse);
    const float highlight = std::max(Dot(p.normal, Normalized(toViewer + toLight)), 0.0f);
    specular = specular + (factor * std::pow(highlight, s.material.Power)) * Of(l.Specular);
  }
  auto clamp = [](Rgb c) {
    return Rgb{std::clamp(c.r, 0.0f, 1.0f), std::clamp(c.g, 0.0f, 1.0f), std::clamp(c.b, 0.0f, 1.0f)};
  };
  return {clamp(ce + ca * ambient + cd * diffuse), s.specularOn ? clamp(cs * specular) : Rgb{}};
}

D3DLIGHT9 Light(D3DLIGHTTYPE type, V3 position, V3 direction, Rgb diffuse, Rgb ambient = {}, Rgb specular = {}) {
  D3DLIGHT9 l{};
  l.Type = type;
  l.Diffuse = {diffuse.r, diffuse.g, diffuse.b, 1.0f};
  l.Ambient = {ambient.r, ambient.g, ambient.b, 1.0f};
  l.Specular = {specular.r, specular.g, specular.b, 1.0f};
  l.Position = {position.x, position.y, position.z};
  l.Direction = {direction.x, direction.y, direction.z};
  l.Range = 1000.0f;
  l.Attenuation0 = 1.0f;
  return l;
}

/// Camera-space position of the probe in column c, row r (its triangle's corner), at
/// camera depth z.
V3 Cell(int c, int r, float z) {
  return {float(c * kSpacing) - kWidth / 2.0f, kHeight / 2.0f - float(r * kSpacing), z};
}

/// One probe a cell, positions and normals from the function.
template <class Make>
std::vector<Probe> Probes(Make make) {
  std::vector<Probe> probes;
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) probes.push_back(make(c, r));
  }
  return probes;
}

/// A normal that turns from facing the viewer (c = 0) to facing away, and about z by row.
V3 Turning(int c, int r) {
  const float a = float(c) * 0.21f, b = float(r) * 0.55f;
  return Normalized({std::sin(a) * std::cos(b), std::sin(a) * std::sin(b), -std::cos(a)});
}

std::vector<Scene> Scenes() {
  D3DMATERIAL9 white{};
  white.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
  white.Ambient = {0.5f, 0.5f, 0.5f, 1.0f};
  white.Specular = {1.0f, 1.0f, 1.0f, 1.0f};
  white.Emissive = {0.05f, 0.0f, 0.1f, 1.0f};
  white.Power = 8.0f;
  std::vector<Scene> scenes;

  // A sun shining from behind the viewer's left (in world space: the view turns it).
  scenes.push_back({"directional", {Light(D3DLIGHT_DIRECTIONAL, {}, {0.6f, -0.3f, 0.8f}, {0.8f, 0.6f, 0.4f},
                                          {0.1f, 0.1f, 0.2f})},
                    white, 0x00202020, false, true, false,
                    Probes([](int c, int r) { return Probe{Cell(c, r, 50.0f), Turning(c, r)}; })});

  // A point light 30 units in front of the middle: attenuation, and nothing at all
  // (ambient included) beyond its range of 45.
  D3DLIGHT9 point = Light(D3DLIGHT_POINT, {}, {}, {1.0f, 0.9f, 0.7f}, {0.2f, 0.0f, 0.0f});
  const V3 pointAt{0.0f, 0.0f, 30.0f};
  {
    // The world position that the view takes to pointAt.
    const D3DMATRIX inverse = InverseView();
    point.Position = {pointAt.x * inverse._11 + pointAt.y * inverse._21 + pointAt.z * inverse._31 + inverse._41,
                      pointAt.x * inverse._12 + pointAt.y * inverse._22 + pointAt.z * inverse._32 + inverse._42,
                      pointAt.x * inverse._13 + pointAt.y * inverse._23 + pointAt.z * inverse._33 + inverse._43};
  }
  point.Range = 45.0f;
  point.Attenuation0 = 0.4f;
  point.Attenuation1 = 0.02f;
  point.Attenuation2 = 0.0004f;
  scenes.push_back({"point with range", {point}, white, 0x00101010, false, true, false,
                    Probes([&](int c, int r) {
                      const V3 at = Cell(c, r, 50.0f);
                      return Probe{at, Normalized(pointAt - at)};
                    })});

  // A spot from the same place pointing straight back at the probes' plane: a bright
  // inner cone, a falloff ring and darkness outside.
  D3DLIGHT9 spot = point;
  spot.Type = D3DLIGHT_SPOT;
  spot.Range = 1000.0f;
  spot.Attenuation0 = 1.0f;
  spot.Attenuation1 = spot.Attenuation2 = 0.0f;
  spot.Direction = {-1.0f, 0.0f, 0.0f};  // the view turns it into camera +z, away from the viewer
  spot.Theta = 1.2f;
  spot.Phi = 2.0f;
  spot.Falloff = 2.0f;
  scenes.push_back({"spot cone", {spot}, white, 0x00101010, false, true, false,
                    Probes([](int c, int r) { return Probe{Cell(c, r, 50.0f), {0.0f, 0.0f, -1.0f}}; })});
  D3DLIGHT9 linearSpot = spot;
  linearSpot.Falloff = 1.0f;
  linearSpot.Theta = 0.5f;
  linearSpot.Phi = 1.6f;
  scenes.push_back({"spot with a linear falloff", {linearSpot}, white, 0, false, true, false,
                    Probes([](int c, int r) { return Probe{Cell(c, r, 45.0f), Turning(c / 2, r)}; })});

  // Highlights: a light with a specular colour, seen from the camera and from afar.
  const D3DLIGHT9 shiny = Light(D3DLIGHT_DIRECTIONAL, {}, {0.0f, -0.2f, 1.0f}, {0.3f, 0.3f, 0.3f}, {},
                                {0.9f, 0.8f, 0.6f});
  for (const bool local : {true, false}) {
    scenes.push_back({local ? "specular, local viewer" : "specular, distant viewer", {shiny, point}, white, 0, true,
                      local, false, Probes([](int c, int r) { return Probe{Cell(c, r, 20.0f), Turning(c, r)}; })});
  }

  // Colours from the vertices: diffuse and ambient from colour 1, specular from colour 2.
  scenes.push_back({"vertex colours", {point, Light(D3DLIGHT_DIRECTIONAL, {}, {0.0f, 0.0f, 1.0f}, {0.4f, 0.4f, 0.4f},
                                                    {0.2f, 0.2f, 0.2f}, {0.5f, 0.5f, 0.5f})},
                    white, 0x00303030, true, true, true, Probes([](int c, int r) {
                      Probe p{Cell(c, r, 35.0f), Turning(c, r)};
                      p.diffuse = 0xFF000000u | DWORD(c * 16) << 16 | DWORD(r * 20) << 8 | DWORD(255 - c * 12);
                      p.specular = 0xFF000000u | DWORD(255 - r * 20) << 16 | 0x8000u | DWORD(c * 15);
                      return p;
                    })});
  return scenes;
}

struct Vertex {  // FVF XYZ | NORMAL | DIFFUSE | SPECULAR
  float x, y, z;
  float nx, ny, nz;
  D3DCOLOR diffuse, specular;
};
constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR;
constexpr DWORD kFvfNoColour = D3DFVF_XYZ | D3DFVF_NORMAL;

class D3D9GlLighting : public ::testing::Test, protected test::GlDevice {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Open(kWidth, kHeight));
    // Camera space maps one unit to one pixel (x right, y up) and depth 0..100 to 0..1.
    D3DMATRIX projection{};
    projection._11 = 2.0f / kWidth;
    projection._22 = 2.0f / kHeight;
    projection._33 = 1.0f / 100.0f;
    projection._44 = 1.0f;
    const D3DMATRIX view = View(), world = InverseView();
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
  }
  void TearDown() override { Close(); }

  /// Draws the scene and returns the back buffer as 0x00RRGGBB, top row first.
  std::vector<DWORD> Draw(const Scene& s) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    for (DWORD i = 0; i < 8; ++i) device->LightEnable(i, FALSE);
    for (DWORD i = 0; i < s.lights.size(); ++i) {
      device->SetLight(i, &s.lights[i]);
      device->LightEnable(i, TRUE);
    }
    device->SetMaterial(&s.material);
    device->SetRenderState(D3DRS_AMBIENT, s.ambient);
    device->SetRenderState(D3DRS_SPECULARENABLE, s.specularOn);
    device->SetRenderState(D3DRS_LOCALVIEWER, s.localViewer);
    device->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, s.vertexColours ? D3DMCS_COLOR1 : D3DMCS_MATERIAL);
    device->SetRenderState(D3DRS_SPECULARMATERIALSOURCE, s.vertexColours ? D3DMCS_COLOR2 : D3DMCS_MATERIAL);
    std::vector<Vertex> vertices;
    for (const Probe& p : s.probes) {
      for (const V3 corner : {V3{0, 0, 0}, V3{5, 0, 0}, V3{0, -5, 0}}) {
        const V3 at = p.position + corner;
        vertices.push_back({at.x, at.y, at.z, p.normal.x, p.normal.y, p.normal.z, p.diffuse, p.specular});
      }
    }
    device->SetFVF(s.vertexColours ? kFvf : kFvfNoColour);
    if (s.vertexColours) {
      EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, UINT(s.probes.size()), vertices.data(), sizeof(Vertex)),
                D3D_OK);
    } else {
      // The same vertices without their colours: the material's are used.
      std::vector<float> plain;
      for (const Vertex& v : vertices) plain.insert(plain.end(), {v.x, v.y, v.z, v.nx, v.ny, v.nz});
      EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, UINT(s.probes.size()), plain.data(), 6 * sizeof(float)),
                D3D_OK);
    }
    IDirect3DSurface9* surface = nullptr;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface);
    std::vector<DWORD> pixels;
    D3DLOCKED_RECT locked{};
    if (SUCCEEDED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
      for (int y = 0; y < kHeight; ++y) {
        const auto* row = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch);
        for (int x = 0; x < kWidth; ++x) pixels.push_back(row[x] & 0xFFFFFF);
      }
      surface->UnlockRect();
    }
    surface->Release();
    return pixels;
  }

};

TEST_F(D3D9GlLighting, EveryProbeShowsDirect3DsLightingEquation) {
  device->SetRenderState(D3DRS_LIGHTING, TRUE);
  for (const Scene& s : Scenes()) {
    SCOPED_TRACE(s.name);
    const std::vector<DWORD> pixels = Draw(s);
    ASSERT_EQ(pixels.size(), std::size_t(kWidth * kHeight));
    int wrong = 0, lit = 0, dark = 0;
    for (std::size_t i = 0; i < s.probes.size(); ++i) {
      const int c = int(i) % kColumns, r = int(i) / kColumns;
      const auto [colour, specular] = Expected(s, s.probes[i]);
      const Rgb sum{std::min(colour.r + specular.r, 1.0f), std::min(colour.g + specular.g, 1.0f),
                    std::min(colour.b + specular.b, 1.0f)};
      const DWORD pixel = pixels[std::size_t((r * kSpacing + 1) * kWidth + c * kSpacing + 1)];
      const int want[3] = {int(sum.r * 255.0f + 0.5f), int(sum.g * 255.0f + 0.5f), int(sum.b * 255.0f + 0.5f)};
      const int have[3] = {int(pixel >> 16), int((pixel >> 8) & 0xFF), int(pixel & 0xFF)};
      bool near = true;
      for (int k = 0; k < 3; ++k) near = near && std::abs(want[k] - have[k]) <= 2;
      if (!near && ++wrong <= 5) {
        ADD_FAILURE() << "probe " << c << ", " << r << ": pixel " << have[0] << " " << have[1] << " " << have[2]
                      << ", equation " << want[0] << " " << want[1] << " " << want[2];
      }
      (want[0] + want[1] + want[2] > 3 * 60 ? lit : dark) += 1;
    }
    EXPECT_EQ(wrong, 0);
    // Each scene has both lit and unlit probes, so a light that did nothing (or lit
    // everything) would show.
    EXPECT_GT(lit, 0);
    EXPECT_GT(dark, 0);
  }
}

}  // namespace
