#include "tests/platform/ScreenGrab.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

namespace test {

void ScreenSize(int& width, int& height) {
  width = height = 0;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  width = DisplayWidth(display, DefaultScreen(display));
  height = DisplayHeight(display, DefaultScreen(display));
  XCloseDisplay(display);
}

namespace {

/// Calls the visitor with every pixel of the block; false without a display or image.
template <class Visit>
bool ForEachPixel(int x, int y, int w, int h, Visit visit) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(w),
                            static_cast<unsigned>(h), AllPlanes, ZPixmap);
  const bool read = image != nullptr;
  if (image) {
    for (int j = 0; j < h; ++j) {
      for (int i = 0; i < w; ++i) {
        const unsigned long p = XGetPixel(image, i, j);
        visit(Rgb{static_cast<int>((p & image->red_mask) >> 16), static_cast<int>((p & image->green_mask) >> 8),
                  static_cast<int>(p & image->blue_mask)});
      }
    }
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return read;
}

}  // namespace

std::optional<Rgb> ScreenAverage(int x, int y, int w, int h) {
  long r = 0, g = 0, b = 0;
  if (!ForEachPixel(x, y, w, h, [&](const Rgb& p) { r += p.r, g += p.g, b += p.b; })) return std::nullopt;
  const long n = static_cast<long>(w) * h;
  return Rgb{static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)};
}

std::optional<int> CountScreenPixels(int x, int y, int w, int h, bool (*accept)(const Rgb&)) {
  int count = 0;
  if (!ForEachPixel(x, y, w, h, [&](const Rgb& p) { count += accept(p) ? 1 : 0; })) return std::nullopt;
  return count;
}

bool PointerShown() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  XFixesCursorImage* image = XFixesGetCursorImage(display);
  bool shown = false;
  for (int i = 0; image && i < int(image->width) * int(image->height); ++i) shown |= (image->pixels[i] >> 24) != 0;
  if (image) XFree(image);
  XCloseDisplay(display);
  return shown;
}

bool PointerFree() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  const int grabbed = XGrabPointer(display, DefaultRootWindow(display), False, ButtonPressMask, GrabModeAsync,
                                   GrabModeAsync, None, None, CurrentTime);
  if (grabbed == GrabSuccess) XUngrabPointer(display, CurrentTime);
  XCloseDisplay(display);
  return grabbed == GrabSuccess;
}

}  // namespace test
