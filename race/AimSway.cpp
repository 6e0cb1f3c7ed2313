#include "race/AimSway.h"

#include "core/Globals.h"
#include "core/VarMng.h"

namespace {

constexpr std::uint32_t kSetFlags = 0x02;
constexpr float kPerBeat = 0.00083333f;
constexpr float kBaseJolt = 0.01f;
constexpr float kStandingSwing = 0.2f;

void SetSway(float ampx, float ampy, float randx, float randy) {
  if (!g_varMng) return;
  g_varMng->SetFloat("ampx", ampx, kSetFlags);
  g_varMng->SetFloat("ampy", ampy, kSetFlags);
  g_varMng->SetFloat("randx", randx, kSetFlags);
  g_varMng->SetFloat("randy", randy, kSetFlags);
}

}  // namespace

void SetAimSway(float shootSkill, float concentration, float heartRate, float condition, bool standing) {
  const float tiredness = 0.5f * (1.0f - condition);
  const float jolt = heartRate * kPerBeat + kBaseJolt;
  SetSway(0.5f * shootSkill + tiredness, 0.5f * concentration + tiredness + (standing ? kStandingSwing : 0.0f), jolt,
          jolt);
}

void ClearAimSway() { SetSway(0.0f, 0.0f, 0.0f, 0.0f); }
