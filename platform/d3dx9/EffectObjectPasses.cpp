// The effect object: parameter values, techniques, and drawing through the passes.
#include "platform/d3dx9/EffectObject.h"

#include <algorithm>
#include <set>

namespace platform::d3dx9 {

EffectValue* Effect::NumericValue(D3DXHANDLE parameter, int minimum) {
  const int index = ParameterIndex(parameter);
  if (index < 0) return nullptr;
  const int floats = FloatCount(m_source->parameters[std::size_t(index)].type);
  return floats >= minimum && floats > 0 ? &m_values[std::size_t(index)] : nullptr;
}

HRESULT Effect::SetFloat(D3DXHANDLE parameter, float value) {
  EffectValue* target = NumericValue(parameter, 1);
  if (!target) return D3DERR_INVALIDCALL;
  target->floats[0] = value;
  return D3D_OK;
}

HRESULT Effect::GetFloat(D3DXHANDLE parameter, float* value) {
  EffectValue* source = NumericValue(parameter, 1);
  if (!source || !value) return D3DERR_INVALIDCALL;
  *value = source->floats[0];
  return D3D_OK;
}

HRESULT Effect::SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) {
  // A vector sets as many components as the parameter has (at most four).
  const int index = ParameterIndex(parameter);
  EffectValue* target = NumericValue(parameter, 1);
  if (!target || !vector) return D3DERR_INVALIDCALL;
  const int count = std::min(4, FloatCount(m_source->parameters[std::size_t(index)].type));
  const float components[4] = {vector->x, vector->y, vector->z, vector->w};
  std::copy(components, components + count, target->floats.begin());
  return D3D_OK;
}

HRESULT Effect::GetVector(D3DXHANDLE parameter, D3DXVECTOR4* vector) {
  EffectValue* source = NumericValue(parameter, 1);
  if (!source || !vector) return D3DERR_INVALIDCALL;
  *vector = {source->floats[0], source->floats[1], source->floats[2], source->floats[3]};
  return D3D_OK;
}

HRESULT Effect::SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) {
  EffectValue* target = NumericValue(parameter, 16);
  if (!target || !matrix) return D3DERR_INVALIDCALL;
  std::copy(&matrix->m[0][0], &matrix->m[0][0] + 16, target->floats.begin());
  return D3D_OK;
}

HRESULT Effect::GetMatrix(D3DXHANDLE parameter, D3DXMATRIX* matrix) {
  EffectValue* source = NumericValue(parameter, 16);
  if (!source || !matrix) return D3DERR_INVALIDCALL;
  std::copy(source->floats.begin(), source->floats.end(), &matrix->m[0][0]);
  return D3D_OK;
}

HRESULT Effect::SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) {
  const int index = ParameterIndex(parameter);
  if (index < 0 || m_source->parameters[std::size_t(index)].type != EffectValueType::Texture) {
    return D3DERR_INVALIDCALL;
  }
  EffectValue& value = m_values[std::size_t(index)];
  if (texture) texture->AddRef();
  if (value.texture) value.texture->Release();
  value.texture = texture;
  return D3D_OK;
}

HRESULT Effect::GetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9** texture) {
  const int index = ParameterIndex(parameter);
  if (index < 0 || !texture || m_source->parameters[std::size_t(index)].type != EffectValueType::Texture) {
    return D3DERR_INVALIDCALL;
  }
  *texture = m_values[std::size_t(index)].texture;
  if (*texture) (*texture)->AddRef();
  return D3D_OK;
}

HRESULT Effect::FindNextValidTechnique(D3DXHANDLE before, D3DXHANDLE* next) {
  if (!next) return D3DERR_INVALIDCALL;
  *next = nullptr;
  std::size_t start = 0;
  if (before) {
    const int index = TechniqueIndex(before);
    if (index < 0) return D3DERR_INVALIDCALL;
    start = std::size_t(index) + 1;
  }
  for (std::size_t i = start; i < m_source->techniques.size(); ++i) {
    if (!m_source->techniques[i].passes.empty()) {
      *next = m_source->techniques[i].name.c_str();
      return D3D_OK;
    }
  }
  return S_FALSE;
}

HRESULT Effect::ValidateTechnique(D3DXHANDLE technique) {
  const int index = TechniqueIndex(technique);
  if (index < 0 || m_source->techniques[std::size_t(index)].passes.empty()) return D3DERR_INVALIDCALL;
  return D3D_OK;
}

HRESULT Effect::SetTechnique(D3DXHANDLE technique) {
  const int index = TechniqueIndex(technique);
  if (index < 0 || m_begun) return D3DERR_INVALIDCALL;
  m_technique = index;
  return D3D_OK;
}

