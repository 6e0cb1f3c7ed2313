#pragma once
// A renderer over the recording Direct3D object, with the core services behind it.
#include "core/CoreServices.h"
#include "platform/d3d9/RecordingDevice.h"
#include "render/Render.h"
#include "tests/support/TestEnv.h"

#include <functional>
#include <string>
#include <vector>

namespace test {

/// Makes the renderer object in place of CreateRender's own (a test subclass).
using RenderMaker = std::function<N_Render*()>;

/// The Direct3D object Direct3DCreate9 hands out while the harness lives.
class RecordingRender {
 public:
  explicit RecordingRender(platform::d3d9::RecordingDirect3DConfig config = DefaultConfig(), RenderMaker make = {});
  ~RecordingRender();
  RecordingRender(const RecordingRender&) = delete;
  RecordingRender& operator=(const RecordingRender&) = delete;

  static platform::d3d9::RecordingDirect3DConfig DefaultConfig();

  platform::d3d9::RecordingDirect3D& Direct3D() { return *m_d3d; }
  /// The device Init made (null before).
  platform::d3d9::RecordingDevice* Device() { return m_d3d->LastDevice(); }
  /// The device's recorded calls that start with the prefix.
  std::vector<std::string> Calls(const std::string& prefix) { return Device()->CallsStartingWith(prefix); }
  std::string Log() const { return core.LogText(); }

  TempDir dir;
  CoreServices core;
  N_CoreServices services;
  N_Render* render = nullptr;

 private:
  platform::d3d9::RecordingDirect3D* m_d3d;
};

/// Lines of text that start with the prefix, in order.
std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& prefix);

}  // namespace test
