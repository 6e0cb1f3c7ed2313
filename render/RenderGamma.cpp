// The display gamma ramp.
#include "render/Render.h"

#include <algorithm>
#include <cmath>

void N_Render::SetGamma(float gamma, float brightness, float contrast, std::uint8_t calibrate) {
  if (!m_device) return;
  const float exponent = gamma == 0.0f ? 1.0f : 1.0f / gamma;
  D3DGAMMARAMP ramp{};
  for (int i = 0; i < 256; ++i) {
    const float base = float(i) / 256.0f * contrast + brightness;
    // A negative base (negative brightness or contrast) has no real power, whatever the
    // exponent: it reads as 0, as does a NaN.
    const float value = base >= 0.0f ? std::pow(base, exponent) : 0.0f;
    const float clamped = value >= 0.0f ? std::min(value, 1.0f) : 0.0f;
    const auto entry = WORD(clamped * 65535.0f + 0.5f);
    ramp.red[i] = ramp.green[i] = ramp.blue[i] = entry;
  }
  m_device->SetGammaRamp(0, calibrate ? D3DSGR_CALIBRATE : D3DSGR_NO_CALIBRATION, &ramp);
}
