// N_Render::LoadEffectTextures: binds the textures the effects name after every
// texture purge.
#include "render/Render.h"

// TODO(issue 11): bind each effect's "name"-annotated texture parameters; there are
// no effects before that issue, so there is nothing to bind.
void N_Render::LoadEffectTextures() {}
