#pragma once
// The scene's critical errors: data the figures cannot survive (a reference mesh outside
// the fixed set, a figure mesh that does not load, a broken emitter control script, too
// many breathing sounds) ends the program through the reporter's critical path. Without
// a reporter the text goes to stderr and the program still ends.
[[noreturn]] [[gnu::format(printf, 2, 3)]] void SceneCritical(int code, const char* format, ...);
