// Effects of the shader scripts' "fx" keyword. Effect files cannot be compiled yet
// (TODO issue 11: the effect system): no effect is ever made, so a shader marked with
// an effect keeps the mark and draws nothing, and there is never one to release.
#include "render/Render.h"

ID3DXEffect* N_Render::CreateEffect(const char*) { return nullptr; }

void N_Render::DestroyEffect(ID3DXEffect** effect) {
  if (effect) *effect = nullptr;
}
