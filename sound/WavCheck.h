#pragma once
// The check a wav file passes before freealut loads it. freealut trusts the lengths a
// file gives: it allocates a whole chunk before it reads it (also one it only skips), so
// a damaged length makes it ask for gigabytes for a file of a few hundred bytes. A file
// is handed to it only when it is a RIFF "WAVE" file whose chunks up to the "data" chunk
// all lie within the file, with a "fmt " chunk of at least 16 bytes before "data".
#include <string_view>

/// True when the file's bytes may be given to freealut's wav loader.
bool IsWholeWavFile(std::string_view bytes);