D3DXHANDLE Effect::GetCurrentTechnique() {
  return m_technique < 0 ? nullptr : m_source->techniques[std::size_t(m_technique)].name.c_str();
}

BOOL Effect::IsParameterUsed(D3DXHANDLE parameter, D3DXHANDLE technique) {
  const int p = ParameterIndex(parameter);
  const int t = TechniqueIndex(technique);
  if (p < 0 || t < 0) return FALSE;
  return m_source->TechniqueUses(m_source->techniques[std::size_t(t)], m_source->parameters[std::size_t(p)].name);
}

HRESULT Effect::Begin(UINT* passes, DWORD flags) {
  if (m_technique < 0 || m_begun) return D3DERR_INVALIDCALL;
  if (passes) *passes = UINT(m_source->techniques[std::size_t(m_technique)].passes.size());
  m_begun = true;
  m_saving = !(flags & D3DXFX_DONOTSAVESTATE);
  if (m_saving) SaveState();
  return D3D_OK;
}

HRESULT Effect::BeginPass(UINT pass) {
  // Begin succeeds only with a current technique.
  if (!m_begun || m_inPass) return D3DERR_INVALIDCALL;
  const EffectTechnique& technique = m_source->techniques[std::size_t(m_technique)];
  if (pass >= technique.passes.size()) return D3DERR_INVALIDCALL;
  for (const auto& assignment : technique.passes[pass].states) m_device->SetRenderState(assignment.state, assignment.value);
  if (const EffectProgram* program = Program(std::size_t(m_technique), pass)) {
    m_device->SetVertexShader(program->Shader());
    program->Apply(m_device, m_values);
  }
  m_inPass = true;
  m_pass = int(pass);
  return D3D_OK;
}

HRESULT Effect::CommitChanges() {
  if (!m_inPass) return D3DERR_INVALIDCALL;
  if (const EffectProgram* program = Program(std::size_t(m_technique), std::size_t(m_pass))) {
    program->Apply(m_device, m_values);
  }
  return D3D_OK;
}

HRESULT Effect::EndPass() {
  if (!m_inPass) return D3DERR_INVALIDCALL;
  m_inPass = false;
  m_pass = -1;
  return D3D_OK;
}

HRESULT Effect::End() {
  if (!m_begun) return D3DERR_INVALIDCALL;
  m_inPass = false;
  m_pass = -1;
  if (m_saving) RestoreState();
  m_begun = false;
  return D3D_OK;
}

void Effect::SaveState() {
  const auto technique = std::size_t(m_technique);
  std::set<DWORD> states;
  DWORD units = 0;
  for (std::size_t p = 0; p < m_source->techniques[technique].passes.size(); ++p) {
    for (const auto& assignment : m_source->techniques[technique].passes[p].states) states.insert(assignment.state);
    if (const EffectProgram* program = Program(technique, p)) {
      units = std::max(units, program->TextureUnits());
      m_saved.shaderSaved = true;
    }
  }
  for (DWORD state : states) {
    DWORD value = 0;
    m_device->GetRenderState(static_cast<D3DRENDERSTATETYPE>(state), &value);
    m_saved.render.emplace_back(static_cast<D3DRENDERSTATETYPE>(state), value);
  }
  for (DWORD unit = 0; unit < units; ++unit) {
    IDirect3DBaseTexture9* texture = nullptr;
    DWORD op = D3DTOP_DISABLE;
    m_device->GetTexture(unit, &texture);
    m_device->GetTextureStageState(unit, D3DTSS_COLOROP, &op);
    m_saved.textures.push_back(texture);
    m_saved.colorOps.push_back(op);
  }
  if (m_saved.shaderSaved) m_device->GetVertexShader(&m_saved.shader);
}

void Effect::RestoreState() {
  for (const auto& [state, value] : m_saved.render) m_device->SetRenderState(state, value);
  for (std::size_t unit = 0; unit < m_saved.textures.size(); ++unit) {
    m_device->SetTexture(DWORD(unit), m_saved.textures[unit]);
    m_device->SetTextureStageState(DWORD(unit), D3DTSS_COLOROP, m_saved.colorOps[unit]);
    if (m_saved.textures[unit]) m_saved.textures[unit]->Release();
  }
  if (m_saved.shaderSaved) {
    m_device->SetVertexShader(m_saved.shader);
    if (m_saved.shader) m_saved.shader->Release();
  }
  m_saved = SavedState{};
}

HRESULT Effect::OnLostDevice() { return D3D_OK; }  // GL programs and values survive a reset

HRESULT Effect::OnResetDevice() { return D3D_OK; }

}  // namespace platform::d3dx9
