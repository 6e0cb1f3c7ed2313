#pragma once
// The player's controls: the input manager's keys and mouse, through the rebindable key
// definitions, turned into two words once per frame. Each game mode holds one and
// calls Poll in its own update, after the input manager's Update; the race reads the
// words through the accessors.
//
// Poll, in order: keep the lasting bits; movement and brake; shoot and reload held;
// technique; pause key (opens or closes the "Pause" page); developer keys under right
// Ctrl + right Shift (bits and developer variables); Escape.
#include <cstdint>

class N_PlayerControls {
 public:
  // Word 0 bits.
  static constexpr std::uint32_t kForward = 0x1;
  static constexpr std::uint32_t kBackward = 0x2;
  static constexpr std::uint32_t kBrake = 0x4;
  static constexpr std::uint32_t kLeft = 0x8;
  static constexpr std::uint32_t kRight = 0x10;
  static constexpr std::uint32_t kShootHeld = 0x20;   ///< cleared only with all of word 0
  static constexpr std::uint32_t kReloadHeld = 0x40;  ///< cleared only with all of word 0
  static constexpr std::uint32_t kEscape = 0x20000;
  static constexpr std::uint32_t kPaused = 0x40000;
  static constexpr std::uint32_t kTurbo = 0x80000;
  static constexpr std::uint32_t kDevToggle = 0x100000;  ///< stays until Space flips it again
  static constexpr std::uint32_t kDevKeyF = 0x200000;
  static constexpr std::uint32_t kDevKeyR = 0x400000;
  static constexpr std::uint32_t kDevKeyT = 0x800000;
  /// Bits that outlive a poll: shoot, reload (and the unused 7-16), paused, developer toggle.
  static constexpr std::uint32_t kLastingBits = 0x15ffe0;

  void Poll();

  /// -1 backward (wins over forward), +1 forward, else 0.
  std::int32_t GetForwardAxis() const;
  /// -1 right (wins over left), +1 left, else 0.
  std::int32_t GetTurnAxis() const;
  bool IsBraking() const { return m_word0 & kBrake; }
  bool IsEscapeHeld() const { return m_word0 & kEscape; }
  bool IsPaused() const { return m_word0 & kPaused; }
  bool IsTurboHeld() const { return m_word0 & kTurbo; }
  bool IsDevToggle() const { return m_word0 & kDevToggle; }
  bool IsDevKeyF() const { return m_word0 & kDevKeyF; }
  bool IsDevKeyR() const { return m_word0 & kDevKeyR; }
  bool IsDevKeyT() const { return m_word0 & kDevKeyT; }
  /// 0-9 for the chosen technique, -1 before any technique key was held.
  std::int32_t GetTechnique() const;

  std::uint32_t Word0() const { return m_word0; }
  std::uint32_t Word1() const { return m_word1; }

 private:
  void PollTechnique();
  void PollPause();
  void PollDeveloperBits(bool second);
  void PollDeveloperVariables();

  std::uint32_t m_word0 = 0;  ///< the action bits
  std::uint32_t m_word1 = 0;  ///< the technique: 0 or one of 0x80 << (0..8), 0x10000
};

/// The "Pause" page behind the pause key lives above core, so the race installs its two
/// calls where it builds its pages. Poll calls whichever is set (null: none); with none
/// installed the pause key still changes the pause bit and opens nothing.
using N_PausePageCall = void (*)();
void SetPausePageCalls(N_PausePageCall show, N_PausePageCall hide);

// The shooting sequence's queries; they ask the input manager directly.
/// Left button went down (shared button latch), or action 5's key held, or LCtrl+LShift+A.
bool IsShootPressed();
/// Right button went down, or action 6's key held, or LCtrl+LShift+Z went down.
bool IsReloadPressed();
bool IsCtrlShiftAPressed();
bool IsCtrlShiftQPressed();
