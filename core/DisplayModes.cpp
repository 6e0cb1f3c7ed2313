#include "core/DisplayModes.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"

#include <algorithm>
#include <cmath>

namespace {

HWND MainWindow() { return g_varMng ? static_cast<HWND>(g_varMng->GetInt("wnd_handle")) : 0; }

/// Sets a ramp on a window's display; failures are silent (no display, no gamma support).
void ApplyRamp(HWND window, N_GammaRamp& ramp) {
  const HDC dc = GetDC(window);
  if (!dc) return;
  SetDeviceGammaRamp(dc, &ramp);
  ReleaseDC(window, dc);
}

}  // namespace

void N_DisplayModes::Capture() {
  m_width = g_varMng ? g_varMng->GetInt("v_width") : 0;
  m_height = g_varMng ? g_varMng->GetInt("v_height") : 0;
}

bool N_DisplayModes::FitToDisplay(int displayWidth, int displayHeight) {
  const int maxWidth = displayWidth > 0 ? std::min(displayWidth, kMaxSide) : kMaxSide;
  const int maxHeight = displayHeight > 0 ? std::min(displayHeight, kMaxSide) : kMaxSide;
  int width = m_width;
  int height = m_height;
  if (width < kMinWidth || height < kMinHeight) {  // also 0, negative and NaN
    width = kFallbackWidth;
    height = kFallbackHeight;
  }
  // A size that only this display cannot show is the player's choice all the same: the
  // run is cut to the display, the choice is what is saved (RestoreChoice).
  const bool choice = width == m_width && height == m_height && width <= kMaxSide && height <= kMaxSide;
  width = std::min(width, maxWidth);
  height = std::min(height, maxHeight);
  if (width == m_width && height == m_height) return false;
  if (choice) {
    m_choiceWidth = m_width;
    m_choiceHeight = m_height;
  }
  if (g_log) {
    g_log->Print("!!! Video mode %dx%d of v_width and v_height cannot be shown (the display takes up to %dx%d): "
                 "using %dx%d\n",
                 m_width, m_height, maxWidth, maxHeight, width, height);
  }
  m_width = width;
  m_height = height;
  if (g_varMng) {
    g_varMng->SetInt("v_width", width, 0);
    g_varMng->SetInt("v_height", height, 0);
  }
  return true;
}

void N_DisplayModes::RestoreChoice() {
  if (m_choiceWidth == 0 || !g_varMng) return;
  // A size the settings page chose meanwhile stays.
  if (g_varMng->GetInt("v_width") == m_width && g_varMng->GetInt("v_height") == m_height) {
    g_varMng->SetInt("v_width", m_choiceWidth, 0);
    g_varMng->SetInt("v_height", m_choiceHeight, 0);
  }
  m_choiceWidth = m_choiceHeight = 0;
}

void N_DisplayModes::CaptureGamma(HWND window) {
  if (m_hasSavedRamp) return;
  const HDC dc = GetDC(window);
  if (!dc) return;
  m_hasSavedRamp = GetDeviceGammaRamp(dc, &m_saved) != FALSE;
  ReleaseDC(window, dc);
}

float N_DisplayModes::SaneGamma(float gamma) {
  if (!(gamma > 0.0f)) return 1.0f;  // also NaN
  return std::clamp(gamma, kMinGamma, kMaxGamma);
}

void N_DisplayModes::BuildRamp(float gamma, N_GammaRamp& ramp) {
  const float exponent = 1.0f / SaneGamma(gamma);
  for (int i = 0; i < 256; ++i) {
    const float base = static_cast<float>(i) * (1.0f / 255.0f);
    float value = std::pow(base, exponent) * 255.0f;
    // Rounding must not overflow the 16-bit entries.
    if (!(value >= 0.0f)) value = 0.0f;
    if (value > 255.0f) value = 255.0f;
    const WORD entry = static_cast<WORD>(static_cast<int>(value) * 256);
    ramp.red[i] = entry;
    ramp.green[i] = entry;
    ramp.blue[i] = entry;
  }
}

void N_DisplayModes::SetGamma(float gamma) {
  BuildRamp(gamma, m_working);
  ApplyRamp(MainWindow(), m_working);
}

void N_DisplayModes::Restore() {
  ChangeDisplaySettingsA(nullptr, 0);
  if (m_hasSavedRamp) ApplyRamp(MainWindow(), m_saved);
}
