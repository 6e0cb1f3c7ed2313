#include "platform/d3dx9/EffectStates.h"

#include "platform/win32/Files.h"

#include <array>

namespace platform::d3dx9 {

namespace {

using Kind = EffectStateValue;

constexpr std::array kStates{
    EffectStateName{"ZEnable", D3DRS_ZENABLE, Kind::ZBuffer},
    EffectStateName{"ZWriteEnable", D3DRS_ZWRITEENABLE, Kind::Bool},
    EffectStateName{"ZFunc", D3DRS_ZFUNC, Kind::Compare},
    EffectStateName{"FillMode", D3DRS_FILLMODE, Kind::Fill},
    EffectStateName{"ShadeMode", D3DRS_SHADEMODE, Kind::Shade},
    EffectStateName{"CullMode", D3DRS_CULLMODE, Kind::Cull},
    EffectStateName{"AlphaBlendEnable", D3DRS_ALPHABLENDENABLE, Kind::Bool},
    EffectStateName{"SrcBlend", D3DRS_SRCBLEND, Kind::Blend},
    EffectStateName{"DestBlend", D3DRS_DESTBLEND, Kind::Blend},
    EffectStateName{"BlendOp", D3DRS_BLENDOP, Kind::BlendOp},
    EffectStateName{"AlphaTestEnable", D3DRS_ALPHATESTENABLE, Kind::Bool},
    EffectStateName{"AlphaFunc", D3DRS_ALPHAFUNC, Kind::Compare},
    EffectStateName{"AlphaRef", D3DRS_ALPHAREF, Kind::Number},
    EffectStateName{"FogEnable", D3DRS_FOGENABLE, Kind::Bool},
    EffectStateName{"Lighting", D3DRS_LIGHTING, Kind::Bool},
    EffectStateName{"ColorWriteEnable", D3DRS_COLORWRITEENABLE, Kind::Number},
    EffectStateName{"StencilEnable", D3DRS_STENCILENABLE, Kind::Bool},
    EffectStateName{"StencilFunc", D3DRS_STENCILFUNC, Kind::Compare},
    EffectStateName{"StencilRef", D3DRS_STENCILREF, Kind::Number},
    EffectStateName{"StencilMask", D3DRS_STENCILMASK, Kind::Number},
    EffectStateName{"StencilWriteMask", D3DRS_STENCILWRITEMASK, Kind::Number},
    EffectStateName{"StencilFail", D3DRS_STENCILFAIL, Kind::StencilOp},
    EffectStateName{"StencilZFail", D3DRS_STENCILZFAIL, Kind::StencilOp},
    EffectStateName{"StencilPass", D3DRS_STENCILPASS, Kind::StencilOp},
};

struct ValueName {
  Kind kind;
  std::string_view name;
  DWORD value;
};

constexpr std::array kValues{
    ValueName{Kind::Bool, "False", 0},
    ValueName{Kind::Bool, "True", 1},
    ValueName{Kind::ZBuffer, "False", D3DZB_FALSE},
    ValueName{Kind::ZBuffer, "True", D3DZB_TRUE},
    ValueName{Kind::Compare, "Never", D3DCMP_NEVER},
    ValueName{Kind::Compare, "Less", D3DCMP_LESS},
    ValueName{Kind::Compare, "Equal", D3DCMP_EQUAL},
    ValueName{Kind::Compare, "LessEqual", D3DCMP_LESSEQUAL},
    ValueName{Kind::Compare, "Greater", D3DCMP_GREATER},
    ValueName{Kind::Compare, "NotEqual", D3DCMP_NOTEQUAL},
    ValueName{Kind::Compare, "GreaterEqual", D3DCMP_GREATEREQUAL},
    ValueName{Kind::Compare, "Always", D3DCMP_ALWAYS},
    ValueName{Kind::Blend, "Zero", D3DBLEND_ZERO},
    ValueName{Kind::Blend, "One", D3DBLEND_ONE},
    ValueName{Kind::Blend, "SrcColor", D3DBLEND_SRCCOLOR},
    ValueName{Kind::Blend, "InvSrcColor", D3DBLEND_INVSRCCOLOR},
    ValueName{Kind::Blend, "SrcAlpha", D3DBLEND_SRCALPHA},
    ValueName{Kind::Blend, "InvSrcAlpha", D3DBLEND_INVSRCALPHA},
    ValueName{Kind::Blend, "DestAlpha", D3DBLEND_DESTALPHA},
    ValueName{Kind::Blend, "InvDestAlpha", D3DBLEND_INVDESTALPHA},
    ValueName{Kind::Blend, "DestColor", D3DBLEND_DESTCOLOR},
    ValueName{Kind::Blend, "InvDestColor", D3DBLEND_INVDESTCOLOR},
    ValueName{Kind::Blend, "SrcAlphaSat", D3DBLEND_SRCALPHASAT},
    ValueName{Kind::BlendOp, "Add", D3DBLENDOP_ADD},
    ValueName{Kind::BlendOp, "Subtract", D3DBLENDOP_SUBTRACT},
    ValueName{Kind::BlendOp, "RevSubtract", D3DBLENDOP_REVSUBTRACT},
    ValueName{Kind::BlendOp, "Min", D3DBLENDOP_MIN},
    ValueName{Kind::BlendOp, "Max", D3DBLENDOP_MAX},
    ValueName{Kind::Cull, "None", D3DCULL_NONE},
    ValueName{Kind::Cull, "CW", D3DCULL_CW},
    ValueName{Kind::Cull, "CCW", D3DCULL_CCW},
    ValueName{Kind::Fill, "Point", D3DFILL_POINT},
    ValueName{Kind::Fill, "Wireframe", D3DFILL_WIREFRAME},
    ValueName{Kind::Fill, "Solid", D3DFILL_SOLID},
    ValueName{Kind::Shade, "Flat", D3DSHADE_FLAT},
    ValueName{Kind::Shade, "Gouraud", D3DSHADE_GOURAUD},
    ValueName{Kind::StencilOp, "Keep", D3DSTENCILOP_KEEP},
    ValueName{Kind::StencilOp, "Zero", D3DSTENCILOP_ZERO},
    ValueName{Kind::StencilOp, "Replace", D3DSTENCILOP_REPLACE},
    ValueName{Kind::StencilOp, "IncrSat", D3DSTENCILOP_INCRSAT},
    ValueName{Kind::StencilOp, "DecrSat", D3DSTENCILOP_DECRSAT},
    ValueName{Kind::StencilOp, "Invert", D3DSTENCILOP_INVERT},
    ValueName{Kind::StencilOp, "Incr", D3DSTENCILOP_INCR},
    ValueName{Kind::StencilOp, "Decr", D3DSTENCILOP_DECR},
};

}  // namespace

const EffectStateName* FindEffectState(std::string_view name) {
  for (const auto& entry : kStates) {
    if (platform::EqualsNoCase(entry.name, name)) return &entry;
  }
  return nullptr;
}

std::optional<DWORD> FindEffectStateValue(EffectStateValue kind, std::string_view name) {
  for (const auto& entry : kValues) {
    if (entry.kind == kind && platform::EqualsNoCase(entry.name, name)) return entry.value;
  }
  return std::nullopt;
}

}  // namespace platform::d3dx9
