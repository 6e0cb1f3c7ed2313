#pragma once
// N_RifleView: what the shake camera asks of the shooting range's rifle (the race's
// shooter implements it): whether it is being aimed, and drawing it with the frame.
class N_RifleView {
 public:
  virtual ~N_RifleView() = default;
  /// True while the rifle is raised and aimed (not shouldered, reloaded or put down).
  virtual bool IsAiming() = 0;
  /// Draws the rifle when it is shown.
  virtual void Render(float frameTime) = 0;
};
