#include "gui/GuiFactories.h"

#include "gui/GuiButton.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiCursor.h"
#include "gui/GuiFactory.h"
#include "gui/GuiMng.h"
#include "gui/GuiPanel.h"
#include "gui/GuiRadioGroup.h"
#include "gui/GuiText.h"

#include <array>

namespace {

using ElementFactoryMaker = std::unique_ptr<GuiElementFactory> (*)();
using EffectFactoryMaker = std::unique_ptr<GuiEffectFactory> (*)();

template <class T>
std::unique_ptr<GuiElementFactory> MakeElementFactory() {
  return std::make_unique<N_GuiElementFactoryOf<T>>();
}

template <class T>
std::unique_ptr<GuiEffectFactory> MakeEffectFactory() {
  return std::make_unique<N_GuiEffectFactoryOf<T>>();
}

// The order of registration, the order of the log lines. Each class joins at its
// place as it is built.
constexpr std::array kElementFactories{
    &MakeElementFactory<N_GuiPanel>,
    &MakeElementFactory<N_GuiCursor>,
    &MakeElementFactory<N_GuiText>,
    // TODO(#27): "EditBox"
    &MakeElementFactory<N_GuiButton>,
    &MakeElementFactory<N_GuiCheckBox>,
    // TODO(#27): "ScrollBar", "TextSelector", "ImageSelector"
    // TODO(#28): "ImageScroller"
    // TODO(#27): "Table", "ProgressBar"
    &MakeElementFactory<RadioGroup>,
    // TODO(#28): "ScrollingText", "Model", "Figure", "Map"
};

// TODO(#28): "Scroll", "Fade", "PageScroll"
constexpr std::array<EffectFactoryMaker, 0> kEffectFactories{};

}  // namespace

void RegisterGuiFactories(N_GuiMng& mng) {
  for (ElementFactoryMaker make : kElementFactories) mng.RegisterElementFactory(make());
  for (EffectFactoryMaker make : kEffectFactories) mng.RegisterEffectFactory(make());
}
