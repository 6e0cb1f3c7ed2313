#pragma once
// Leaving one page for another through a blocking fade to black and back, with the
// music ducked to half while the screen is dark (about one second each way, by real
// time). The pages change while the screen is black: "Relay" is hidden whatever the
// two pages are, then the from-page, then the to-page is shown at once (its onshow
// runs there) and the menu snow follows the flag. A missing page is skipped.
//
// Called inside a click callback between two frames: the first thing it does is end
// the frame once more, which only presents (the renderer accepts an end without a
// begin). The music volume is what it was when the call returns.
void SwitchPageWithFade(const char* fromPage, const char* toPage, bool snow);
