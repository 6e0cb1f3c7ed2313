#pragma once
// The global pointers of the core services, one each. The application sets each when
// it creates the object and clears it at shutdown; null means "not (yet) there".
class N_Log;
class N_ErrorLog;
class N_VarMng;
class N_Timer;
class N_StringTable;

extern N_Log* g_log;
extern N_ErrorLog* g_errorLog;
extern N_VarMng* g_varMng;
extern N_Timer* g_timer;
extern N_StringTable* g_stringTable;
