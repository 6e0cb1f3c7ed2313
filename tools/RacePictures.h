#pragma once
// The pictures of the race pages' materials (data/scripts/race.shader), which the
// datagen step "race" writes below "data/": the status panel's frame, bars and map
// marks, the cartridges, penalty counts and targets of the shooting display, its miss
// flash and stopwatch, the nations' flags (three stripes each), the weather and snow
// icons, and the plain maps of the levels without a sample course (the sample
// courses' maps are drawn from their tracks, tools/CourseMap.h). Procedural: the same
// bytes on every run.
#include "tools/GuiPictures.h"

#include <array>
#include <string>
#include <vector>

namespace datagen {

/// The nations of the athletes' records and the menus, in the menus' order.
inline constexpr std::array<const char*, 32> kNationCodes{
    "GER", "AUT", "SUI", "USA", "FRA", "ROM", "GRL", "ARG", "MDA", "GRE", "ITA", "NZL", "HUN", "LTU", "CRO", "CHI",
    "AUS", "BUL", "CAN", "BLR", "CZE", "EST", "FIN", "GBR", "LAT", "NOR", "POL", "RUS", "SLO", "SVK", "SWE", "UKR"};

/// The levels of the level tables, in the full table's order.
inline constexpr std::array<const char*, 12> kLevelNames{
    "Beitostolen", "Holmenkollen", "Ostersund", "Oberhof", "Ruhpolding", "Antholz",
    "Torino",      "Pokljuka",     "Hochfilzen", "Khanty-Mansiysk", "Running", "Training"};

/// A flag's colour at (u, v) in 0..1 across and down; transparent black for a code
/// outside kNationCodes.
Rgba FlagColour(const std::string& code, float u, float v);

/// A level's map picture without a course: snow with a light frame.
RgbaImage PlainMap();

/// Every picture of the step but the sample courses' maps.
std::vector<GuiPicture> RacePictures();

}  // namespace datagen
