#pragma once
// How far the GUI's arrow moves for the mouse. The mouse reports its motion in the
// desktop pointer's pixels; the GUI's 640 x 480 units are spread over the window. In
// a window the arrow moves as far as the desktop's pointer would (640 / width units a
// pixel across, 480 / height down), so that it stays where the hidden pointer is and
// meets the window's edges with it. Full screen, without a desktop pointer, keeps one
// unit per mouse count: a hand movement crosses the same share of the screen at every
// resolution.
class N_GuiMng;

/// Sets the motion scale of the GUI's cursor from "v_fullscreen" and the client area of
/// the window in "wnd_handle"; once a frame, before the GUI's update.
void FitCursorToWindow(N_GuiMng& gui);
