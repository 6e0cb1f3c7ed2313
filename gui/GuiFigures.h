#pragma once
// What the athlete model view asks of the world's athletes and skier figures. The
// athlete manager lives in the race, above the GUI, and the figure factory's calls are
// made through the world too: the world installs an implementation in the GUI's
// services record (race/WorldGuiFigures.h; tests a double), so the GUI includes no race
// header. An athlete record is the skier figures' part of it (scene/FigureRoster.h),
// with its figure instance.
#include "core/Matrix3.h"
#include "core/Vector3.h"
#include "scene/FigureRoster.h"

#include <cstdint>

class N_GuiFigures {
 public:
  virtual ~N_GuiFigures() = default;

  /// The record at the index of the male list (GetMale) or the female list
  /// (GetFemale); null when the index is not below the list's size.
  virtual const N_FigureAthlete* GetMale(std::int32_t index) = 0;
  virtual const N_FigureAthlete* GetFemale(std::int32_t index) = 0;
  /// Queues an action on the instance (the figure factory's SetNextAction).
  virtual void SetNextAction(std::int32_t instance, std::int32_t action, float framesPerSecond, float blend) = 0;
  /// Advances the figure by the frame time and draws it at the place in the athlete's
  /// dress with the number (the figure factory's RenderFigure).
  virtual void RenderFigure(float frameTime, std::int32_t instance, const N_Vector3& position,
                            const N_Matrix3& orientation, std::int32_t dressNumber, const N_FigureAthlete& athlete,
                            bool forceVisible, bool draw, bool pose) = 0;
};
