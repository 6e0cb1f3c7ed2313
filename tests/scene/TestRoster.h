#pragma once
// A figure roster of a test's or benchmark's own (header only): athletes it keeps
// elsewhere, borrowed here in roster order, a ghost and the 31 bibs' shader handles.
#include "scene/FigureRoster.h"

#include <array>
#include <vector>

namespace test {

class TestRoster final : public N_FigureRoster {
 public:
  std::size_t AthleteCount() const override { return athletes.size(); }
  N_FigureAthlete* Athlete(std::size_t index) const override {
    return index < athletes.size() ? athletes[index] : nullptr;
  }
  N_FigureAthlete& Ghost() override { return ghost; }
  int BibShader(int startNumber) const override {
    return startNumber >= 1 && startNumber <= kBibCount ? bibShaders[std::size_t(startNumber - 1)] : -1;
  }

  std::vector<N_FigureAthlete*> athletes;  ///< not owned
  N_FigureAthlete ghost;
  std::array<int, kBibCount> bibShaders{};  ///< start number n: entry n - 1
};

}  // namespace test
