#include "core/Globals.h"

N_Log* g_log = nullptr;
N_ErrorLog* g_errorLog = nullptr;
N_VarMng* g_varMng = nullptr;
N_Timer* g_timer = nullptr;
N_StringTable* g_stringTable = nullptr;
