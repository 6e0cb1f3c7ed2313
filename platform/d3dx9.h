#pragma once
// The D3DX9 utility calls the engine makes, over our own implementations: DDS
// textures (files and the program's resources), effects, vertex-program assembly,
// saving surfaces.
#include "platform/d3d9.h"
#include "platform/d3dx9/Buffer.h"
#include "platform/d3dx9/Effect.h"
#include "platform/d3dx9/SaveSurface.h"
#include "platform/d3dx9/Textures.h"
#include "platform/d3dx9/VertexProgram.h"
