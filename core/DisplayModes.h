#pragma once
// The window's size and the display's gamma ramp: the ramp found before the game set
// one (put back at the end) and the game's own working ramp.
#include "platform/win32.h"

/// A device gamma ramp: red, green and blue tables of 256 16-bit entries.
struct N_GammaRamp {
  WORD red[256] = {};
  WORD green[256] = {};
  WORD blue[256] = {};
};
static_assert(sizeof(N_GammaRamp) == 3 * 256 * 2);

class N_DisplayModes {
 public:
  /// Reads the wanted size from "v_width" and "v_height".
  void Capture();
  /// Makes the wanted size one the display can show (its size in pixels, 0 when
  /// unknown): a side below kMinWidth x kMinHeight (a NaN reads as 0, "1e23" as 1)
  /// gives kFallbackWidth x kFallbackHeight; a side beyond the display, or beyond kMaxSide, is cut to it. A
  /// change is logged and written back to "v_width" and "v_height", which the
  /// renderer reads for its back buffer. True when the size changed. A size that only
  /// this display cannot show is the player's choice all the same: RestoreChoice puts
  /// it back for saving.
  bool FitToDisplay(int displayWidth, int displayHeight);
  /// Before the settings are saved: "v_width" and "v_height" get back the choice that
  /// FitToDisplay cut to the display, unless they were set to another size since.
  void RestoreChoice();
  /// Keeps the display's ramp as read through the window. Called once the window
  /// exists (a ramp can only be read through a window) and before anything sets one.
  void CaptureGamma(HWND window);
  /// Builds the working ramp for the gamma and sets it on the window in "wnd_handle".
  void SetGamma(float gamma);
  /// Back to the desktop's display mode, then the kept ramp on the window in "wnd_handle".
  void Restore();

  /// Entry i = trunc(255 (i/255)^(1/g)) x 256 in all three tables, g = SaneGamma(gamma).
  static void BuildRamp(float gamma, N_GammaRamp& ramp);

  /// The largest side of a window the layer makes.
  static constexpr int kMaxSide = 16384;
  /// The smallest window the menus fit in: their virtual screen.
  static constexpr int kMinWidth = 640;
  static constexpr int kMinHeight = 480;
  static constexpr int kFallbackWidth = 800;
  static constexpr int kFallbackHeight = 600;

  /// The range a gamma is held in: beyond it the desktop turns black or white.
  static constexpr float kMinGamma = 0.5f;
  static constexpr float kMaxGamma = 3.0f;
  /// A gamma fit to build a ramp from: 0, a negative value and NaN count as 1 (no
  /// change); other values are held in kMinGamma..kMaxGamma.
  static float SaneGamma(float gamma);

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  const N_GammaRamp& WorkingRamp() const { return m_working; }

 private:
  int m_width = 0;
  int m_height = 0;
  int m_choiceWidth = 0;  ///< the configured size this display could not show; 0: none
  int m_choiceHeight = 0;
  N_GammaRamp m_saved;
  N_GammaRamp m_working;
  bool m_hasSavedRamp = false;
};
