#pragma once
// The sound categories of a race. The race launches switch them before loading: the
// commentary, environment, ski and body sounds as the options page's selectors say,
// the audience by the launch's kind, and the music off. The menus switch back.

/// Categories in this order: 4 commentary ("CommentariesFX"), 5 environment
/// ("EnvironmentFX"), 3 ski ("SkiFX"), 2 body ("BodyFX"), each on when its selector
/// shows item 0 (or is missing, so that a race keeps its sounds without the options
/// page); 6 audience = audience; 1 music off.
void SwitchSoundGroupsToRace(bool audience);
