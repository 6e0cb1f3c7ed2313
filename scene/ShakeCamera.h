#pragma once
// N_ShakeCamera: the view of the shooting range. Three cameras move together: the main
// camera (the scene), the scope camera (a narrow view drawn into the centre nineteenth
// of the screen while aiming) and the rifle camera (near clip distances for the rifle).
// The aim sways gently on its own, an arc traced back and forth plus a small jitter,
// never an accumulating drift; the mouse turns it.
//
// Update, per frame:
//   1. the aiming flag from the attached rifle;
//   2. the sway parameters from "randx", "randy", "ampx" and "ampy" (every update, so
//      the shooting's steady-aim settings act at once);
//   3. the two sway phases run forth until the second passes pi, then back below 0;
//   4. every 0.08 s a jitter of up to half of "randx" and "randy";
//   5. the main camera turns by the change of the sway offsets since the last update;
//   6. the mouse turns it (0.005 degrees a unit), pitch kept to 0..180;
//   7. the scope and rifle cameras take the main camera's angles.
// The sway state is shared by the program (there is one shake camera); every game the
// world takes starts it from rest, so that no race sways on from the one before. Owned
// by the camera manager; the rifle belongs to the race.
#include "render/Camera.h"
#include "scene/CameraController.h"

#include <cstdint>

class N_RifleView;

class N_ShakeCamera final : public N_CameraController {
 public:
  static constexpr float kMouseDegreesPerUnit = 0.005f;
  static constexpr float kJitterInterval = 0.08f;

  /// The shared sway state of the program.
  struct Sway {
    float randomX = 0.0f;  ///< "randx": jitter range of the yaw
    float randomY = 0.0f;  ///< "randy": jitter range of the pitch
    float amplitudeX = 0.0f;  ///< "ampx": arc of the yaw
    float amplitudeY = 0.0f;  ///< "ampy": arc of the pitch
    float phase1 = 0.0f;
    float phase2 = 0.0f;
    std::uint8_t backwards = 0;
    float jitterTimer = 0.0f;
    float previousX = 0.0f;
    float previousY = 0.0f;
  };

  /// Three cameras looking level (pitch 90), not aiming, no rifle.
  N_ShakeCamera();

  /// Projections from "v_width" and "v_height": the main camera 50 degrees over the
  /// screen, the scope 1 degree over w / 19 x h / 19 at (9 w / 19, 9 h / 19), the rifle
  /// camera 50 degrees with the clip distances 1 and 100.
  void Setup(const char* pathName) override;
  void Update(float frameTime) override;
  bool IsReady() override { return true; }
  /// The rifle, when one is attached.
  void Render(float frameTime) override;

  /// All three cameras at the position, looking at the target.
  void LookAt(const N_Vector3& position, const N_Vector3& target);
  /// The race's rifle (null detaches it).
  void AttachRifle(N_RifleView* rifle) { m_rifle = rifle; }

  bool IsAiming() const { return m_aiming != 0; }
  N_Camera& MainCamera() { return m_main; }
  N_Camera& ScopeCamera() { return m_scope; }
  N_Camera& RifleCamera() { return m_rifleCamera; }

  static const Sway& SharedSway() { return s_sway; }
  /// The sway state as at the program's start.
  static void ResetSway() { s_sway = Sway{}; }

 private:
  static Sway s_sway;

  std::uint8_t m_aiming = 0;
  N_Camera m_main;
  N_Camera m_scope;
  N_Camera m_rifleCamera;
  N_RifleView* m_rifle = nullptr;
};
