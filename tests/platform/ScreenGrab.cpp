#include "tests/platform/ScreenGrab.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace test {

void ScreenSize(int& width, int& height) {
  width = height = 0;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  width = DisplayWidth(display, DefaultScreen(display));
  height = DisplayHeight(display, DefaultScreen(display));
  XCloseDisplay(display);
}

std::optional<Rgb> ScreenAverage(int x, int y, int w, int h) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return std::nullopt;
  XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(w),
                            static_cast<unsigned>(h), AllPlanes, ZPixmap);
  std::optional<Rgb> result;
  if (image) {
    long r = 0, g = 0, b = 0;
    for (int j = 0; j < h; ++j) {
      for (int i = 0; i < w; ++i) {
        const unsigned long p = XGetPixel(image, i, j);
        r += (p & image->red_mask) >> 16;
        g += (p & image->green_mask) >> 8;
        b += p & image->blue_mask;
      }
    }
    const long n = static_cast<long>(w) * h;
    result = Rgb{static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)};
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return result;
}

}  // namespace test
