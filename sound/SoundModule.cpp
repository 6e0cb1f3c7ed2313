#include "sound/SoundModule.h"

#include "core/ErrorLog.h"
#include "core/Log.h"
#include "sound/SoundMng.h"

#include <cstdio>

N_SoundModule g_soundModule;
N_SoundMng* g_soundMng = nullptr;

namespace {

std::string FormatV(const char* format, va_list args) {
  char text[N_ErrorLog::kBufferSize];
  std::vsnprintf(text, sizeof text, format, args);
  return text;
}

}  // namespace

void SoundLog(const char* format, ...) {
  if (!g_soundModule.services.log) return;
  va_list args;
  va_start(args, format);
  g_soundModule.services.log->PrintV(format, args);
  va_end(args);
}

void SoundReportBox(int code, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  if (g_soundModule.services.errorLog) g_soundModule.services.errorLog->ReportBox(code, "%s", text.c_str());
}

void SoundCritical(int code, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  if (g_soundModule.services.errorLog) g_soundModule.services.errorLog->Critical(code, "%s", text.c_str());
  // Without a reporter (a manager made outside the factory) the program still ends.
  std::fprintf(stderr, "*** %s", text.c_str());
  CriticalExit(-1);
}

bool CreateSoundMng(N_SoundMng** out, const N_CoreServices* block) {
  // Construction runs before the copy: nothing in it reports through the module.
  auto* manager = new N_SoundMng();
  if (out) *out = manager;
  if (block) g_soundModule.services = *block;
  g_soundModule.manager = manager;
  if (!manager->HasDevice()) SoundLog("!!! No audio device could be opened: sound is off\n");
  return true;
}

void ReleaseSoundMng(N_SoundMng** manager) {
  if (!manager || !*manager) return;
  if (g_soundModule.manager == *manager) g_soundModule.manager = nullptr;
  delete *manager;
  *manager = nullptr;
}
