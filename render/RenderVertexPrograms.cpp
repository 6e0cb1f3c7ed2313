// The five vertex programs.
#include "render/Render.h"

void N_Render::LoadVertexPrograms() {
  // TODO(issue 10): assemble "data\scripts\vp\{wave,water,alphadot,rgbgen,autosprite}.vsh".
  // Until then every program stays none, which the drawing code already allows for: the
  // deforms and colour sources set their constants and bind nothing.
  for (auto*& program : m_vertexPrograms) {
    if (program) program->Release();
    program = nullptr;
  }
}
