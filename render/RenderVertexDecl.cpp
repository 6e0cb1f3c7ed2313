// N_Render: handing a vertex declaration to the device.
#include "render/Render.h"
#include "render/VertexDecl.h"

void N_Render::SetVertexDecl(N_VertexDecl* declaration) {
  m_device->SetVertexDeclaration(declaration != nullptr ? declaration->GetDeclaration() : nullptr);
}
