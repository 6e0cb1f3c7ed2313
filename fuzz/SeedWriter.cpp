// Writes the seeds the sample data lacks: "config.cfg" as the game saves its settings
// at exit, the key definitions table as it saves the bindings, a career roster, a
// recorded run, the top-times tables and career profiles as the game saves them, a cube and a volume
// texture from the sample data's DDS writer (the game's samples are all
// two-dimensional), animated meshes and a static mesh with what the sample props lack
// (lightmapped surfaces, tracks out of bone order), small and damaged videos, the
// sample courses' level files with their ground cut down to one triangle a surface (a
// whole course is a megabyte, mostly ground vertices: too long an input), and the
// inputs of the targets that read several files from one input (FuzzSupport.h), made
// of the game root's sample files.
// Usage: fuzz_seeds <folder> <game root>.
#include "core/BuiltinVars.h"
#include "core/Globals.h"
#include "core/KeyDefinitions.h"
#include "core/VarMng.h"
#include "frontend/BuddyGamesHS.h"
#include "frontend/CareerTables.h"
#include "frontend/career/CareerProfileFile.h"
#include "frontend/career/CareerState.h"
#include "platform/win32.h"
#include "race/AthletMng.h"
#include "race/RunRecorder.h"
#include "race/TopTimeTables.h"
#include "render/ShaderMng.h"
#include "tools/AnimWriter.h"
#include "tools/Course.h"
#include "tools/DdsWriter.h"
#include "tools/LevelWriter.h"
#include "tools/MeshWriter.h"
#include "tools/VideoWriter.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

datagen::RgbaImage Picture(int size, std::uint8_t tint) {
  datagen::RgbaImage image(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      image.At(x, y) = {static_cast<std::uint8_t>(x * 32), static_cast<std::uint8_t>(y * 32), tint, 200};
    }
  }
  return image;
}

bool WriteBytes(const char* path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return out.good();
}

bool WriteTextures() {
  using datagen::DdsFormat;
  std::array<datagen::RgbaImage, 6> faces;
  for (int i = 0; i < 6; ++i) faces[i] = Picture(8, static_cast<std::uint8_t>(i * 40));
  const std::vector<datagen::RgbaImage> slices{Picture(4, 0), Picture(4, 80), Picture(4, 160), Picture(4, 240)};
  return WriteBytes("cube.dds", datagen::EncodeCubeDds(faces, {DdsFormat::Dxt1, true})) &&
         WriteBytes("cube_a8r8g8b8.dds", datagen::EncodeCubeDds(faces, {DdsFormat::A8R8G8B8, false})) &&
         WriteBytes("volume.dds", datagen::EncodeVolumeDds(slices, {DdsFormat::X8R8G8B8, true})) &&
         WriteBytes("volume_dxt5.dds", datagen::EncodeVolumeDds(slices, {DdsFormat::Dxt5, false}));
}

/// Each surface keeps its material, kind and lightmap over its first triangle.
datagen::SurfaceData FirstTriangles(const datagen::SurfaceData& ground) {
  datagen::SurfaceData cut;
  cut.materials = ground.materials;
  cut.lightmaps = ground.lightmaps;
  for (const N_SurfaceDescriptor& d : ground.surfaces) {
    std::vector<N_SurfaceVertex> corners;
    for (std::uint32_t i = 0; i < 3 && i < d.vertexCount; ++i) corners.push_back(ground.vertices[d.firstVertex + i]);
    const std::vector<std::uint16_t> triangle =
        corners.size() == 3 ? std::vector<std::uint16_t>{0, 1, 2} : std::vector<std::uint16_t>{};
    cut.AddSurface(corners, triangle, d.material, d.kind, d.lightmap);
  }
  return cut;
}

/// The level target draws frames of what loads: a course's first spectators and scene
/// objects (with every moving one) stand for all of them, at a fraction of the cost.
void KeepFew(datagen::LevelData& level) {
  constexpr std::size_t kFew = 12;
  if (level.spectators.size() > kFew) level.spectators.resize(kFew);
  std::vector<datagen::LevelSceneObject> kept;
  for (const datagen::LevelSceneObject& object : level.sceneObjects) {
    if (kept.size() < kFew || object.cameraPath >= 0) kept.push_back(object);
  }
  level.sceneObjects = std::move(kept);
}

