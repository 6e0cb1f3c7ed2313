#pragma once
// Where the GUI's arrow stands. While the menus show, the arrow is where the desktop's
// pointer is: the pointer is free (no grab), hidden over the window only, and the arrow
// is put on it every frame it moves, in the window's client area (the frame's pixels in
// full screen) spread over the GUI's 640 x 480 units, so it never drifts from it; the
// mouse's motion then moves the arrow no further. While the mouse turns the view (the
// aim at the range), no arrow shows and the race is not paused, the game takes the
// mouse for itself (a clip of the pointer: hidden and held in the window, its motion
// unbounded at the edges), and the hidden arrow moves with the motion as the GUI
// moves it.
class N_GuiMng;

class N_CursorFit {
 public:
  N_CursorFit() = default;
  /// Lets the pointer go.
  ~N_CursorFit();
  N_CursorFit(const N_CursorFit&) = delete;
  N_CursorFit& operator=(const N_CursorFit&) = delete;

  /// Once a frame, before the GUI's update, for the window in "wnd_handle".
  void Update(N_GuiMng& gui, bool mouseTurnsView);

 private:
  void Clip(bool take);

  bool m_clipped = false;
  bool m_placed = false;  ///< the arrow was put on the pointer at m_lastX, m_lastY
  long m_lastX = 0;
  long m_lastY = 0;
};
