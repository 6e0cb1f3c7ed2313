#include "platform/d3dx9/EffectObject.h"

#include "platform/win32/Files.h"

#include <algorithm>

namespace platform::d3dx9 {

namespace {

/// The index of the named entry whose name is the handle (the same text object), or
/// else whose name equals it; -1 when none.
template <class Entry>
int FindByHandle(const std::vector<Entry>& entries, D3DXHANDLE handle) {
  if (!handle) return -1;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].name.c_str() == handle) return int(i);
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].name == handle) return int(i);
  }
  return -1;
}

D3DXPARAMETER_TYPE TypeOf(EffectValueType type) {
  switch (type) {
    case EffectValueType::Bool: return D3DXPT_BOOL;
    case EffectValueType::Int: return D3DXPT_INT;
    case EffectValueType::Texture: return D3DXPT_TEXTURE;
    case EffectValueType::String: return D3DXPT_STRING;
    default: return D3DXPT_FLOAT;
  }
}

D3DXPARAMETER_CLASS ClassOf(EffectValueType type) {
  switch (type) {
    case EffectValueType::Float2:
    case EffectValueType::Float3:
    case EffectValueType::Float4: return D3DXPC_VECTOR;
    case EffectValueType::Float4x4: return D3DXPC_MATRIX_ROWS;
    case EffectValueType::Texture:
    case EffectValueType::String: return D3DXPC_OBJECT;
    default: return D3DXPC_SCALAR;
  }
}

}  // namespace

Effect* Effect::Create(IDirect3DDevice9* device, std::unique_ptr<const EffectSource> source,
                       EffectMessages& messages) {
  auto* effect = new Effect(device, std::move(source));
  if (!effect->CompilePrograms(messages)) {
    effect->Release();
    return nullptr;
  }
  return effect;
}

Effect::Effect(IDirect3DDevice9* device, std::unique_ptr<const EffectSource> source)
    : m_device(device), m_source(std::move(source)) {
  m_device->AddRef();
  m_values.resize(m_source->parameters.size());
  for (std::size_t i = 0; i < m_values.size(); ++i) {
    const auto& initial = m_source->parameters[i].initial;
    std::copy(initial.begin(), initial.end(), m_values[i].floats.begin());
  }
  if (!m_source->techniques.empty()) m_technique = 0;
}

Effect::~Effect() {
  if (m_begun) End();
  for (auto& value : m_values) {
    if (value.texture) value.texture->Release();
  }
  m_programs.clear();
  m_device->Release();
}

bool Effect::CompilePrograms(EffectMessages& messages) {
  m_programs.resize(m_source->techniques.size());
  for (std::size_t t = 0; t < m_source->techniques.size(); ++t) {
    for (const auto& pass : m_source->techniques[t].passes) {
      m_programs[t].push_back(EffectProgram::Compile(m_device, *m_source, pass, messages));
      if (messages.HasErrors()) return false;
    }
  }
  return true;
}

int Effect::ParameterIndex(D3DXHANDLE handle) const { return FindByHandle(m_source->parameters, handle); }

int Effect::TechniqueIndex(D3DXHANDLE handle) const { return FindByHandle(m_source->techniques, handle); }

const EffectProgram* Effect::Program(std::size_t technique, std::size_t pass) const {
  return m_programs[technique][pass].get();
}

HRESULT Effect::GetDevice(IDirect3DDevice9** device) {
  if (!device) return D3DERR_INVALIDCALL;
  m_device->AddRef();
  *device = m_device;
  return D3D_OK;
}

HRESULT Effect::GetDesc(D3DXEFFECT_DESC* desc) {
  if (!desc) return D3DERR_INVALIDCALL;
  *desc = {"navo effect compiler", UINT(m_source->parameters.size()), UINT(m_source->techniques.size()),
           UINT(m_source->programs.size())};
  return D3D_OK;
}

