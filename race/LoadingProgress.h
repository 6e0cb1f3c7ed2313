#pragma once
// UpdateLoadingProgress: keeps the "Loading" page alive while a level loads. The main
// loop does not run during a load, so each call draws one whole frame itself: the
// level loader calls it (through g_scene.loadingProgress, which the world sets) with
// 5 to 80 between its steps, the world's LoadLevel with 85, 90 and 100 (a reload of
// the current level with 100 only). It keeps no state: every call sets the bar and
// draws one frame, in whatever order the calls come.
//
// Steps: nothing unless the world has its GUI manager and the page "Loading" exists and
// is visible; the window's messages are drained as the main loop drains them (the
// desktop must not take the window for hung; key and button events go on to the input
// devices, which keep them for the next input poll); the timer ticks twice; the
// progress bar "Loading" takes the value; one frame: BeginFrame, a 2D set-up of the
// loading's own window-sized camera (the world's camera may have gone with the old
// level), the GUI's pages, the text batcher's flush, EndFrame.
//
// The frame runs inside the click that started the load, with input not polled: the
// GUI's input step is left out (a button still held from that click would send held
// events, and the GUI's own event dispatch would be entered again). The pages' fades,
// effects and snow advance as they are drawn.

/// The percentage, 0 to 100 on the bar's range.
void UpdateLoadingProgress(float percent);

/// Test hook: when set, called with every percentage UpdateLoadingProgress receives
/// (before its guard).
using LoadingProgressObserver = void (*)(float percent);
void SetLoadingProgressObserver(LoadingProgressObserver observer);
