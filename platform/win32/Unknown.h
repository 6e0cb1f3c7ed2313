#pragma once
// COM's common ground, shared by every interface family of the layer (Direct3D,
// DirectShow, DirectInput): GUID names for interfaces and classes, their comparison,
// and IUnknown with its reference count.
#include "platform/win32/Types.h"

#include <cstring>

using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline bool operator==(const GUID& a, const GUID& b) {
  return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
         std::memcmp(a.Data4, b.Data4, sizeof a.Data4) == 0;
}
inline bool IsEqualGUID(const GUID& a, const GUID& b) { return a == b; }

extern const IID IID_IUnknown;

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
