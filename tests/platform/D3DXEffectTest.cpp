// Effect files: the reader's results and messages, and the effect object's
// parameters, techniques and state handling on the recording device.
#include "platform/d3d9/RecordingDevice.h"
#include "platform/d3dx9.h"
#include "platform/d3dx9/EffectSource.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::d3dx9::EffectMessages;
using platform::d3dx9::EffectValueType;
using platform::d3dx9::ParseEffect;

constexpr const char* kEffect = R"(// two techniques over one program pair
float4x4 Wvp : WORLDVIEWPROJECTION;
float3 Tint : tint = { 1, 0.5, 0.25 };
bool Flag = true;
texture Base : TEXTURE0;
texture Cube < string name = "textures\sky\cube"; string type = "CUBE"; int weight = 3; >;

glsl Vertex {{
#version 120
uniform mat4 Wvp;
void main() { gl_Position = Wvp * gl_Vertex; }
}}

glsl Fragment {{
uniform sampler2D Base;
uniform vec3 Tint;
void main() { gl_FragColor = texture2D(Base, vec2(0.5)) * vec4(Tint, 1.0); }
}}

technique Empty < string note = "no passes"; > {
}

technique Plain {
  pass P0 {
    cullmode = none;
    ZWriteEnable = False;
    SrcBlend = SrcAlpha;
    AlphaRef = 0x80;
    VertexShader = Vertex;
    PixelShader = Fragment;
  }
  pass { AlphaBlendEnable = True; }
}
)";

EffectMessages Messages() { return EffectMessages("test.fx"); }

TEST(EffectFile, ReadsParametersProgramsAndTechniques) {
  EffectMessages messages = Messages();
  const auto source = ParseEffect(kEffect, messages);
  ASSERT_FALSE(messages.HasErrors()) << messages.Text();
  EXPECT_EQ(messages.Text(), "");
  ASSERT_EQ(source.parameters.size(), 5u);
  EXPECT_EQ(source.parameters[0].semantic, "WORLDVIEWPROJECTION");
  EXPECT_EQ(source.parameters[0].type, EffectValueType::Float4x4);
  EXPECT_EQ(source.parameters[0].initial.size(), 16u);
  EXPECT_EQ(source.parameters[1].initial, (std::vector<float>{1.0f, 0.5f, 0.25f}));
  EXPECT_EQ(source.parameters[2].initial, (std::vector<float>{1.0f}));
  const auto& cube = source.parameters[4];
  ASSERT_EQ(cube.annotations.size(), 3u);
  EXPECT_EQ(cube.annotations[0].text, "textures\\sky\\cube");
  EXPECT_EQ(cube.annotations[1].text, "CUBE");
  EXPECT_EQ(cube.annotations[2].numbers, (std::vector<float>{3.0f}));

  ASSERT_EQ(source.programs.size(), 2u);
  EXPECT_EQ(source.programs[0].firstLine, 9);
  EXPECT_EQ(source.programs[0].text.substr(0, 13), "#version 120\n");
  ASSERT_EQ(source.techniques.size(), 2u);
  EXPECT_TRUE(source.techniques[0].passes.empty());
  const auto& plain = source.techniques[1];
  ASSERT_EQ(plain.passes.size(), 2u);
  EXPECT_EQ(plain.passes[0].vertexProgram, 0);
  EXPECT_EQ(plain.passes[0].fragmentProgram, 1);
  EXPECT_EQ(plain.passes[1].vertexProgram, -1);
  ASSERT_EQ(plain.passes[0].states.size(), 4u);
  EXPECT_EQ(plain.passes[0].states[0].state, D3DRS_CULLMODE);
  EXPECT_EQ(plain.passes[0].states[0].value, DWORD(D3DCULL_NONE));
  EXPECT_EQ(plain.passes[0].states[1].value, 0u);
  EXPECT_EQ(plain.passes[0].states[2].value, DWORD(D3DBLEND_SRCALPHA));
  EXPECT_EQ(plain.passes[0].states[3].value, 0x80u);
  // Uses are whole identifiers of the technique's programs.
  EXPECT_TRUE(source.TechniqueUses(plain, "Tint"));
  EXPECT_TRUE(source.TechniqueUses(plain, "Base"));
  EXPECT_FALSE(source.TechniqueUses(plain, "Cube"));
  EXPECT_FALSE(source.TechniqueUses(plain, "Wv"));
  EXPECT_FALSE(source.TechniqueUses(source.techniques[0], "Tint"));
}

