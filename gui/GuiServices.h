#pragma once
// What the GUI reaches of the world root and the other services. The GUI sits below
// the world, so it never reads the world itself: the world fills this record when it
// creates the GUI manager and empties it after deleting the manager; tests fill it
// with objects of their own.
//
// Any pointer may be null; the GUI then does without that service: no shader handles
// (they stay -1), nothing queued or measured, no fonts, no look-ups by name. The sound
// manager (g_soundMng) and the timer (g_timer) are read through their own globals.
#include "core/Font.h"

#include <string>

class N_Camera;
class N_GuiFigures;
class N_GuiMng;
class N_ShaderMng;
class N_TextBatch;

struct N_GuiServices {
  N_GuiMng* guiMng = nullptr;  ///< pages and elements by name, the cursor counter, the modal page
  N_ShaderMng* shaderMng = nullptr;
  N_TextBatch* textBatch = nullptr;  ///< where every element queues its quads and text
  N_FontList* fonts = nullptr;       ///< the world's font list, for LoadFont
  N_GuiFigures* figures = nullptr;   ///< the athletes and their skier figures (model views)
  N_Camera* camera = nullptr;        ///< the world's current camera, kept up to date by the world
};

extern N_GuiServices g_guiServices;

/// The GUI's fault report: failed look-ups and creations go to the error reporter with
/// code 12 (logged as "*** " and the text, and written to the debugger output). Never
/// fatal; nothing happens without a reporter. While a page script is read, the report
/// ends with the place of the line read (see GuiScriptPlace).
[[gnu::format(printf, 1, 2)]] void GuiReport(const char* format, ...);

/// The file and line the page-script reader is at ("data\scripts\gui\menu.gui:12"),
/// set by the reader while it reads and empty otherwise: the GUI's messages about what
/// a script asked for name it.
const std::string& GuiScriptPlace();
void SetGuiScriptPlace(std::string place);
/// " (place)" while a page script is read, else empty: the tail of a message.
std::string GuiScriptPlaceSuffix();

/// The handle of a 2D (GUI) shader of that name; -1 without a shader manager.
int GuiAddShader(const std::string& name);
/// A plain sound of the sound shader of that name; 0 without a sound manager (whose
/// unknown names end the program).
int GuiCreateSound(const std::string& name);
/// Plays a sound handle other than 0.
void GuiPlaySound(int handle);
/// Seconds of the last frame; 0 without a timer.
float GuiFrameTime();
