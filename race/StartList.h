#pragma once
// The start lists shown before a race: "StartListRelay" (relay), "StartListMass" (mass
// start) and "StartList" (pursuit and sprint), each with a caption (the venue), a title
// (the field's sex and the discipline) and a table of the starters; also the venue and
// the title on the final-result page. The race launches fill and show them; a click on
// the page (StartListClick, the front-end's) starts the race.
#include <cstdint>

struct GameData;

/// Shows the page of the discipline at once: 1 "StartListRelay", 2 "StartListMass",
/// 3 and 4 "StartList"; nothing for another code.
void ShowStartList(std::int32_t discipline);
/// Fills the start-list page of the description's discipline: caption, title and one
/// row per start-list entry (relay: number, flag, name, team; mass start: number, flag,
/// name; pursuit and sprint: number, flag, name, the gap to the first starter), and the
/// final-result page's "FR/Caption" and "FR/Discipline". The trainings (12, 13) fill no
/// page, only the final-result texts.
void FillStartListTables(const GameData& gameData);
