// The spectators' script ("data\ai\divaci.ai") through N_AudienceMng::ParseScript: its
// mesh blocks and case lists, then the loading of what it names. The game root's
// spectator meshes and animations are copied into the fuzz directory once, so a script
// that names them loads them with their low meshes.
#include "fuzz/FuzzSupport.h"
#include "fuzz/RecordingRenderer.h"
#include "scene/AudienceMng.h"

#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::RecordingRenderer();
  static const bool copied = [] {
    std::filesystem::copy(std::filesystem::path(NAVO_GAME_ROOT) / "data/Ai", "data/Ai",
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::skip_existing);
    return true;
  }();
  (void)copied;
  fuzz::WriteFile("data\\ai\\divaci.ai", data, size);
  fuzz::Guarded([] {
    N_AudienceMng audience;
    audience.ParseScript("data\\ai\\divaci.ai");
    audience.LogNames();
  });
  fuzz::ForgetCalls();
  return 0;
}
