// The five vertex programs ("data\scripts\vp\*.vsh"), through N_Render::LoadVertexPrograms
// as the renderer's start-up assembles them (D3DXAssembleShaderFromFileA), on the
// recording renderer, whose device takes any program text.
//
// The input is "wave.vsh"; lines "//@ NAME" in it start further files of the folder
// (FuzzSupport.h), e.g. "water.vsh". Checked: a program is made exactly for each of the
// five files that exists and holds text (no zero byte, not only blanks), so a damaged
// file leaves its program none instead of handing the device bytes that are no text.
#include "fuzz/FuzzSupport.h"
#include "fuzz/RecordingRenderer.h"
#include "platform/win32/Files.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kPrograms[] = {"wave", "water", "alphadot", "rgbgen", "autosprite"};

/// How many of the five programs the assembler should take as they lie in the folder.
std::size_t ProgramsWithText() {
  std::size_t count = 0;
  for (const char* name : kPrograms) {
    std::string text;
    if (!platform::ReadWholeFile(std::string("data\\scripts\\vp\\") + name + ".vsh", text)) continue;
    if (text.find('\0') == std::string::npos && text.find_first_not_of(" \t\r\n") != std::string::npos) ++count;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  N_Render& render = fuzz::RecordingRenderer();
  std::vector<fuzz::InputFile> files = fuzz::SplitFiles(std::string_view(reinterpret_cast<const char*>(data), size));
  files.front().name = "wave.vsh";
  fuzz::WriteFiles("data\\scripts\\vp", files);
  const std::size_t expected = ProgramsWithText();
  fuzz::ForgetCalls();
  render.LoadVertexPrograms();
  fuzz::Check(fuzz::RecordingDeviceOf().CallsStartingWith("CreateVertexShader").size() == expected,
              "a program made of a file without text, or one refused with text");
  fuzz::ForgetCalls();
  return 0;
}