HRESULT Effect::GetParameterDesc(D3DXHANDLE parameter, D3DXPARAMETER_DESC* desc) {
  const int index = ParameterIndex(parameter);
  if (index < 0 || !desc) return D3DERR_INVALIDCALL;
  const EffectParameter& p = m_source->parameters[std::size_t(index)];
  const auto floats = UINT(FloatCount(p.type));
  *desc = {};
  desc->Name = p.name.c_str();
  desc->Semantic = p.semantic.empty() ? nullptr : p.semantic.c_str();
  desc->Class = ClassOf(p.type);
  desc->Type = TypeOf(p.type);
  desc->Rows = p.type == EffectValueType::Float4x4 ? 4 : floats > 0 ? 1 : 0;
  desc->Columns = p.type == EffectValueType::Float4x4 ? 4 : floats;
  desc->Annotations = UINT(p.annotations.size());
  desc->Bytes = floats * 4;
  return D3D_OK;
}

HRESULT Effect::GetTechniqueDesc(D3DXHANDLE technique, D3DXTECHNIQUE_DESC* desc) {
  const int index = TechniqueIndex(technique);
  if (index < 0 || !desc) return D3DERR_INVALIDCALL;
  const EffectTechnique& t = m_source->techniques[std::size_t(index)];
  *desc = {t.name.c_str(), UINT(t.passes.size()), UINT(t.annotations.size())};
  return D3D_OK;
}

D3DXHANDLE Effect::GetParameter(D3DXHANDLE parent, UINT index) {
  if (parent || index >= m_source->parameters.size()) return nullptr;
  return m_source->parameters[index].name.c_str();
}

D3DXHANDLE Effect::GetParameterByName(D3DXHANDLE parent, LPCSTR name) {
  if (parent || !name) return nullptr;
  const int index = FindByHandle(m_source->parameters, name);
  return index < 0 ? nullptr : m_source->parameters[std::size_t(index)].name.c_str();
}

D3DXHANDLE Effect::GetParameterBySemantic(D3DXHANDLE parent, LPCSTR semantic) {
  if (parent || !semantic) return nullptr;
  for (const auto& p : m_source->parameters) {
    if (!p.semantic.empty() && platform::EqualsNoCase(semantic, p.semantic)) return p.name.c_str();
  }
  return nullptr;
}

const std::vector<EffectAnnotation>* Effect::AnnotationsOf(D3DXHANDLE object) const {
  if (const int p = ParameterIndex(object); p >= 0) return &m_source->parameters[std::size_t(p)].annotations;
  if (const int t = TechniqueIndex(object); t >= 0) return &m_source->techniques[std::size_t(t)].annotations;
  for (const auto& technique : m_source->techniques) {
    for (const auto& pass : technique.passes) {
      if (pass.name.c_str() == object) return &pass.annotations;
    }
  }
  return nullptr;
}

D3DXHANDLE Effect::GetAnnotationByName(D3DXHANDLE object, LPCSTR name) {
  const auto* annotations = AnnotationsOf(object);
  if (!annotations || !name) return nullptr;
  for (const auto& annotation : *annotations) {
    if (annotation.name == name) return annotation.name.c_str();
  }
  return nullptr;
}

const EffectAnnotation* Effect::FindAnnotation(D3DXHANDLE handle) const {
  auto find = [handle](const std::vector<EffectAnnotation>& annotations) -> const EffectAnnotation* {
    for (const auto& annotation : annotations) {
      if (annotation.name.c_str() == handle) return &annotation;
    }
    return nullptr;
  };
  for (const auto& p : m_source->parameters) {
    if (const auto* found = find(p.annotations)) return found;
  }
  for (const auto& t : m_source->techniques) {
    if (const auto* found = find(t.annotations)) return found;
    for (const auto& pass : t.passes) {
      if (const auto* found = find(pass.annotations)) return found;
    }
  }
  return nullptr;
}

HRESULT Effect::GetString(D3DXHANDLE object, LPCSTR* text) {
  const EffectAnnotation* annotation = object ? FindAnnotation(object) : nullptr;
  if (!annotation || annotation->type != EffectValueType::String || !text) return D3DERR_INVALIDCALL;
  *text = annotation->text.c_str();
  return D3D_OK;
}

D3DXHANDLE Effect::GetTechnique(UINT index) {
  return index < m_source->techniques.size() ? m_source->techniques[index].name.c_str() : nullptr;
}

D3DXHANDLE Effect::GetTechniqueByName(LPCSTR name) {
  const int index = name ? FindByHandle(m_source->techniques, name) : -1;
  return index < 0 ? nullptr : m_source->techniques[std::size_t(index)].name.c_str();
}

}  // namespace platform::d3dx9