bool WriteLevels() {
  bool ok = true;
  for (const course::Layout& layout : course::Layouts()) {
    datagen::LevelData level = course::BuildCourse(layout).level;
    level.geometry = FirstTriangles(level.geometry);
    KeepFew(level);
    ok = WriteBytes(("level_" + layout.name + ".alf").c_str(), datagen::EncodeLevel(level)) && ok;
  }
  return ok;
}

/// The path network's seeds: each sample course's point sets and triggers alone, the
/// level's part that N_AiPath::Load reads.
bool WritePathSeeds() {
  std::filesystem::create_directories("ai_path");
  bool ok = true;
  for (const course::Layout& layout : course::Layouts()) {
    const datagen::LevelData course = course::BuildCourse(layout).level;
    datagen::LevelData level;
    level.pointSets = course.pointSets;
    level.triggers = course.triggers;
    ok = WriteBytes(("ai_path/" + layout.name + ".alf").c_str(), datagen::EncodeLevel(level)) && ok;
  }
  return ok;
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteText(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return out.good() && !text.empty();
}

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

/// The line that starts a further file of a fuzz input.
std::string FileMark(const std::string& name) { return "\n//@ " + name + "\n"; }

/// Mesh and animation one after the other, as the animation target reads them: the
/// sample flag, and a mesh of three bones with a box (and its shadow mesh) and a
/// lightmapped surface, played by tracks out of bone order, one of them short.
bool WriteAnimSeeds(const std::filesystem::path& root) {
  const std::string flag = ReadText(root / "data/anim/props/flag.mesh") + ReadText(root / "data/anim/props/flag.anim");
  datagen::AnimMeshBuilder mesh;
  const int base = mesh.AddBone("root", -1, {0, 0, 0});
  const int tip = mesh.AddBone("tip", base, {10, 0, 0});
  const int end = mesh.AddBone("end", tip, {30, 0, 0});
  mesh.AddBox(mesh.AddMaterial("props/flag_pole"), {-1, -1, -1}, {1, 1, 1}, {{base, 1.0f}});
  std::vector<datagen::AnimMeshBuilder::Vertex> lit(3);
  lit[0].skinPoint = mesh.AddSkinPoint({0, 0, 10}, {{base, 0.5f}, {tip, 0.5f}});
  lit[1].skinPoint = mesh.AddSkinPoint({20, 0, 0}, {{tip, 1.0f}});
  lit[2].skinPoint = mesh.AddSkinPoint({30, 0, 10}, {{end, 1.0f}});
  mesh.AddSurface(mesh.AddMaterial("props/flag_cloth"), lit, {0, 1, 2}, animfile::kLightmappedSurface, 0,
                  mesh.AddLightmap("maps/lm0"));
  std::vector<datagen::AnimTrack> tracks{{"end", {}}, {"root", {}}, {"tip", {}}};
  for (int f = 0; f < 5; ++f) {
    tracks[0].keys.push_back(mesh.Key(end, datagen::AxisRotation({1, 0, 0}, 0.2f * float(f))));
    tracks[1].keys.push_back(mesh.Key(base, datagen::AxisRotation({0, 0, 1}, 0.1f * float(f))));
    if (f < 2) tracks[2].keys.push_back(mesh.Key(tip, datagen::AxisRotation({0, 1, 0}, 0.3f * float(f))));
  }
  return WriteText("anim/flag.seed", flag) &&
         WriteText("anim/three_bones.seed", Text(mesh.Write()) + Text(datagen::WriteAnimation(tracks)));
}

/// A static mesh of a lightmapped and a plain surface over two materials.
bool WriteMeshSeeds() {
  datagen::SurfaceData data;
  data.materials = {"walls", "roof"};
  data.lightmaps = {"lm/one", "lm/two"};
  const std::vector<N_SurfaceVertex> quad{
      datagen::MeshVertex(-50, 0, -50, 0xFFFFFFFF, 0, 0), datagen::MeshVertex(50, 0, -50, 0xFFFFFFFF, 1, 0),
      datagen::MeshVertex(-50, 0, 50, 0xFFFFFFFF, 0, 1), datagen::MeshVertex(50, 0, 50, 0xFFFFFFFF, 1, 1)};
  data.AddSurface(quad, {0, 1, 2, 2, 1, 3}, 0, surfacefile::kLightmappedSurface, 1);
  data.AddSurface(quad, {0, 2, 1}, 1);
  return WriteText("meshes/lightmapped.mesh", Text(datagen::EncodeMesh(data)));
}

/// The main menu with the templates it includes, and a file that includes itself and
/// another file that includes it back.
bool WriteGuiSeeds(const std::filesystem::path& root) {
  const std::filesystem::path gui = root / "data/scripts/gui";
  const std::string menu = ReadText(gui / "mainmenu.gui") + FileMark("templates.gui") + ReadText(gui / "templates.gui");
  const std::string cycle = "#include fuzz.gui\n#include loop.gui\n" + ReadText(gui / "background.gui") +
                            FileMark("loop.gui") + "#include fuzz.gui\n" + ReadText(gui / "credits.gui");
  return WriteText("gui/menu.gui", menu) && WriteText("gui/cycle.gui", cycle);
}

/// The sample profiles with the roster of career 1 the athlete manager saves for them.
bool WriteAthleteSeeds(const std::filesystem::path& root) {
  const std::string profiles = ReadText(root / "data/profiles/playerprofiles.data");
  if (!WriteText("data/profiles/playerprofiles.data", profiles)) return false;
  N_ShaderMng shaders(64);
  std::string roster;
  {
    N_AthletMng athletes(shaders);
    athletes.ParseProfiles("data\\profiles\\playerprofiles.data");
    athletes.SplitBySex();
    if (athletes.AthleteCount() == 0 || !athletes.Save(1)) return false;
    roster = ReadText("data/tables/profile1");
  }
  std::filesystem::remove_all("data/profiles");
  std::filesystem::remove("data/tables/profile1");
  return WriteText("athletes/career.profiles", profiles + FileMark("profile1") + roster);
}

/// The sample tables with the strategy lists and strategies of their folder.
bool WriteAiSeeds(const std::filesystem::path& root) {
  const std::filesystem::path ai = root / "data/Ai";
  std::string tables = ReadText(ai / "Anims.physics") + FileMark("Anims.time") + ReadText(ai / "Anims.time");
  std::vector<std::filesystem::path> strategies;
  for (const auto& entry : std::filesystem::directory_iterator(ai / "Strategy")) strategies.push_back(entry.path());
  std::sort(strategies.begin(), strategies.end());  // the same bytes every build
  for (const std::filesystem::path& file : strategies) {
    tables += FileMark("Strategy\\" + file.filename().string()) + ReadText(file);
  }
  return !strategies.empty() && WriteText("ai_tables/sample.physics", tables);
}

/// A run of five seconds along a curve, as the time-attack mode records and saves it.
bool WriteRunSeeds() {
  N_RunRecorder run;
  run.StartRecording(nullptr, {0, 0, 0}, {0, 1, 0}, 0);
  for (int step = 1; step <= 50; ++step) {
    const float t = 0.1f * float(step);
    run.Step(0.1f, {10.0f * t * t, 50.0f * t, 0.0f}, {0.6f, 0.8f, 0.0f}, std::int8_t(step / 10));
  }
  const std::string name = GetTimeAttackFileName(0, 0, 0, 0);
  if (!run.Save(name)) return false;
  const std::string bytes = ReadText("data/tables/" + name);
  std::filesystem::remove("data/tables/" + name);
  return WriteText("recorded_run/run.dat", bytes);
}

/// The three top-times tables as the recording functions save them, a few rows each
/// (a relay's without an athlete name, a refused negative time).
bool WriteTopTimeSeeds() {
  N_ArcadeHS arcade;
  arcade.Insert(0, 0, 0, 0, "Player", "Racer One", "NOR", 1, 2, 612.25f, 3);
  arcade.Insert(0, 0, 0, 0, "Second", "Racer Two", "GER", 0, 0, 598.5f, 0);
  arcade.Insert(0, 1, 3, 1, "Team", "", "AUT", 2, 1, 4100.0f, 7);
  arcade.Insert(0, 0, 0, 0, "Late", "Racer Three", "SWE", 0, 0, -1.0f, 0);
  N_SingleRaceHS single;
  single.Insert(0, 0, 1, 0, "Player", "Racer One", "NOR", 0, 1, 2400.0f, 2);
  N_TimeAttackHS attack;
  attack.Insert(0, 0, 0, 0, 0, "Player", "Racer One", "NOR", 301.0f, 1);
  attack.Insert(0, 0, 0, 0, 0, "Player", "Racer One", "NOR", 299.5f, 0);
  if (!arcade.Save() || !single.Save() || !attack.Save()) return false;
  std::filesystem::create_directories("top_times");
  bool written = true;
  for (const char* name : {"arcade.hs", "single_race.hs", "time_attack.hs"}) {
    written = WriteText(std::string("top_times/") + name, ReadText(std::string("data/tables/") + name)) && written;
    std::filesystem::remove(std::string("data/tables/") + name);
  }
  return written;
}

/// The buddy and career top-score tables as their pages save them, a few rows each.
bool WriteHighScoreSeeds() {
  N_BuddyGamesHS buddy;
  buddy.Insert(0, "Player", "NOR", 12, 60.0f);
  buddy.Insert(0, "Second", "GER", 12, 58.5f);
  buddy.Insert(3, "Runner", "SWE", 0, 301.25f);
  N_CareerFinalHS final;
  final.Insert(0, "Player", "NOR", 50000, 10);
  final.Insert(0, "Other", "AUT", 40000, 300);
  N_CareerHS career;
  career.AddResult(0, 0, 0, 0, "Player", "NOR", 1500.0f, 2, 60);
  career.AddResult(1, 0, 0, 0, "Rival", "GER", -1.0f, 0, 0);
  if (!buddy.Save() || !final.Save() || !career.Save(1)) return false;
  std::filesystem::create_directories("high_scores");
  bool written = true;
  for (const char* name : {"buddy_games.hs", "career.hs", "career1.hs"}) {
    written = WriteText(std::string("high_scores/") + name, ReadText(std::string("data/tables/") + name)) && written;
    std::filesystem::remove(std::string("data/tables/") + name);
  }
  return written;
}

/// Career profiles as the career saves them: a new one, and one in its fourth season
/// with a week plan, a standing sponsor event and a pursuit list.
bool WriteCareerProfileSeeds() {
  std::filesystem::create_directories("career_profile");
  N_CareerProfile fresh;
  fresh.number = 1;
  career::Week() = CareerWeekState{};
  bool written = career::SaveCareerProfile(fresh) &&
                 WriteText("career_profile/new.dat", ReadText("data/tables/profile1.dat"));
  N_CareerProfile running = fresh;
  running.started = 1;
  running.season = 3;
  running.raceIndex = 6;
  running.stage = 1;
  running.account = 23450;
  for (int i = 0; i < 10; ++i) running.trackOrder[i] = (i * 7) % 10;
  running.extraRaces[0] = 2;
  running.extraRaces[1] = 6;
  for (int i = 0; i < 15; ++i) running.field[i] = i;
  running.pursuitCount = 3;
  running.pursuitList[1] = {4, -12.5f};
  running.pursuitList[2] = {14, -30.0f};
  const auto& items = career::ScheduleItems();
  career::Week().days[0] = {items[4], items[0]};
  career::Week().days[2] = {items[8]};
  career::Week().days[4] = {items[9]};
  career::Week().sponsorEvent = 2;
  career::Week().sponsorPrize = 1800;
  written = written && career::SaveCareerProfile(running) &&
            WriteText("career_profile/running.dat", ReadText("data/tables/profile1.dat"));
  // A save cut short after its journal (its renames fail): the old profile, the journal
  // and the staged new one; the journal with CR LF line ends; a staged roster beside it
  // that no line names.
  platform::SetReplaceFailureHook([](platform::ReplaceStep step) { return step == platform::ReplaceStep::Rename; });
  running.account += 100;
  written = written && !career::SaveCareerProfile(running);
  platform::SetReplaceFailureHook({});
  const std::string old = ReadText("data/tables/profile1.dat"), journal = ReadText("data/tables/.career1.set");
  const std::string staged = FileMark(".profile1.dat.together") + ReadText("data/tables/.profile1.dat.together");
  std::string crlf;
  for (char c : journal) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  written = written && WriteText("career_profile/set.dat", old + FileMark(".career1.set") + journal + staged) &&
            WriteText("career_profile/set_crlf.dat", old + FileMark(".career1.set") + crlf + staged) &&
            WriteText("career_profile/set_unnamed.dat", old + FileMark(".career1.set") + journal + staged +
                                                            FileMark(".profile1.together") + "roster");
  career::Week() = CareerWeekState{};
  for (const char* file : {"profile1.dat", ".career1.set", ".profile1.dat.together"})
    std::filesystem::remove(std::string("data/tables/") + file);
  return written;
}

/// The five vertex programs of the sample data as one input, "wave.vsh" first.
bool WriteVertexProgramSeeds(const std::filesystem::path& root) {
  const std::filesystem::path vp = root / "data/scripts/vp";
  std::string programs = ReadText(vp / "wave.vsh");
  for (const char* name : {"water.vsh", "alphadot.vsh", "rgbgen.vsh", "autosprite.vsh"}) {
    programs += FileMark(name) + ReadText(vp / name);
  }
  return WriteText("vertex_programs/all.vsh", programs);
}

/// Small videos, quick to decode: a sound, a whole one, and the damaged timings the
/// player refuses to wait for (a broken frame rate, a jump in the time stamps).
bool WriteVideoSeeds() {
  std::filesystem::create_directories("video");
  tools::IntroVideoSpec small;
  small.width = 64;
  small.height = 48;
  small.frames = 12;
  tools::IntroVideoSpec slow = small;
  slow.rateDivisor = 1000;
  tools::IntroVideoSpec jump = small;
  jump.jumpAt = 6;
  jump.jumpSeconds = 10;
  return tools::WriteIntroVideo("video/small.avi", small) && tools::WriteIntroVideo("video/slow_rate.avi", slow) &&
         tools::WriteIntroVideo("video/time_jump.avi", jump) && tools::WriteSoundOnlyAvi("video/sound_only.avi", 0.2);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fuzz_seeds <folder> <game root>\n");
    return 2;
  }
  const std::filesystem::path root = std::filesystem::absolute(argv[2]);
  std::filesystem::create_directories(argv[1]);
  std::filesystem::current_path(argv[1]);
  N_VarMng vars;
  g_varMng = &vars;
  RegisterBuiltinVars();
  vars.SetString("fuzz_text", "a \"quoted\" word", 0x21);  // a saved value with quotes
  const bool config = vars.Save("config.cfg");
  g_varMng = nullptr;
  platform::MakeDirectories("data\\tables\\");
  ResetKeyDefinitions();
  const bool keys = SaveKeyDefinitions();
  const bool textures = WriteTextures();
  const bool files = WriteAnimSeeds(root) && WriteMeshSeeds() && WriteGuiSeeds(root) && WriteAthleteSeeds(root) &&
                     WriteAiSeeds(root) && WriteRunSeeds() && WriteTopTimeSeeds() && WriteHighScoreSeeds() && WriteCareerProfileSeeds() && WriteVertexProgramSeeds(root) &&
                     WriteVideoSeeds() && WriteLevels() && WritePathSeeds();
  if (!config || !keys || !textures || !files) {
    std::fprintf(stderr, "fuzz_seeds: could not write the seeds into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
