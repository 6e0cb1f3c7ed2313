// Effects of the shader scripts' "fx" keyword: compiled once per file name, shared by
// the shaders that name the same file (each counts as a user), and the textures their
// "name" annotations ask for.
#include "core/ErrorLog.h"
#include "platform/d3dx9.h"
#include "platform/win32.h"
#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/TexInfo.h"
#include "render/TextureMng.h"
#include "render/TextureName.h"


namespace {

N_TextureMng* Textures() { return g_renderServices ? g_renderServices->textureMng : nullptr; }

/// The string of an annotation of the parameter, or null.
const char* StringAnnotation(ID3DXEffect* effect, D3DXHANDLE parameter, const char* name) {
  D3DXHANDLE annotation = effect->GetAnnotationByName(parameter, name);
  LPCSTR text = nullptr;
  if (!annotation || FAILED(effect->GetString(annotation, &text))) return nullptr;
  return text;
}

bool IsTextureType(D3DXPARAMETER_TYPE type) { return type >= D3DXPT_TEXTURE && type <= D3DXPT_TEXTURECUBE; }

/// Calls visit(parameter, texture name) for every parameter in index order that the
/// effect's current technique uses, whose type is a texture and that has a "name".
template <class Visit>
void ForEachNamedTexture(ID3DXEffect* effect, Visit visit) {
  D3DXHANDLE technique = effect->GetCurrentTechnique();
  D3DXEFFECT_DESC desc{};
  if (!technique || FAILED(effect->GetDesc(&desc))) return;
  for (UINT i = 0; i < desc.Parameters; ++i) {
    D3DXHANDLE parameter = effect->GetParameter(nullptr, i);
    D3DXPARAMETER_DESC parameterDesc{};
    if (!parameter || !effect->IsParameterUsed(parameter, technique) ||
        FAILED(effect->GetParameterDesc(parameter, &parameterDesc)) || !IsTextureType(parameterDesc.Type)) {
      continue;
    }
    if (const char* name = StringAnnotation(effect, parameter, "name")) visit(parameter, name);
  }
}

}  // namespace

ID3DXEffect* N_Render::CreateEffect(const char* fileName) {
  if (!fileName) return nullptr;
  if (auto found = m_effects.find(fileName); found != m_effects.end()) {
    ++found->second.users;
    return found->second.effect;
  }
  ID3DXEffect* effect = nullptr;
  ID3DXBuffer* errors = nullptr;
  if (!m_device ||
      FAILED(D3DXCreateEffectFromFileA(m_device, fileName, nullptr, nullptr, 0, nullptr, &effect, &errors))) {
    effect = nullptr;
  }
  EffectEntry* entry = nullptr;
  if (effect) {
    D3DXHANDLE technique = nullptr;
    if (effect->FindNextValidTechnique(nullptr, &technique) == D3D_OK && technique) {
      effect->SetTechnique(technique);
      D3DXTECHNIQUE_DESC desc{};
      effect->GetTechniqueDesc(technique, &desc);
      RenderPrint("Effect '%s' compiled\n", fileName);
      RenderPrint("Valid technique '%s'\n", desc.Name);
    }
    entry = &m_effects[fileName];
    *entry = EffectEntry{effect, 1, {}};
  }
  if (errors) {
    // Warnings come back with a compiled effect too; either way they are logged.
    RenderPrint("Errors:\n%s\n", static_cast<const char*>(errors->GetBufferPointer()));
    errors->Release();
  }
  if (entry) AddEffectTextures(*entry);
  return effect;
}

void N_Render::AddEffectTextures(EffectEntry& entry) {
  N_TextureMng* textures = Textures();
  if (!textures) return;
  ForEachNamedTexture(entry.effect, [&](D3DXHANDLE parameter, const char* name) {
    std::uint32_t kind = 0;
    if (const char* type = StringAnnotation(entry.effect, parameter, "type")) {
      if (platform::EqualsNoCase(type, "cube")) kind = 1;
      if (platform::EqualsNoCase(type, "volume")) kind = 2;
    }
    if (TexInfo* record = textures->AddTexture(name, 0, kind)) entry.textures.push_back(record);
  });
}

void N_Render::DestroyEffect(ID3DXEffect** effect) {
  if (!effect || !*effect) return;
  for (auto it = m_effects.begin(); it != m_effects.end(); ++it) {
    if (it->second.effect != *effect) continue;
    if (--it->second.users == 0) {
      ReleaseEffect(it->second);
      m_effects.erase(it);
    }
    break;
  }
  *effect = nullptr;
}

void N_Render::ReleaseEffect(EffectEntry& entry) {
  if (N_TextureMng* textures = Textures()) {
    for (TexInfo* record : entry.textures) textures->ReleaseTexture(record);
  }
  entry.textures.clear();
  entry.effect->Release();
  entry.effect = nullptr;
}

void N_Render::ReleaseEffects() {
  for (auto& [name, entry] : m_effects) ReleaseEffect(entry);
  m_effects.clear();
}

void N_Render::NotifyEffects(bool reset) {
  for (auto& [name, entry] : m_effects) reset ? entry.effect->OnResetDevice() : entry.effect->OnLostDevice();
}

std::uint32_t N_Render::EffectUsers(const ID3DXEffect* effect) const {
  for (const auto& [name, entry] : m_effects) {
    if (entry.effect == effect) return entry.users;
  }
  return 0;
}

void N_Render::LoadEffectTextures() {
  N_TextureMng* textures = Textures();
  if (!textures) return;
  for (auto& [fileName, entry] : m_effects) {
    ID3DXEffect* effect = entry.effect;
    ForEachNamedTexture(effect, [&](D3DXHANDLE parameter, const char* name) {
      // Looked up as it was added: without its extension.
      if (TexInfo* record = textures->FindTexture(CutTextureExtension(name).c_str())) {
        effect->SetTexture(parameter, platform::TextureFromHandle(record->texture));
      }
    });
  }
}
