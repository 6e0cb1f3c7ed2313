#pragma once
// Inside the layer: reference counting and the link between a resource and the device
// that made it. A device does not hold references to what is bound to it; instead a
// resource tells its device when it dies, and the device unbinds it everywhere. When
// the device dies first, it cuts the links and its resources live on alone.
#include "platform/d3d9/Interfaces.h"

namespace platform::d3d9 {

template <class Interface>
class RefCounted : public Interface {
 public:
  HRESULT QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown) {
      AddRef();
      *object = static_cast<IUnknown*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++m_refs; }
  ULONG Release() override {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }

 private:
  ULONG m_refs = 1;
};

/// The device side of a resource link.
class ResourceOwner {
 public:
  /// Called from a resource's destructor: unbind it wherever it is bound.
  virtual void OnResourceDestroyed(IUnknown* resource) = 0;

 protected:
  ~ResourceOwner() = default;
};

/// The resource side: a member of every resource a device creates.
class DeviceLink {
 public:
  DeviceLink() = default;
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  void Attach(ResourceOwner* owner, IUnknown* self) {
    m_owner = owner;
    m_self = self;
  }
  /// The device is going away: forget it.
  void Cut() { m_owner = nullptr; }
  void NotifyDestroyed() {
    if (m_owner) m_owner->OnResourceDestroyed(m_self);
    m_owner = nullptr;
  }
  ResourceOwner* Owner() const { return m_owner; }

 private:
  ResourceOwner* m_owner = nullptr;
  IUnknown* m_self = nullptr;
};

/// Anything a device tracks so that it can cut the link when it dies.
class TrackedResource {
 public:
  virtual ~TrackedResource() = default;
  DeviceLink& Link() { return m_link; }

 private:
  DeviceLink m_link;
};

}  // namespace platform::d3d9
