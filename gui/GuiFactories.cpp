#include "gui/GuiFactories.h"

#include "gui/GuiButton.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiCursor.h"
#include "gui/GuiEditBox.h"
#include "gui/GuiEffectFade.h"
#include "gui/GuiEffectPageScroll.h"
#include "gui/GuiEffectScroll.h"
#include "gui/GuiFactory.h"
#include "gui/GuiFigure.h"
#include "gui/GuiImageScroller.h"
#include "gui/GuiImageSelector.h"
#include "gui/GuiMap.h"
#include "gui/GuiMng.h"
#include "gui/GuiModel.h"
#include "gui/GuiPanel.h"
#include "gui/GuiProgressBar.h"
#include "gui/GuiRadioGroup.h"
#include "gui/GuiScrollBar.h"
#include "gui/GuiScrollingText.h"
#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "gui/GuiTextSelector.h"

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

// The order of registration, the order of the log lines.
constexpr std::array kElementFactories{
    &MakeElementFactory<N_GuiPanel>,
    &MakeElementFactory<N_GuiCursor>,
    &MakeElementFactory<N_GuiText>,
    &MakeElementFactory<N_GuiEditBox>,
    &MakeElementFactory<N_GuiButton>,
    &MakeElementFactory<N_GuiCheckBox>,
    &MakeElementFactory<N_GuiScrollBar>,
    &MakeElementFactory<N_GuiTextSelector>,
    &MakeElementFactory<N_GuiImageSelector>,
    &MakeElementFactory<N_GuiImageScroller>,
    &MakeElementFactory<N_GuiTable>,
    &MakeElementFactory<N_GuiProgressBar>,
    &MakeElementFactory<RadioGroup>,
    &MakeElementFactory<N_GuiScrollingText>,
    &MakeElementFactory<N_GuiModel>,
    &MakeElementFactory<N_GuiFigure>,
    &MakeElementFactory<N_GuiMap>,
};

constexpr std::array kEffectFactories{
    &MakeEffectFactory<N_GuiEffectScroll>,
    &MakeEffectFactory<N_GuiEffectFade>,
    &MakeEffectFactory<N_GuiEffectPageScroll>,
};

}  // namespace

void RegisterGuiFactories(N_GuiMng& mng) {
  for (ElementFactoryMaker make : kElementFactories) mng.RegisterElementFactory(make());
  for (EffectFactoryMaker make : kEffectFactories) mng.RegisterEffectFactory(make());
}
