#include "tests/gui/GuiRig.h"

#include "core/Globals.h"
#include "gui/GuiFactories.h"
#include "gui/GuiFactory.h"
#include "gui/GuiPage.h"
#include "gui/GuiServices.h"
#include "platform/win32/Process.h"

#include <algorithm>
#include <fstream>
#include <sstream>

// The callbacks the tests bind by name: exported functions of the test executable.
extern "C" void GuiTestClick(N_GuiElement* element) { test::GuiCalls().push_back("click " + element->GetName()); }
extern "C" void GuiTestEnter(N_GuiElement* element) { test::GuiCalls().push_back("enter " + element->GetName()); }
extern "C" void GuiTestExit(N_GuiElement* element) { test::GuiCalls().push_back("exit " + element->GetName()); }
extern "C" void GuiTestDown(N_GuiElement* element) { test::GuiCalls().push_back("down " + element->GetName()); }
extern "C" void GuiTestShow(N_GuiPage* page) {
  test::GuiCalls().push_back("show " + page->GetName() + (page->IsVisible() ? " visible" : " hidden"));
}
const platform::ExportTable kGuiTestCallbacks{
    platform::Export("GuiTestClick", &GuiTestClick), platform::Export("GuiTestEnter", &GuiTestEnter),
    platform::Export("GuiTestExit", &GuiTestExit),   platform::Export("GuiTestDown", &GuiTestDown),
    platform::Export("GuiTestShow", &GuiTestShow)};