TEST(EffectFile, ErrorsNameTheFileAndLine) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"float4 A;\nfloat5 B;\n", "test.fx(2): error: unknown type 'float5'"},
      {"float A\nfloat B;\n", "test.fx(2): error: ';' expected, found 'float'"},
      {"float A = { 1, 2 };", "test.fx(1): error: 'A' needs 1 values, 2 given"},
      {"texture T = 1;", "test.fx(1): error: a texture takes no initial value"},
      {"float A;\n\nfloat A;", "test.fx(3): error: parameter 'A' declared twice"},
      {"technique T {\n pass { ZWrite = True; }\n}", "test.fx(2): error: unknown render state 'ZWrite'"},
      {"technique T {\n pass {\n CullMode = Sideways; } }", "test.fx(3): error: 'Sideways' is not a value of CullMode"},
      {"technique T { pass { VertexShader = Missing; } }", "test.fx(1): error: unknown program 'Missing'"},
      {"glsl F {{\nvoid main() {}\n}}\ntechnique T {\n pass { PixelShader = F; } }",
       "test.fx(5): error: a pass with a PixelShader needs a VertexShader"},
      {"glsl V {{\nvoid main() {}\n", "test.fx(1): error: program block not closed with '}}'"},
      {"glsl V {{ void main() {}\n}}", "test.fx(1): error: the program starts on the line after '{{'"},
      {"glsl V\nvoid main() {}", "test.fx(2): error: '{{' expected after the program name"},
      {"float A; /* open\n\n", "test.fx(3): error: comment not closed with '*/'"},
      {"texture T < string name = \"open; >;", "test.fx(1): error: string not closed on its line"},
      {"technique T {\n pass {\n", "test.fx(3): error: '}' expected, found the end of the file"},
      {"float A = 1x;", "test.fx(1): error: malformed number '1'"},
      {"technique T { pass { } }\ntechnique T { }", "test.fx(2): error: technique 'T' declared twice"},
  };
  for (const Case& c : cases) {
    EffectMessages messages = Messages();
    ParseEffect(c.text, messages);
    EXPECT_TRUE(messages.HasErrors()) << c.text;
    EXPECT_EQ(messages.Text(), std::string(c.message) + "\n") << c.text;
  }
}

TEST(EffectFile, AStateSetTwiceWarnsAndKeepsTheLastValue) {
  EffectMessages messages = Messages();
  const auto source = ParseEffect("technique T {\n pass {\n  ZFunc = Less;\n  ZFunc = Always;\n }\n}", messages);
  EXPECT_FALSE(messages.HasErrors());
  EXPECT_EQ(messages.Text(), "test.fx(4): warning: ZFunc set twice in one pass; the last value holds\n");
  ASSERT_EQ(source.techniques.at(0).passes.at(0).states.size(), 1u);
  EXPECT_EQ(source.techniques[0].passes[0].states[0].value, DWORD(D3DCMP_ALWAYS));
}

TEST(EffectFile, EveryTruncationOfAGoodFileGivesAtMostOneError) {
  const std::string text = kEffect;
  int failed = 0;
  for (std::size_t length = 0; length < text.size(); ++length) {
    EffectMessages messages = Messages();
    ParseEffect(std::string_view(text).substr(0, length), messages);
    const std::string& lines = messages.Text();
    const auto first = lines.find(": error: ");
    EXPECT_EQ(first == std::string::npos ? first : lines.find(": error: ", first + 1), std::string::npos) << lines;
    failed += messages.HasErrors();
  }
  EXPECT_GT(failed, int(text.size()) / 2);  // most cuts leave something open
}

TEST(EffectFile, TheSampleGearEffectReads) {
  std::string text;
  std::FILE* file = std::fopen((test::GameRoot() + "/data/effects/gear.fx").c_str(), "rb");
  ASSERT_NE(file, nullptr);
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);
  EffectMessages messages("data\\effects\\gear.fx");
  const auto source = ParseEffect(text, messages);
  ASSERT_FALSE(messages.HasErrors()) << messages.Text();
  ASSERT_EQ(source.techniques.size(), 2u);
  EXPECT_EQ(source.techniques[0].name, "TTextureOnly");
  EXPECT_EQ(source.techniques[1].name, "TGlowAndTexture");
  EXPECT_TRUE(source.TechniqueUses(source.techniques[0], "GearRamps"));
  EXPECT_TRUE(source.TechniqueUses(source.techniques[1], "GearRamps"));
  EXPECT_FALSE(source.TechniqueUses(source.techniques[0], "GlowColour"));
}

/// Effects on the recording device, from files in a fresh directory.
class D3DXEffect : public ::testing::Test {
 protected:
  D3DXEffect() {
    D3DPRESENT_PARAMETERS params{};
    params.Windowed = TRUE;
    device = new platform::d3d9::RecordingDevice(platform::d3d9::DefaultRecordingDeviceConfig(), params);
  }
  ~D3DXEffect() override {
    if (effect) effect->Release();
    device->Release();
  }

