#pragma once
// Test helper: reads pixels of the X display's root window (what is on screen), and
// the pointer as the display shows it to other programs.
#include <cstdint>
#include <optional>

namespace test {

struct Rgb {
  int r = 0, g = 0, b = 0;
};

/// The average colour of a w x h block of the screen at (x, y); empty without a display.
std::optional<Rgb> ScreenAverage(int x, int y, int w, int h);
/// How many pixels of a w x h block of the screen at (x, y) the test accepts; empty
/// without a display.
std::optional<int> CountScreenPixels(int x, int y, int w, int h, bool (*accept)(const Rgb&));
/// The size of the default screen; {0, 0} without a display.
void ScreenSize(int& width, int& height);

/// Whether the pointer's image, where the pointer stands, has a visible pixel (false
/// without a display).
bool PointerShown();
/// Whether another program can grab the pointer now: no grab is held (the trial grab
/// is let go at once). False without a display.
bool PointerFree();

}  // namespace test
