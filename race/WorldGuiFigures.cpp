#include "race/WorldGuiFigures.h"

#include "race/AthletMng.h"
#include "scene/AnimationFactory2.h"

const N_FigureAthlete* N_WorldGuiFigures::GetMale(std::int32_t index) {
  return index < 0 ? nullptr : m_athletes.GetMale(static_cast<std::size_t>(index));
}

const N_FigureAthlete* N_WorldGuiFigures::GetFemale(std::int32_t index) {
  return index < 0 ? nullptr : m_athletes.GetFemale(static_cast<std::size_t>(index));
}

void N_WorldGuiFigures::SetNextAction(std::int32_t instance, std::int32_t action, float framesPerSecond,
                                      float blend) {
  m_figures.SetNextAction(instance, action, framesPerSecond, blend);
}

void N_WorldGuiFigures::RenderFigure(float frameTime, std::int32_t instance, const N_Vector3& position,
                                     const N_Matrix3& orientation, std::int32_t dressNumber,
                                     const N_FigureAthlete& athlete, bool forceVisible, bool draw, bool pose) {
  m_figures.RenderFigure(frameTime, instance, position, orientation, dressNumber, &athlete, forceVisible, draw, pose);
}
