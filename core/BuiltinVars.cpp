#include "core/BuiltinVars.h"

#include "core/Globals.h"
#include "core/VarMng.h"

#include <array>

namespace {

// The built-in variables in registration order (which is also their order within
// a bucket of the registry, and so within "config.cfg"). 0x21 saved, 0x09 published
// information, 0x01 transient.
std::array<N_Var, 99> DefaultTable() {
  return {{
    N_Var("gl_maxTextureSize", 0, 0x09u),
    N_Var("gl_maxTextureUnits", 0, 0x09u),
    N_Var("gl_acceleration", 0, 0x09u),
    N_Var("gl_vendor", 0, 0x09u),
    N_Var("gl_renderer", 0, 0x09u),
    N_Var("gl_version", 0, 0x09u),
    N_Var("gl_extensions", 0, 0x09u),
    N_Var("r_rgbBits", 32, 0x21u),
    N_Var("r_stencilBits", 8, 0x21u),
    N_Var("r_zBits", 24, 0x21u),
    N_Var("r_swapInterval", 0, 0x21u),
    N_Var("r_clear", 1, 0x21u),
    N_Var("r_picmip", 0, 0x21u),
    N_Var("r_textureBits", 32, 0x21u),
    N_Var("r_textureCompression", 0, 0x21u),
    N_Var("r_filter", 1, 0x21u),
    N_Var("r_vertexLight", 0, 0x21u),
    N_Var("r_gamma", 1.0f, 0x21u),
    N_Var("r_brightness", 0.0f, 0x21u),
    N_Var("r_contrast", 1.0f, 0x21u),
    N_Var("r_quality", 0, 0x21u),
    N_Var("r_grid", 0, 0x21u),
    N_Var("r_dither", 0, 0x21u),
    N_Var("r_useWBuffer", 0, 0x21u),
    N_Var("r_showOverdraw", 0, 0x01u),
    N_Var("r_perfHUD", 0, 0x01u),
    N_Var("v_height", 600, 0x21u),
    N_Var("v_width", 800, 0x21u),
    N_Var("v_height_t", 600, 0x21u),
    N_Var("v_width_t", 800, 0x21u),
    N_Var("v_bpp", 32, 0x21u),
    N_Var("v_hz", 60, 0x21u),
    N_Var("v_multisample", 0, 0x21u),
    N_Var("v_trippleBuffering", 0, 0x21u),
    N_Var("r_overBrightBits", 0, 0x21u),
    N_Var("r_lmOverBrightBits", 1.0f, 0x21u),
    N_Var("wnd_handle", 0, 0x09u),
    N_Var("app_hInstance", 0, 0x09u),
    N_Var("v_fullscreen", 1, 0x21u),
    N_Var("mapname", kDefaultMapName, 0x21u),
    N_Var("levelname", "Beitostolen", 0x21u),
    N_Var("MaxCameraSpeed", 800, 0x21u),
    N_Var("developer", 0, 0x21u),
    N_Var("r_showFPS", 0, 0x21u),
    N_Var("noclip", 0, 0x21u),
    N_Var("cam", 1, 0x21u),
    N_Var("fov", 50, 0x21u),
    N_Var("exit", 0, 0x01u),
    N_Var("ScreenshotName", 1, 0x21u),
    N_Var("foglinear", 0, 0x21u),
    N_Var("foglinearnear", 8, 0x21u),
    N_Var("foglinearfar", 8000, 0x21u),
    N_Var("fogcolor", "-1", 0x21u),  // a hexadecimal colour text ("B4C2D6"); -1 as its number
    N_Var("language", "ger", 0x21u),
    N_Var("showskeleton", 0, 0x21u),
    N_Var("LOD", "0", 0x21u),
    N_Var("LODWorldDistance", 20000, 0x21u),
    N_Var("randx", 0.2f, 0x21u),
    N_Var("randy", 0.2f, 0x21u),
    N_Var("ampx", 0.2f, 0x21u),
    N_Var("ampy", 0.3f, 0x21u),
    N_Var("r_shadowsEnabled", 0, 0x21u),
    N_Var("rain", 0, 0x21u),
    N_Var("snow", 0, 0x21u),
    N_Var("musicvolume", 100, 0x21u),
    N_Var("soundvolume", 100, 0x21u),
    N_Var("vmode", 2, 0x21u),
    N_Var("viewmode", 1, 0x21u),
    N_Var("trackmode", 1, 0x21u),
    N_Var("detail", 0, 0x21u),
    N_Var("speed", 2000, 0x21u),
    N_Var("rychlostkamey", 120, 0x21u),
    N_Var("PlayersParticles", 1, 0x21u),
    N_Var("ParticleDetails", 2, 0x21u),
    N_Var("ShowAnimObj", 1, 0x21u),
    N_Var("GameType", 0, 0x21u),
    N_Var("ShaderLOD", 1, 0x21u),
    N_Var("ShaderVD", 1, 0x21u),
    N_Var("ShaderFog", 0, 0x21u),
    N_Var("playerShadowColor", "AABBCC", 0x21u),
    N_Var("box", 0, 0x21u),
    N_Var("LODAudienceDistance", 20, 0x21u),
    N_Var("AiAudienceStateChange", 10, 0x21u),
    N_Var("g_Weather", "sunshine", 0x21u),
    N_Var("g_SnowQuality", "dry", 0x21u),
    N_Var("FreeCamera", "0", 0x01u),
    N_Var("ShowMenu", 1, 0x21u),
    N_Var("MapQuad", "-6724.648 6799.663 8580.830 -8505.815", 0x01u),
    // The sound groups start on, as the settings page's switches do.
    N_Var("SoundCategoryComentaries", 1, 0x21u),
    N_Var("SoundCategoryBody", 1, 0x21u),
    N_Var("SoundCategorySki", 1, 0x21u),
    N_Var("SoundCategoryEnvironment", 1, 0x21u),
    N_Var("MusicVolume", 1.0f, 0x21u),
    N_Var("FXVolume", 1.0f, 0x21u),
    N_Var("PlayerName1", "", 0x21u),
    N_Var("PlayerName2", "", 0x21u),
    N_Var("PlayerName3", "", 0x21u),
    N_Var("restart", 0, 0x01u),
    N_Var("hrajvideoraz", 1, 0x21u),
  }};
}

}  // namespace

void RegisterBuiltinVars() {
  // The records live until the program ends; a second registration (a new registry
  // in the same process) starts again from the defaults.
  static std::array<N_Var, 99> table = DefaultTable();
  static bool first = true;
  if (!first) table = DefaultTable();
  first = false;
  if (!g_varMng) return;
  for (N_Var& var : table) g_varMng->Register(&var);
}
