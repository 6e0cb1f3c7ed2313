#pragma once
// Inside the layer: the effect object behind ID3DXEffect. It owns the file as read
// (never changed after creation, so the handles, which point at its names, stay
// valid), the parameters' values and the compiled programs of every pass.
#include "platform/d3d9/Common.h"
#include "platform/d3dx9/Effect.h"
#include "platform/d3dx9/EffectProgram.h"

#include <memory>
#include <utility>
#include <vector>

namespace platform::d3dx9 {

class Effect final : public d3d9::RefCounted<ID3DXEffect> {
 public:
  /// Compiles the pass programs of the source on the device; null with the errors in
  /// messages when one does not compile.
  static Effect* Create(IDirect3DDevice9* device, std::unique_ptr<const EffectSource> source,
                        EffectMessages& messages);
  ~Effect() override;

  HRESULT GetDevice(IDirect3DDevice9** device) override;
  HRESULT GetDesc(D3DXEFFECT_DESC* desc) override;
  HRESULT GetParameterDesc(D3DXHANDLE parameter, D3DXPARAMETER_DESC* desc) override;
  HRESULT GetTechniqueDesc(D3DXHANDLE technique, D3DXTECHNIQUE_DESC* desc) override;
  D3DXHANDLE GetParameter(D3DXHANDLE parent, UINT index) override;
  D3DXHANDLE GetParameterByName(D3DXHANDLE parent, LPCSTR name) override;
  D3DXHANDLE GetParameterBySemantic(D3DXHANDLE parent, LPCSTR semantic) override;
  D3DXHANDLE GetAnnotationByName(D3DXHANDLE object, LPCSTR name) override;
  D3DXHANDLE GetTechnique(UINT index) override;
  D3DXHANDLE GetTechniqueByName(LPCSTR name) override;
  HRESULT SetFloat(D3DXHANDLE parameter, float value) override;
  HRESULT GetFloat(D3DXHANDLE parameter, float* value) override;
  HRESULT SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) override;
  HRESULT GetVector(D3DXHANDLE parameter, D3DXVECTOR4* vector) override;
  HRESULT SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) override;
  HRESULT GetMatrix(D3DXHANDLE parameter, D3DXMATRIX* matrix) override;
  HRESULT SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) override;
  HRESULT GetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9** texture) override;
  HRESULT GetString(D3DXHANDLE object, LPCSTR* text) override;
  HRESULT FindNextValidTechnique(D3DXHANDLE before, D3DXHANDLE* next) override;
  HRESULT ValidateTechnique(D3DXHANDLE technique) override;
  HRESULT SetTechnique(D3DXHANDLE technique) override;
  D3DXHANDLE GetCurrentTechnique() override;
  BOOL IsParameterUsed(D3DXHANDLE parameter, D3DXHANDLE technique) override;
  HRESULT Begin(UINT* passes, DWORD flags) override;
  HRESULT BeginPass(UINT pass) override;
  HRESULT CommitChanges() override;
  HRESULT EndPass() override;
  HRESULT End() override;
  HRESULT OnLostDevice() override;
  HRESULT OnResetDevice() override;

 private:
  /// The device state Begin saved for End.
  struct SavedState {
    std::vector<std::pair<D3DRENDERSTATETYPE, DWORD>> render;
    std::vector<IDirect3DBaseTexture9*> textures;  ///< held references, unit by unit
    std::vector<DWORD> colorOps;
    IDirect3DVertexShader9* shader = nullptr;  ///< held reference
    bool shaderSaved = false;
  };

  Effect(IDirect3DDevice9* device, std::unique_ptr<const EffectSource> source);
  bool CompilePrograms(EffectMessages& messages);
  int ParameterIndex(D3DXHANDLE handle) const;
  int TechniqueIndex(D3DXHANDLE handle) const;
  const std::vector<EffectAnnotation>* AnnotationsOf(D3DXHANDLE object) const;
  const EffectAnnotation* FindAnnotation(D3DXHANDLE handle) const;
  /// The value of a numeric parameter of at least minimum floats, or null.
  EffectValue* NumericValue(D3DXHANDLE parameter, int minimum);
  const EffectProgram* Program(std::size_t technique, std::size_t pass) const;
  void SaveState();
  void RestoreState();

  IDirect3DDevice9* m_device;  ///< held reference
  std::unique_ptr<const EffectSource> m_source;
  std::vector<EffectValue> m_values;
  std::vector<std::vector<std::unique_ptr<EffectProgram>>> m_programs;  ///< [technique][pass]
  int m_technique = -1;  ///< the current technique, -1 without one
  bool m_begun = false;
  bool m_inPass = false;
  int m_pass = -1;
  bool m_saving = false;
  SavedState m_saved;
};

}  // namespace platform::d3dx9
