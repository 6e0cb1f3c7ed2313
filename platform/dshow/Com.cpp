#include "platform/dshow/Com.h"

#include "platform/dshow/FilterGraph.h"
#include "platform/dshow/Interfaces.h"

namespace {

/// COM state of one thread: how often it was initialised, and in which mode.
struct ThreadCom {
  int count = 0;
  DWORD mode = 0;
};
thread_local ThreadCom t_com;

}  // namespace

HRESULT CoInitializeEx(void* reserved, DWORD coInit) {
  if (reserved) return E_INVALIDARG;
  const DWORD mode = coInit & COINIT_APARTMENTTHREADED;
  if (t_com.count > 0 && t_com.mode != mode) return RPC_E_CHANGED_MODE;
  t_com.mode = mode;
  return t_com.count++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
  if (t_com.count > 0) --t_com.count;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD clsContext, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (t_com.count == 0) return CO_E_NOTINITIALIZED;
  if (!(clsid == CLSID_FilterGraph) || (clsContext & CLSCTX_INPROC_SERVER) == 0) return REGDB_E_CLASSNOTREG;
  if (outer) return CLASS_E_NOAGGREGATION;
  auto* graph = new platform::FilterGraph(platform::PostDrainMessage);
  // The new object holds one reference; QueryInterface adds the caller's, the
  // Release drops the creation reference (and frees the object if riid is unknown).
  IUnknown* unknown = static_cast<IGraphBuilder*>(graph);
  const HRESULT hr = unknown->QueryInterface(riid, ppv);
  unknown->Release();
  return hr;
}
