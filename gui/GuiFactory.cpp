#include "gui/GuiFactory.h"

#include "gui/GuiObject.h"

void GuiElementFactory::Destroy(N_GuiObject* object) { delete object; }

void GuiEffectFactory::Destroy(N_GuiObject* object) { delete object; }
