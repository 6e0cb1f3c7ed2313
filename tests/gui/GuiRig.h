#pragma once
// The GUI on its own for tests: core services, a shader manager, a text batcher that
// draws nowhere (its queue is read back), a font list with a font of fixed advances,
// a timer the test moves, and a GUI manager with the factories of the built classes,
// a test container ("TestContainer"), a focus-taking element ("TestFocus") and a
// recording effect ("Recording"), all behind the GUI's services record for the rig's
// lifetime. GuiInput adds the input manager over the scripted keyboard and mouse.
#include "core/Font.h"
#include "core/InputMng.h"
#include "core/Timer.h"
#include "gui/GuiContainer.h"
#include "gui/GuiEffect.h"
#include "gui/GuiMng.h"
#include "platform/dinput8/ScriptedInput.h"
#include "render/ShaderMng.h"
#include "render/TextBatch.h"
#include "render/TextBatchRenderTarget.h"
#include "tests/support/TestEnv.h"

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <utility>
#include <memory>
#include <string>
#include <vector>

class N_GuiPage;

namespace test {

/// What the exported test callbacks saw, in order ("click Name", "show Page hidden").
std::vector<std::string>& GuiCalls();

/// An event of the type (button and pressed for button changes).
N_GuiEvent Ev(N_GuiEventType type, std::uint32_t button = kGuiLeftButton, bool pressed = true);
/// Sets the attributes in order; each must be known.
void Set(N_GuiObject& object, std::initializer_list<std::pair<const char*, const char*>> attributes);

/// A concrete container: the element's attributes, no drawing of its own.
class TestContainer : public N_GuiContainer {
 public:
  static constexpr const char* kTypeName = "TestContainer";
  explicit TestContainer(std::string name);
  const std::string& GetTypeName() const override;
  void BuildAttributes() override;
};

/// An element that takes the keyboard focus, as an edit box does: it records its focus
/// changes and the text events it gets in GuiCalls ("focus Name on", "text Name abc 3").
class TestFocus : public N_GuiElement {
 public:
  static constexpr const char* kTypeName = "TestFocus";
  explicit TestFocus(std::string name);
  const std::string& GetTypeName() const override;
  bool AcceptsFocus() const override { return true; }
  std::int32_t GetMaxChars() const override { return maxChars; }
  void SetFocus(bool focus) override;
  int HandleEvent(const N_GuiEvent& event) override;
  void BuildAttributes() override;

  std::int32_t maxChars = 12;
};

/// An effect that records its calls in GuiCalls and can hold an element.
class RecordingEffect final : public N_GuiEffect {
 public:
  static constexpr const char* kTypeName = "Recording";
  RecordingEffect();
  const std::string& GetTypeName() const override;
  void Start() override;
  void Stop() override;
  void Update(float frameTime) override;
  void ForgetElement(const N_GuiElement* gone) override;

  const N_GuiElement* held = nullptr;
};

/// A text queued by the batcher, read back from its vertices.
struct QueuedText {
  std::int32_t shader = -1;
  float left = 0, top = 0, right = 0, bottom = 0;  ///< extent of every quad of the entry
  std::uint32_t rgb = 0;                           ///< colour of the first vertex
  std::uint32_t alpha = 0;
  std::uint32_t quads = 0;
};

/// A quad queued by the batcher: shader, rectangle, texture repeat, alpha (each
/// entry's first quad).
struct QueuedQuad {
  std::int32_t shader = -1;
  float x = 0, y = 0, w = 0, h = 0;
  float u = 0, v = 0;
  std::uint32_t alpha = 0;
  bool operator==(const QueuedQuad&) const = default;
};
std::ostream& operator<<(std::ostream& out, const QueuedQuad& q);

/// The entry as a text: its shader, the extent of its quads, the first colour.
QueuedText TextOf(const N_MeshSurface& entry);

/// Where the rig's batcher draws when it has no renderer: it keeps what each flush
/// drew, as texts (in order), until taken.
class DrawnEntries final : public N_TextBatchTarget {
 public:
  void ClearDepth() override {}
  void BindShader(std::int32_t) override {}
  /// Keeps no more than the last flushes' worth: long runs that never take it stay small.
  void DrawSurface(N_MeshSurface& entry) override {
    if (drawn.size() >= kKept) drawn.clear();
    drawn.push_back(TextOf(entry));
  }
  /// What was drawn since the last call.
  std::vector<QueuedText> Take();

  static constexpr std::size_t kKept = 65536;
  std::vector<QueuedText> drawn;
};

class GuiRig;

/// The input manager over the scripted keyboard and mouse, behind g_inputMng, with the
/// services of a rig (made after it, gone before it).
class GuiInput {
 public:
  explicit GuiInput(GuiRig& rig);
  ~GuiInput();
  GuiInput(const GuiInput&) = delete;
  GuiInput& operator=(const GuiInput&) = delete;

  platform::ScriptedInput script;
  std::unique_ptr<N_InputMng> mng;
};

class GuiRig {
 public:
  /// Every advance of the rig's font "fixed" (characters 32-127) at scale 1.
  static constexpr float kAdvance = 8.0f;

  /// With drawWithRenderer the batcher's Flush draws through the renderer (g_render
  /// and its module must be set up by then); otherwise into `drawn`.
  explicit GuiRig(bool drawWithRenderer = false);
  ~GuiRig();
  GuiRig(const GuiRig&) = delete;
  GuiRig& operator=(const GuiRig&) = delete;

  /// Moves the timer on by the seconds (one frame).
  void Step(double seconds);
  /// The batcher's queue as texts, then empties it.
  std::vector<QueuedText> TakeQueue();
  /// The batcher's queue as quads, then empties it.
  std::vector<QueuedQuad> TakeQuads();
  std::string Log() const { return core.LogText(); }

  /// Copies a page script of tests/gui/scripts into the rig's script folder and reads
  /// it; false when it is not there.
  bool LoadScript(const std::string& file);
  /// The folder of the test page scripts.
  static std::string ScriptFolder();

  template <class T>
  T* Create(const std::string& type, const std::string& name, bool isTemplate = false) {
    return static_cast<T*>(mng->CreateElement(type, name, isTemplate));
  }

  TempDir dir;
  CoreServices core;
  N_ShaderMng shaders{1024};
  std::unique_ptr<N_TextBatchRenderTarget> target;
  DrawnEntries drawn;
  N_TextBatch batch;
  N_FontList fonts;
  std::unique_ptr<N_GuiMng> mng;

 private:
  class Clock final : public platform::Clock {
   public:
    std::uint64_t PerformanceFrequency() const override { return 1000000; }
    std::uint64_t PerformanceCounter() const override { return counter; }
    std::uint32_t Milliseconds() const override { return 0; }
    std::uint64_t counter = 1000;
  };
  Clock m_clock;
  N_Timer m_timer{m_clock};
};

}  // namespace test
