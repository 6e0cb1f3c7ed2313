#pragma once
// The DirectShow-shaped video playback the engine calls, over FFmpeg and SDL2: COM
// initialisation and creation, the filter graph's IGraphBuilder, IMediaControl,
// IVideoWindow and IMediaEventEx, and the text conversion for file names.
#include "platform/dshow/Com.h"
#include "platform/dshow/Interfaces.h"
#include "platform/win32/Unicode.h"
