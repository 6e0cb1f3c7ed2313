#pragma once
// The core services block handed by address to the factories of the renderer, the
// input manager and the sound manager; each copies it into a record of its own module.
class N_ErrorLog;
class N_Log;
class N_VarMng;
class N_Timer;
class N_Render;
class N_TextureMng;

struct N_CoreServices {
  N_ErrorLog* errorLog = nullptr;
  N_Log* log = nullptr;
  N_VarMng* varMng = nullptr;
  N_Timer* timer = nullptr;
  N_Render* render = nullptr;  ///< null from the application; the renderer's copy holds itself
  N_TextureMng* textureMng = nullptr;
  void* reserved = nullptr;    ///< always zero
};
static_assert(sizeof(N_CoreServices) == 7 * sizeof(void*));
