#pragma once
// The menu snow: 50 flakes falling over the menu pages, each drifting a little left
// and right about where it started. Held by the GUI manager, seeded once after the
// page scripts are read, moved and queued by the manager's Render after the pages
// (the world's last flush draws them above every page).
#include <array>
#include <cstdint>

class N_TextBatch;

class N_GuiSnow {
 public:
  static constexpr int kFlakeCount = 50;
  /// How far a flake drifts from its start before it turns, in screen units.
  static constexpr float kDriftRange = 5.0f;

  struct Flake {
    float x = 0.0f;
    float y = 0.0f;
    float startX = 0.0f;
    float startY = 0.0f;
    float drift = 0.0f;  ///< screen units per second; the sign flips
    float fall = 0.0f;   ///< screen units per second
    float size = 0.0f;   ///< screen units
  };

  /// Every flake somewhere above the screen, from the project's generator (x, y, size
  /// drawn in that order per flake): x in [0, 640], y in [-480, 0], size in [4, 10],
  /// drift 20 / size, fall size x 2.5.
  void Seed();
  /// Every flake back to its start height (x unchanged).
  void Restart();
  /// Moves every flake by dt seconds (a flake below the screen starts again) and
  /// queues it as a quad of the shader.
  void StepAndQueue(float dt, N_TextBatch& batch, std::int32_t shader);

  const std::array<Flake, kFlakeCount>& Flakes() const { return m_flakes; }

 private:
  std::array<Flake, kFlakeCount> m_flakes{};
};