  HRESULT Create(const std::string& text, std::string* errors = nullptr) {
    dir.Write("data/effects/t.fx", text);
    ID3DXBuffer* buffer = nullptr;
    const HRESULT result =
        D3DXCreateEffectFromFileA(device, "Data\\Effects\\T.fx", nullptr, nullptr, 0, nullptr, &effect, &buffer);
    if (errors) *errors = buffer ? static_cast<const char*>(buffer->GetBufferPointer()) : "";
    if (buffer) buffer->Release();
    return result;
  }

  test::TempDir dir;
  platform::d3d9::RecordingDevice* device;
  ID3DXEffect* effect = nullptr;
};

TEST_F(D3DXEffect, HandlesDescriptionsAndAnnotations) {
  ASSERT_EQ(Create(kEffect), D3D_OK);
  ASSERT_NE(effect, nullptr);
  D3DXEFFECT_DESC desc{};
  ASSERT_EQ(effect->GetDesc(&desc), D3D_OK);
  EXPECT_EQ(desc.Parameters, 5u);
  EXPECT_EQ(desc.Techniques, 2u);

  D3DXHANDLE wvp = effect->GetParameterBySemantic(nullptr, "WorldViewProjection");
  ASSERT_NE(wvp, nullptr);
  EXPECT_EQ(wvp, effect->GetParameter(nullptr, 0));
  EXPECT_EQ(effect->GetParameterByName(nullptr, "Cube"), effect->GetParameter(nullptr, 4));
  EXPECT_EQ(effect->GetParameterBySemantic(nullptr, "FOGPARAMS"), nullptr);
  EXPECT_EQ(effect->GetParameter(nullptr, 5), nullptr);

  D3DXPARAMETER_DESC p{};
  ASSERT_EQ(effect->GetParameterDesc(effect->GetParameter(nullptr, 4), &p), D3D_OK);
  EXPECT_STREQ(p.Name, "Cube");
  EXPECT_EQ(p.Semantic, nullptr);
  EXPECT_EQ(p.Type, D3DXPT_TEXTURE);
  EXPECT_EQ(p.Annotations, 3u);
  ASSERT_EQ(effect->GetParameterDesc(wvp, &p), D3D_OK);
  EXPECT_EQ(p.Class, D3DXPC_MATRIX_ROWS);
  EXPECT_EQ(p.Bytes, 64u);

  LPCSTR text = nullptr;
  D3DXHANDLE name = effect->GetAnnotationByName(effect->GetParameter(nullptr, 4), "name");
  ASSERT_EQ(effect->GetString(name, &text), D3D_OK);
  EXPECT_STREQ(text, "textures\\sky\\cube");
  EXPECT_EQ(effect->GetString(effect->GetAnnotationByName("Cube", "weight"), &text), D3DERR_INVALIDCALL);
  EXPECT_EQ(effect->GetAnnotationByName("Cube", "missing"), nullptr);
  EXPECT_NE(effect->GetAnnotationByName(effect->GetTechnique(0), "note"), nullptr);

  EXPECT_TRUE(effect->IsParameterUsed("Tint", effect->GetTechniqueByName("Plain")));
  EXPECT_FALSE(effect->IsParameterUsed("Cube", "Plain"));
}

TEST_F(D3DXEffect, TechniquesValidOnlyWithPasses) {
  ASSERT_EQ(Create(kEffect), D3D_OK);
  EXPECT_EQ(effect->GetCurrentTechnique(), effect->GetTechnique(0));  // the first, even without passes
  D3DXHANDLE valid = nullptr;
  ASSERT_EQ(effect->FindNextValidTechnique(nullptr, &valid), D3D_OK);
  EXPECT_EQ(valid, effect->GetTechniqueByName("Plain"));
  EXPECT_EQ(effect->FindNextValidTechnique(valid, &valid), S_FALSE);
  EXPECT_EQ(valid, nullptr);
  EXPECT_EQ(effect->ValidateTechnique("Empty"), D3DERR_INVALIDCALL);
  EXPECT_EQ(effect->SetTechnique("Plain"), D3D_OK);
  D3DXTECHNIQUE_DESC desc{};
  ASSERT_EQ(effect->GetTechniqueDesc(effect->GetCurrentTechnique(), &desc), D3D_OK);
  EXPECT_STREQ(desc.Name, "Plain");
  EXPECT_EQ(desc.Passes, 2u);
  EXPECT_EQ(effect->SetTechnique("Nothing"), D3DERR_INVALIDCALL);
  EXPECT_EQ(effect->GetTechniqueByName("Nothing"), nullptr);
}

