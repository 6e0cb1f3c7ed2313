#pragma once
// UpdateLoadingProgress: keeps the "Loading" page alive while a level loads. The main
// loop does not run during a load, so each call draws one whole frame itself: the
// level loader calls it (through g_scene.loadingProgress, which the world sets) with
// 5 to 80 between its steps, the world's LoadLevel with 85, 90 and 100.
//
// Steps: nothing unless the world has its GUI manager and the page "Loading" exists and
// is visible; the timer ticks twice; the progress bar "Loading" takes the value; one
// frame: BeginFrame, the GUI's update and render, the text batcher's flush, EndFrame.

/// The percentage, 0 to 100 on the bar's range.
void UpdateLoadingProgress(float percent);

/// Test hook: when set, called with every percentage UpdateLoadingProgress receives
/// (before its guard).
using LoadingProgressObserver = void (*)(float percent);
void SetLoadingProgressObserver(LoadingProgressObserver observer);
