#pragma once
// The world's answer to the GUI's model views (gui/GuiFigures.h): the athletes of its
// athlete manager and the skier figures of its figure factory. The world makes it with
// both and puts it into the GUI's services record; it takes it out again before either
// goes.
#include "gui/GuiFigures.h"

class N_AthletMng;
class N_AnimationFactory2;

class N_WorldGuiFigures final : public N_GuiFigures {
 public:
  N_WorldGuiFigures(N_AthletMng& athletes, N_AnimationFactory2& figures) : m_athletes(athletes), m_figures(figures) {}

  /// GetMale / GetFemale of the athlete manager; a negative index gives null.
  const N_FigureAthlete* GetMale(std::int32_t index) override;
  const N_FigureAthlete* GetFemale(std::int32_t index) override;
  void SetNextAction(std::int32_t instance, std::int32_t action, float framesPerSecond, float blend) override;
  void RenderFigure(float frameTime, std::int32_t instance, const N_Vector3& position, const N_Matrix3& orientation,
                    std::int32_t dressNumber, const N_FigureAthlete& athlete, bool forceVisible, bool draw,
                    bool pose) override;

 private:
  N_AthletMng& m_athletes;
  N_AnimationFactory2& m_figures;
};