TEST_F(D3DXEffect, ValuesByTypeAndTextureReferences) {
  ASSERT_EQ(Create(kEffect), D3D_OK);
  D3DXVECTOR4 v{};
  ASSERT_EQ(effect->GetVector("Tint", &v), D3D_OK);  // the initial value
  EXPECT_EQ(v.y, 0.5f);
  const D3DXVECTOR4 set{7, 8, 9, 10};
  ASSERT_EQ(effect->SetVector("Tint", &set), D3D_OK);
  ASSERT_EQ(effect->GetVector("Tint", &v), D3D_OK);
  EXPECT_EQ(v.z, 9.0f);
  EXPECT_EQ(v.w, 0.0f);  // a float3 keeps three
  EXPECT_EQ(effect->SetFloat("Base", 1.0f), D3DERR_INVALIDCALL);
  D3DXMATRIX m{};
  EXPECT_EQ(effect->SetMatrix("Tint", &m), D3DERR_INVALIDCALL);
  m.m[3][0] = 5.0f;
  ASSERT_EQ(effect->SetMatrix("Wvp", &m), D3D_OK);
  D3DXMATRIX back{};
  ASSERT_EQ(effect->GetMatrix("Wvp", &back), D3D_OK);
  EXPECT_EQ(back.m[3][0], 5.0f);

  IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
  ASSERT_EQ(effect->SetTexture("Base", texture), D3D_OK);
  EXPECT_EQ(texture->AddRef(), 3u);  // ours, the effect's and this one
  texture->Release();
  effect->Release();
  effect = nullptr;
  EXPECT_EQ(texture->Release(), 0u);  // the effect let its reference go
}

TEST_F(D3DXEffect, BeginSavesWhatThePassesChangeAndEndRestoresIt) {
  ASSERT_EQ(Create(kEffect), D3D_OK);
  ASSERT_EQ(effect->SetTechnique("Plain"), D3D_OK);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  UINT passes = 0;
  ASSERT_EQ(effect->Begin(&passes, 0), D3D_OK);
  EXPECT_EQ(passes, 2u);
  EXPECT_EQ(effect->SetTechnique("Empty"), D3DERR_INVALIDCALL);  // not while begun
  ASSERT_EQ(effect->BeginPass(0), D3D_OK);
  EXPECT_EQ(effect->BeginPass(1), D3DERR_INVALIDCALL);  // the first pass is still open
  DWORD value = 0;
  device->GetRenderState(D3DRS_CULLMODE, &value);
  EXPECT_EQ(value, DWORD(D3DCULL_NONE));
  device->GetRenderState(D3DRS_ALPHAREF, &value);
  EXPECT_EQ(value, 0x80u);
  ASSERT_EQ(effect->EndPass(), D3D_OK);
  ASSERT_EQ(effect->BeginPass(1), D3D_OK);
  device->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
  EXPECT_EQ(value, DWORD(TRUE));
  ASSERT_EQ(effect->EndPass(), D3D_OK);
  ASSERT_EQ(effect->End(), D3D_OK);
  device->GetRenderState(D3DRS_CULLMODE, &value);
  EXPECT_EQ(value, DWORD(D3DCULL_CW));
  device->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
  EXPECT_EQ(value, DWORD(FALSE));
  device->GetRenderState(D3DRS_ALPHAREF, &value);
  EXPECT_EQ(value, 0u);
  EXPECT_EQ(effect->End(), D3DERR_INVALIDCALL);

  ASSERT_EQ(effect->Begin(&passes, D3DXFX_DONOTSAVESTATE), D3D_OK);
  ASSERT_EQ(effect->BeginPass(0), D3D_OK);
  effect->EndPass();
  effect->End();
  device->GetRenderState(D3DRS_CULLMODE, &value);
  EXPECT_EQ(value, DWORD(D3DCULL_NONE));
}

TEST_F(D3DXEffect, FailuresGiveNoEffectAndTheirMessages) {
  std::string errors;
  EXPECT_EQ(Create("float A\n", &errors), E_FAIL);
  EXPECT_EQ(effect, nullptr);
  EXPECT_EQ(errors, "Data\\Effects\\T.fx(2): error: ';' expected, found the end of the file\n");

  ID3DXBuffer* buffer = nullptr;
  EXPECT_EQ(D3DXCreateEffectFromFileA(device, "data\\effects\\none.fx", nullptr, nullptr, 0, nullptr, &effect, &buffer),
            E_FAIL);
  ASSERT_NE(buffer, nullptr);
  EXPECT_STREQ(static_cast<const char*>(buffer->GetBufferPointer()),
               "data\\effects\\none.fx: error: the file cannot be read\n");
  buffer->Release();

  // A clean file gives no buffer; one with warnings gives the warnings.
  EXPECT_EQ(Create("float A;", &errors), D3D_OK);
  EXPECT_EQ(errors, "");
  effect->Release();
  effect = nullptr;
  EXPECT_EQ(Create("technique T { pass { ZFunc = Less; ZFunc = Less; } }", &errors), D3D_OK);
  EXPECT_NE(effect, nullptr);
  EXPECT_NE(errors.find("warning: ZFunc set twice"), std::string::npos);
}

}  // namespace