namespace test {

std::vector<std::string>& GuiCalls() {
  static std::vector<std::string> calls;
  return calls;
}

N_GuiEvent Ev(N_GuiEventType type, std::uint32_t button, bool pressed) {
  N_GuiEvent event;
  event.type = type;
  event.button = button;
  event.pressed = pressed;
  return event;
}

void Set(N_GuiObject& object, std::initializer_list<std::pair<const char*, const char*>> attributes) {
  for (const auto& [name, value] : attributes) EXPECT_TRUE(object.SetAttribute(name, value)) << name;
}

TestContainer::TestContainer(std::string name) : N_GuiContainer(std::move(name)) {
  if (RegisterClass("TestContainer")) TestContainer::BuildAttributes();
}

const std::string& TestContainer::GetTypeName() const {
  static const std::string word(kTypeName);
  return word;
}

void TestContainer::BuildAttributes() { N_GuiContainer::BuildAttributes(); }

TestFocus::TestFocus(std::string name) : N_GuiElement(std::move(name)) {
  if (RegisterClass("TestFocus")) TestFocus::BuildAttributes();
}

const std::string& TestFocus::GetTypeName() const {
  static const std::string word(kTypeName);
  return word;
}

void TestFocus::SetFocus(bool focus) { GuiCalls().push_back("focus " + GetName() + (focus ? " on" : " off")); }

int TestFocus::HandleEvent(const N_GuiEvent& event) {
  if (event.type == N_GuiEventType::Text) {
    const char* text = GuiEventAs<const char*>(event.x);
    GuiCalls().push_back("text " + GetName() + " " + (text ? text : "(none)") + " " +
                         std::to_string(GuiEventAs<std::int32_t>(event.y)));
  }
  return N_GuiElement::HandleEvent(event);
}

void TestFocus::BuildAttributes() { N_GuiElement::BuildAttributes(); }

RecordingEffect::RecordingEffect() { RegisterClass("RecordingEffect"); }

const std::string& RecordingEffect::GetTypeName() const {
  static const std::string word(kTypeName);
  return word;
}

void RecordingEffect::Start() { GuiCalls().push_back("start"); }
void RecordingEffect::Stop() { GuiCalls().push_back("stop"); }
void RecordingEffect::Update(float frameTime) { GuiCalls().push_back("update " + std::to_string(frameTime)); }
void RecordingEffect::ForgetElement(const N_GuiElement* gone) {
  if (held == gone) held = nullptr;
}

GuiRig::GuiRig(bool drawWithRenderer)
    : target(drawWithRenderer ? std::make_unique<N_TextBatchRenderTarget>(shaders) : nullptr),
      batch(target ? static_cast<N_TextBatchTarget*>(target.get()) : &drawn),
      mng(std::make_unique<N_GuiMng>()) {
  GuiCalls().clear();
  m_timer.Tick();  // the first tick only sets the start
  g_timer = &m_timer;
  auto font = std::make_unique<N_Font>();
  font->firstChar = 32;
  font->glyphCount = 96;
  font->glyphs.assign(96, N_Glyph{0.0f, 0.0f, 0.05f, 0.05f, kAdvance});
  fonts["fixed"] = std::move(font);
  batch.Init();
  g_guiServices = {mng.get(), &shaders, &batch, &fonts};
  RegisterGuiFactories(*mng);
  mng->RegisterElementFactory(std::make_unique<N_GuiElementFactoryOf<TestContainer>>());
  mng->RegisterElementFactory(std::make_unique<N_GuiElementFactoryOf<TestFocus>>());
  mng->RegisterEffectFactory(std::make_unique<N_GuiEffectFactoryOf<RecordingEffect>>());
}

GuiRig::~GuiRig() {
  mng.reset();
  g_guiServices = {};
  g_timer = nullptr;
}

GuiInput::GuiInput(GuiRig& rig) {
  N_CoreServices block;
  block.errorLog = rig.core.errorLog.get();
  block.log = rig.core.log.get();
  block.varMng = rig.core.vars.get();
  mng = CreateInputMng(block);
  EXPECT_EQ(mng->Init(), 1);
  g_inputMng = mng.get();
}

GuiInput::~GuiInput() {
  g_inputMng = nullptr;
  mng->Shutdown();
}

void GuiRig::Step(double seconds) {
  m_clock.counter += static_cast<std::uint64_t>(seconds * 1e6 + 0.5);
  m_timer.Tick();
}

std::string GuiRig::ScriptFolder() { return NAVO_GUI_TEST_SCRIPTS; }

bool GuiRig::LoadScript(const std::string& file) {
  std::ifstream in(ScriptFolder() + "/" + file, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  dir.Write("data/scripts/gui/" + file, text.str());
  mng->ParseGuiFile(dir.Path() + "/data/scripts/gui/" + file);
  return true;
}

std::ostream& operator<<(std::ostream& out, const QueuedQuad& q) {
  return out << "{" << q.shader << " " << q.x << "," << q.y << " " << q.w << "x" << q.h << " uv " << q.u << ","
             << q.v << " a" << q.alpha << "}";
}

std::vector<QueuedQuad> GuiRig::TakeQuads() {
  std::vector<QueuedQuad> quads;
  for (std::uint32_t i = 0; i < batch.EntryCount(); ++i) {
    const N_MeshSurface& e = batch.Entry(i);
    const N_SurfaceVertex* v = e.vertices;  // top-left, top-right, bottom-left, bottom-right
    quads.push_back({e.shader, v[0].position[0], v[0].position[1], v[3].position[0] - v[0].position[0],
                     v[3].position[1] - v[0].position[1], v[3].uv0[0], v[3].uv0[1], v[0].colour >> 24});
  }
  batch.Flush();
  drawn.drawn.clear();
  return quads;
}

QueuedText TextOf(const N_MeshSurface& entry) {
  QueuedText text;
  text.shader = entry.shader;
  text.quads = entry.vertexCount / 4;
  if (entry.vertexCount > 0) {
    const N_SurfaceVertex* v = entry.vertices;
    text.left = text.right = v[0].position[0];
    text.top = text.bottom = v[0].position[1];
    for (std::uint32_t k = 0; k < entry.vertexCount; ++k) {
      text.left = std::min(text.left, v[k].position[0]);
      text.right = std::max(text.right, v[k].position[0]);
      text.top = std::min(text.top, v[k].position[1]);
      text.bottom = std::max(text.bottom, v[k].position[1]);
    }
    text.rgb = v[0].colour & 0xFFFFFFu;
    text.alpha = v[0].colour >> 24;
  }
  return text;
}

std::vector<QueuedText> DrawnEntries::Take() {
  std::vector<QueuedText> taken;
  taken.swap(drawn);
  return taken;
}

std::vector<QueuedText> GuiRig::TakeQueue() {
  std::vector<QueuedText> texts;
  for (std::uint32_t i = 0; i < batch.EntryCount(); ++i) texts.push_back(TextOf(batch.Entry(i)));
  batch.Flush();
  drawn.drawn.clear();
  return texts;
}

}  // namespace test
