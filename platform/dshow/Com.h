#pragma once
// The COM basics the video player calls: GUIDs, IUnknown with reference counts,
// per-thread initialisation and object creation. Only the filter graph can be
// created; there is no registry, marshalling or apartment machinery.
#include "platform/win32/Types.h"

#include <cstdint>
#include <cstring>

using LONG_PTR = std::intptr_t;

struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline bool operator==(const GUID& a, const GUID& b) {
  return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
         std::memcmp(a.Data4, b.Data4, sizeof a.Data4) == 0;
}
inline bool IsEqualGUID(const GUID& a, const GUID& b) { return a == b; }

extern const IID IID_IUnknown;

/// Result codes of the COM calls (documented values).
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);
constexpr HRESULT RPC_E_CHANGED_MODE = static_cast<HRESULT>(0x80010106u);

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;

constexpr DWORD COINIT_MULTITHREADED = 0x0;
constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

/// The base of every interface: reference counting and interface lookup.
class IUnknown {
 public:
  /// Hands out the interface `riid` with one more reference; E_NOINTERFACE (and a null
  /// `*ppv`) when the object does not have it, E_POINTER for a null `ppv`.
  virtual HRESULT QueryInterface(REFIID riid, void** ppv) = 0;
  virtual ULONG AddRef() = 0;
  /// Drops one reference; the object is destroyed at zero. Returns the new count.
  virtual ULONG Release() = 0;

 protected:
  virtual ~IUnknown() = default;
};

/// Initialises COM on the calling thread: S_OK the first time, S_FALSE when already
/// initialised in the same mode, RPC_E_CHANGED_MODE in the other mode. `reserved` must be null.
HRESULT CoInitializeEx(void* reserved, DWORD coInit);
/// Balances one successful CoInitializeEx of the calling thread.
void CoUninitialize();
/// Creates an object of a class. Only CLSID_FilterGraph exists (in-process, without
/// aggregation); the calling thread must have initialised COM.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD clsContext, REFIID riid, void** ppv);
