#pragma once
// The COM basics the video player calls: GUIDs, IUnknown with reference counts,
// per-thread initialisation and object creation. Only the filter graph can be
// created; there is no registry, marshalling or apartment machinery.
#include "platform/win32/Types.h"
#include "platform/win32/Unknown.h"

#include <cstdint>
#include <cstring>

using LONG_PTR = std::intptr_t;


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


/// Initialises COM on the calling thread: S_OK the first time, S_FALSE when already
/// initialised in the same mode, RPC_E_CHANGED_MODE in the other mode. `reserved` must be null.
HRESULT CoInitializeEx(void* reserved, DWORD coInit);
/// Balances one successful CoInitializeEx of the calling thread.
void CoUninitialize();
/// Creates an object of a class. Only CLSID_FilterGraph exists (in-process, without
/// aggregation); the calling thread must have initialised COM.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD clsContext, REFIID riid, void** ppv);
