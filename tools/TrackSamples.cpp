// Steps "trackpictures" and "tracklevels": what the race set-up pages name by a row of
// the full level table beyond the two sample courses.
// - The ten track pictures "textures\menu\trat01s" to "trat10s" (data/scripts/
//   tracks.shader), one per row 0 to 9: a disc of its own hue on a dark ground with
//   the row's number (one-based) in the title letters.
// - The levels of rows 2 to 9 ("Ostersund" to "Khanty-Mansiysk"), plain and "fog_",
//   each with its ".cfg": variants of the two sample courses (course::VariantLayouts),
//   so that every track a set-up page offers loads. Rows 0 and 1 are the sample
//   courses themselves.
#include "tools/Course.h"
#include "tools/DdsWriter.h"
#include "tools/GuiPictures.h"
#include "tools/Step.h"
#include "tools/TexturePictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

using datagen::Rgba;
using datagen::RgbaImage;

constexpr int kTracks = 10;

Rgba HueColour(float hue, float value) {
  const float h = std::fmod(hue, 1.0f) * 6.0f;
  const float x = 1.0f - std::fabs(std::fmod(h, 2.0f) - 1.0f);
  const std::array<std::array<float, 3>, 6> sectors{{{1, x, 0}, {x, 1, 0}, {0, 1, x}, {0, x, 1}, {x, 0, 1}, {1, 0, x}}};
  const auto& c = sectors[static_cast<std::size_t>(std::clamp(static_cast<int>(h), 0, 5))];
  return datagen::ColourOf(c[0] * value, c[1] * value, c[2] * value);
}

/// Track picture of row i: 128 x 96, the disc in the row's hue, its number on top.
RgbaImage TrackPicture(int row) {
  const float hue = static_cast<float>(row) / kTracks;
  RgbaImage img = datagen::DrawPicture(128, 96, [hue](float u, float v) {
    const float dx = (u - 0.5f) * 1.33f, dy = v - 0.5f;
    const float r = std::hypot(dx, dy) * 2.0f;
    if (r > 0.95f) return datagen::ColourOf(0.06f, 0.08f, 0.16f);
    return HueColour(hue, 0.55f + 0.4f * (1.0f - r));
  });
  char number[4];
  std::snprintf(number, sizeof number, "%d", row + 1);
  datagen::DrawGlyphText(img, number, 64, 27, 6, {255, 255, 255, 255});
  return img;
}

bool WriteTrackPictures(datagen::Output& out) {
  bool ok = true;
  for (int row = 0; row < kTracks; ++row) {
    char name[48];
    std::snprintf(name, sizeof name, "data/textures/menu/trat%02ds.dds", row + 1);
    ok = out.Write(name, datagen::EncodeDds(TrackPicture(row), {datagen::DdsFormat::A8R8G8B8, false})) && ok;
  }
  return ok;
}

bool WriteTrackLevels(datagen::Output& out) {
  bool ok = true;
  for (const course::Layout& variant : course::VariantLayouts()) {
    const course::Course built = course::BuildCourse(variant);
    for (const bool fog : {false, true}) ok = course::WriteCourse(out, built, variant.name, fog) && ok;
  }
  return ok;
}

const datagen::StepRegistrar kTrackPictures{
    {"trackpictures", "the set-up pages' ten numbered track pictures", &WriteTrackPictures}};
const datagen::StepRegistrar kTrackLevels{
    {"tracklevels", "the levels of the full table's rows 2 to 9, variants of the sample courses", &WriteTrackLevels}};

}  // namespace
