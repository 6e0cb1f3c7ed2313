#include "platform/d3d9/Formats.h"
#include "platform/d3d9/RecordingDevice.h"

#include <cstdio>

namespace platform::d3d9 {

RecordingDirect3D::RecordingDirect3D(RecordingDirect3DConfig config) : m_config(std::move(config)) {}

RecordingDirect3D::~RecordingDirect3D() {
  if (m_device) m_device->Release();
}

HRESULT RecordingDirect3D::GetAdapterIdentifier(UINT adapter, DWORD, D3DADAPTER_IDENTIFIER9* identifier) {
  if (!identifier || adapter >= m_config.adapterCount) return D3DERR_INVALIDCALL;
  *identifier = m_config.identifier;
  return D3D_OK;
}

HRESULT RecordingDirect3D::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
  if (!mode || adapter >= m_config.adapterCount) return D3DERR_INVALIDCALL;
  *mode = {m_config.device.windowWidth, m_config.device.windowHeight, 60, D3DFMT_X8R8G8B8};
  return D3D_OK;
}

HRESULT RecordingDirect3D::CheckDeviceFormat(UINT adapter, D3DDEVTYPE, D3DFORMAT adapterFormat, DWORD usage,
                                             D3DRESOURCETYPE, D3DFORMAT format) {
  m_checkedFormats.push_back(adapterFormat);
  if (adapter >= m_config.adapterCount) return D3DERR_INVALIDCALL;
  const auto& accepted = (usage & D3DUSAGE_DEPTHSTENCIL) ? m_config.depthFormats : m_config.textureFormats;
  return accepted.count(format) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT RecordingDirect3D::CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE, D3DFORMAT format, BOOL,
                                                      D3DMULTISAMPLE_TYPE multiSample, DWORD* qualityLevels) {
  m_checkedFormats.push_back(format);
  if (adapter >= m_config.adapterCount) return D3DERR_INVALIDCALL;
  if (!m_config.multiSampleTypes.count(multiSample)) return D3DERR_NOTAVAILABLE;
  if (qualityLevels) *qualityLevels = 1;
  return D3D_OK;
}

HRESULT RecordingDirect3D::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE, D3DFORMAT adapterFormat, D3DFORMAT,
                                                  D3DFORMAT depthStencilFormat) {
  m_checkedFormats.push_back(adapterFormat);
  if (adapter >= m_config.adapterCount) return D3DERR_INVALIDCALL;
  return m_config.depthFormats.count(depthStencilFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT RecordingDirect3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) {
  if (!caps || adapter >= m_config.adapterCount) return D3DERR_INVALIDCALL;
  *caps = m_config.device.caps;
  caps->DeviceType = type;
  caps->AdapterOrdinal = adapter;
  return D3D_OK;
}

HRESULT RecordingDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND, DWORD behaviorFlags,
                                        D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) {
  char attempt[64];
  std::snprintf(attempt, sizeof attempt, "%u %u 0x%X", adapter, DWORD(type), behaviorFlags);
  m_attempts.emplace_back(attempt);
  if (!params || !device || adapter >= m_config.adapterCount) return D3DERR_INVALIDCALL;
  const bool typeFails = (type == D3DDEVTYPE_HAL && m_config.halFails) ||
                         (type == D3DDEVTYPE_REF && m_config.refFails);
  if (typeFails || m_config.failingBehaviour.count(behaviorFlags)) return m_config.createFailure;
  auto* made = new RecordingDevice(m_config.device, *params);
  params->BackBufferWidth = made->PresentParameters().BackBufferWidth;
  params->BackBufferHeight = made->PresentParameters().BackBufferHeight;
  params->BackBufferFormat = made->PresentParameters().BackBufferFormat;
  if (m_device) m_device->Release();
  m_device = made;
  made->AddRef();
  *device = made;
  return D3D_OK;
}

}  // namespace platform::d3d9
