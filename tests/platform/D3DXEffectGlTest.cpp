// Effects on the OpenGL device, checked by the pixels their passes draw (Xvfb, Mesa).
#include "platform/d3d9.h"
#include "platform/d3dx9.h"
#include "tests/platform/GlDevice.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Vertex {  // FVF XYZ | DIFFUSE | TEX1
  float x, y, z;
  D3DCOLOR color;
  float u, v;
};

constexpr const char* kEffect = R"(float4x4 Wvp : WORLDVIEWPROJECTION;
float4 Colour = { 0.0, 1.0, 0.0, 1.0 };
texture Picture : TEXTURE0;

glsl Vertex {{
#version 120
uniform mat4 Wvp;
varying vec2 uv;
void main() { gl_Position = Wvp * gl_Vertex; uv = gl_MultiTexCoord0.xy; }
}}

glsl Flat {{
uniform vec4 Colour;
void main() { gl_FragColor = Colour; }
}}

glsl Textured {{
uniform sampler2D Picture;
varying vec2 uv;
void main() { gl_FragColor = texture2D(Picture, uv); }
}}

technique TFlat { pass { CullMode = None; VertexShader = Vertex; PixelShader = Flat; } }
technique TTextured { pass { CullMode = None; VertexShader = Vertex; PixelShader = Textured; } }
)";

class D3DXEffectGl : public ::testing::Test, protected test::GlDevice {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Open(32, 32, DepthStencil()));
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  }
  void TearDown() override {
    if (effect) effect->Release();
    Close();
  }

  HRESULT Create(const std::string& text, std::string* errors = nullptr) {
    dir.Write("t.fx", text);
    ID3DXBuffer* buffer = nullptr;
    const HRESULT result = D3DXCreateEffectFromFileA(device, "t.fx", nullptr, nullptr, 0, nullptr, &effect, &buffer);
    if (errors) *errors = buffer ? static_cast<const char*>(buffer->GetBufferPointer()) : "";
    if (buffer) buffer->Release();
    return result;
  }

  void DrawQuad(D3DCOLOR color) {
    const Vertex quad[] = {{-1, 1, 0.5f, color, 0, 0}, {1, 1, 0.5f, color, 1, 0}, {-1, -1, 0.5f, color, 0, 1},
                           {1, -1, 0.5f, color, 1, 1}};
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
  }

  /// Draws the quad through every pass of the current technique.
  void DrawThroughEffect() {
    UINT passes = 0;
    ASSERT_EQ(effect->Begin(&passes, 0), D3D_OK);
    for (UINT i = 0; i < passes; ++i) {
      effect->BeginPass(i);
      DrawQuad(0xFFFFFFFF);
      effect->EndPass();
    }
    effect->End();
  }

  DWORD Pixel(UINT x, UINT y) { return test::ReadBackBuffer(device).Rgb(x, y); }

  /// A 2 x 2 texture: red, blue on top; yellow, white below.
  IDirect3DTexture9* MakeTexture() {
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    D3DLOCKED_RECT locked{};
    texture->LockRect(0, &locked, nullptr, 0);
    auto* rows = static_cast<BYTE*>(locked.pBits);
    reinterpret_cast<DWORD*>(rows)[0] = 0xFFFF0000;
    reinterpret_cast<DWORD*>(rows)[1] = 0xFF0000FF;
    reinterpret_cast<DWORD*>(rows + locked.Pitch)[0] = 0xFFFFFF00;
    reinterpret_cast<DWORD*>(rows + locked.Pitch)[1] = 0xFFFFFFFF;
    texture->UnlockRect(0);
    return texture;
  }

  test::TempDir dir;
  ID3DXEffect* effect = nullptr;
};

D3DXMATRIX Identity() {
  D3DXMATRIX m{};
  for (int i = 0; i < 4; ++i) m.m[i][i] = 1.0f;
  return m;
}

TEST_F(D3DXEffectGl, PassesDrawWithTheirProgramsAndParameters) {
  std::string errors;
  ASSERT_EQ(Create(kEffect, &errors), D3D_OK) << errors;
  const D3DXMATRIX identity = Identity();
  effect->SetMatrix(effect->GetParameterBySemantic(nullptr, "WORLDVIEWPROJECTION"), &identity);
  device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
  DrawThroughEffect();
  EXPECT_EQ(Pixel(16, 16), 0x00FF00u);  // the initial colour

  const D3DXVECTOR4 blue{0, 0, 1, 1};
  effect->SetVector("Colour", &blue);
  DrawThroughEffect();
  EXPECT_EQ(Pixel(16, 16), 0x0000FFu);

  IDirect3DTexture9* texture = MakeTexture();
  effect->SetTexture("Picture", texture);
  ASSERT_EQ(effect->SetTechnique(effect->GetTechniqueByName("TTextured")), D3D_OK);
  DrawThroughEffect();
  EXPECT_EQ(Pixel(4, 4), 0xFF0000u);
  EXPECT_EQ(Pixel(28, 4), 0x0000FFu);
  EXPECT_EQ(Pixel(4, 28), 0xFFFF00u);
  texture->Release();
}

TEST_F(D3DXEffectGl, EndGivesTheFixedFunctionStagesBack) {
  ASSERT_EQ(Create(kEffect), D3D_OK);
  const D3DXMATRIX identity = Identity();
  effect->SetMatrix("Wvp", &identity);
  IDirect3DTexture9* texture = MakeTexture();
  effect->SetTexture("Picture", texture);
  effect->SetTechnique("TTextured");
  DrawThroughEffect();
  IDirect3DVertexShader9* shader = nullptr;
  device->GetVertexShader(&shader);
  EXPECT_EQ(shader, nullptr);
  DWORD op = 0;
  device->GetTextureStageState(0, D3DTSS_COLOROP, &op);
  EXPECT_EQ(op, DWORD(D3DTOP_MODULATE));
  IDirect3DBaseTexture9* bound = nullptr;
  device->GetTexture(0, &bound);
  EXPECT_EQ(bound, nullptr);
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);  // the vertex colour
  DrawQuad(0xFF808080);
  EXPECT_EQ(Pixel(16, 16), 0x808080u);
  texture->Release();
}

TEST_F(D3DXEffectGl, CompilerErrorsCarryTheEffectFileLine) {
  const std::string broken = std::string(kEffect).replace(std::string(kEffect).find("gl_FragColor = Colour;"), 22,
                                                          "gl_FragColor = Colour + missing;");
  std::string errors;
  EXPECT_EQ(Create(broken, &errors), E_FAIL);
  EXPECT_EQ(effect, nullptr);
  EXPECT_EQ(errors.rfind("t.fx(14): error", 0), 0u) << errors;
  EXPECT_NE(errors.find("missing"), std::string::npos) << errors;

  // Behind a #version line the count holds as well.
  const std::string vertexBroken = std::string(kEffect).replace(std::string(kEffect).find("uv = gl_Multi"), 2, "uw");
  EXPECT_EQ(Create(vertexBroken, &errors), E_FAIL);
  EXPECT_EQ(errors.rfind("t.fx(9): error", 0), 0u) << errors;
  // From GLSL 3.30 on, "#line" counts differently; the file's count still holds.
  EXPECT_EQ(Create("glsl V {{\n#version 330 compatibility\nvoid main() { gl_Position = gl_Vertex * nope; }\n}}\n"
                   "technique T { pass { VertexShader = V; } }\n",
                   &errors),
            E_FAIL);
  EXPECT_EQ(errors.rfind("t.fx(3): error", 0), 0u) << errors;
}

}  // namespace
