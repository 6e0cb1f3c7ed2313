#pragma once
// N_GuiModel: one athlete shown as a lit, animated 3D skier inside a rectangle of a
// menu page, optionally turning about an axis, in his dress with a number. Factory type
// "Model". A panel that, after drawing itself, renders the figure through the world's
// figure calls (GuiFigures.h) into a viewport over its rectangle, with a camera and a
// directional light of its own. The front-end picks the athlete, the list (sex) and
// the action directly; everything else comes from the page script.
//
// Render (its page, after ApplyLayout): the panel; then, when the element reaches onto
// the screen and the athlete has a record with a figure and the world a camera:
//   1. the camera over the clipped rectangle in pixels ("v_width" x "v_height" for the
//      640 x 480 units), looking from the origin at 30 units above the figure's feet;
//   2. the batch flushed (what the page queued so far lies below the figure);
//   3. light 0, the 3D set-up through the model's camera;
//   4. the action at 30 frames a second, then the figure drawn;
//   5. the 2D set-up through the world's camera, and the page's matrix again (the 2D
//      set-up resets the world matrix; a sliding page's later elements must move with
//      it).
#include "core/Quaternion.h"
#include "core/Vector3.h"
#include "gui/GuiPanel.h"
#include "render/Camera.h"
#include "render/RenderLight.h"

#include <cstdint>
#include <string>

struct N_Matrix3;

class N_GuiModel : public N_GuiPanel {
 public:
  static constexpr const char* kTypeName = "Model";

  explicit N_GuiModel(std::string name);
  ~N_GuiModel() override = default;

  void Render() override;
  const std::string& GetTypeName() const override;
  void BuildAttributes() override;

  /// The index in the list of the sex (0 male, any other female).
  void SetAthlete(std::int32_t index) { m_athlete = index; }
  std::int32_t GetAthlete() const { return m_athlete; }
  void SetSex(std::int32_t sex) { m_sex = sex; }
  std::int32_t GetSex() const { return m_sex; }
  /// The action played on the figure.
  void SetAnimation(std::int32_t action) { m_animation = action; }
  std::int32_t GetAnimation() const { return m_animation; }
  void SetDressNumber(std::int32_t number) { m_dressNumber = number; }
  std::int32_t GetDressNumber() const { return m_dressNumber; }
  /// Degrees, as the camera takes it.
  void SetFov(float fov) { m_fov = fov; }
  float GetFov() const { return m_fov; }
  /// "x y z": where the figure's feet stand in the view's space; any other count of
  /// numbers gives (0, 0, 0).
  void SetPositionText(const std::string& text);
  std::string GetPositionText() const;
  /// "w x y z" kept in text order; any other count of numbers gives (1, 0, 0, 0). The
  /// figure turns about the axis (w, x, y), not normalised, by w radians plus the
  /// turning of "rotspeed". Read back in the same order, so a template's copy keeps it.
  void SetRotationText(const std::string& text);
  std::string GetRotationText() const;
  /// Radians a second, times the timer's whole time.
  void SetRotationSpeed(float speed) { m_rotationSpeed = speed; }
  float GetRotationSpeed() const { return m_rotationSpeed; }
  /// "x y z", normalised (a length below 1e-7 gives (1, 0, 0)).
  void SetLightDirText(const std::string& text);
  std::string GetLightDirText() const;
  /// "r g b": the light's diffuse colour.
  void SetLightColorText(const std::string& text);
  std::string GetLightColorText() const;

  const N_Vector3& GetPosition() const { return m_position; }
  const N_Quaternion& GetRotation() const { return m_rotation; }
  const N_RenderLight& Light() const { return m_light; }
  const N_Camera& Camera() const { return m_camera; }
  /// The figure's orientation at an angle about the rotation's axis.
  void Orientation(float angle, N_Matrix3& out) const;

 private:
  /// Renders the figure when everything it needs is there (see the class comment).
  void RenderFigure();

  std::int32_t m_athlete = 0;
  std::int32_t m_sex = 0;
  std::int32_t m_animation = 0;
  std::int32_t m_dressNumber = 0;
  float m_fov = 30.0f;
  N_Vector3 m_position{-130.0f, 0.0f, -30.0f};
  N_Quaternion m_rotation{0.0f, 0.0f, 1.0f, 0.0f};  ///< w x y z as the script gave them
  N_Camera m_camera;
  N_RenderLight m_light;
  float m_rotationSpeed = 0.0f;
};
