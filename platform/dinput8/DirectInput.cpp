// The DirectInput object: creates the system keyboard and mouse devices.
#include "platform/dinput8.h"

#include "platform/dinput8/Device.h"
#include "platform/dinput8/Source.h"

#include <cstring>
#include <new>

const GUID IID_IDirectInput8A = {0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
const GUID GUID_SysKeyboard = {0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_SysMouse = {0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID DIPROP_BUFFERSIZE = {1, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

namespace {
constexpr DWORD kRelativeAxes = 0x02;
}  // namespace

const DIDATAFORMAT c_dfDIKeyboard = {sizeof(DIDATAFORMAT), 0, kRelativeAxes, 256, 256, nullptr};
const DIDATAFORMAT c_dfDIMouse = {sizeof(DIDATAFORMAT), 0, kRelativeAxes, sizeof(DIMOUSESTATE), 7, nullptr};
const DIDATAFORMAT c_dfDIMouse2 = {sizeof(DIDATAFORMAT), 0, kRelativeAxes, sizeof(DIMOUSESTATE2), 11, nullptr};

namespace {

class DirectInput final : public IDirectInput8A {
 public:
  ULONG AddRef() override { return ++m_refs; }

  ULONG Release() override {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }

  HRESULT CreateDevice(REFGUID device, IDirectInputDevice8A** out, void*) override {
    if (!out) return DIERR_INVALIDPARAM;
    *out = nullptr;
    using Kind = platform::dinput::Device::Kind;
    if (device == GUID_SysKeyboard) {
      *out = new (std::nothrow) platform::dinput::Device(Kind::Keyboard);
    } else if (device == GUID_SysMouse) {
      *out = new (std::nothrow) platform::dinput::Device(Kind::Mouse);
    } else {
      return DIERR_DEVICENOTREG;
    }
    return *out ? DI_OK : DIERR_OUTOFMEMORY;
  }

 private:
  ULONG m_refs = 1;
};

}  // namespace

HRESULT DirectInput8Create(HINSTANCE, DWORD version, REFIID iid, void** out, void*) {
  if (!out) return DIERR_INVALIDPARAM;
  *out = nullptr;
  if (version < DIRECTINPUT_VERSION) return DIERR_OLDDIRECTINPUTVERSION;
  if (version > DIRECTINPUT_VERSION) return DIERR_BETADIRECTINPUTVERSION;
  if (!(iid == IID_IDirectInput8A)) return DIERR_NOINTERFACE;
  IDirectInput8A* object = new (std::nothrow) DirectInput;
  if (!object) return DIERR_OUTOFMEMORY;
  platform::dinput::EnsureSdlSource();
  *out = object;
  return DI_OK;
}
