#pragma once
// What the set-up pages of the one-racer modes (the time attack and the two trainings)
// share: the course pictures that follow the course-length choice, the athlete table
// with its model, and the checks that refuse a start the page cannot describe.
#include <cstdint>

/// The course selector's pictures for the course length: the full table (length 0)
/// shows the ten race levels "textures\menu\trat01s" to "trat10s"; the short table
/// (any other length) shows eight, without the seventh and the tenth, so that each
/// index is a row of the short table. The two pictures are put back at 6 and 9 or taken
/// out (6, then the 8 that stood at 9); then the first picture is selected. A selector
/// that does not hold the other list's count (10 to take out, 8 to put back) keeps its
/// pictures and gets only the selection, so a repeated switch never doubles them.
void SwitchCoursePictures(const char* selectorName, std::int32_t trackLength);

/// Refills the athlete table with the athletes of the sex and shows the selected row's
/// athlete in the model.
void FillAthletesAndModel(const char* tableName, const char* modelName, std::int32_t sex);
/// Shows the athlete of the table's selected row (of the sex's list) in the model.
void ShowSelectedAthlete(const char* tableName, const char* modelName, std::int32_t sex);

/// Whether a start can go ahead: an athlete row is selected and the athlete exists in
/// the list of the sex, and the course row lies inside its level table. Otherwise one
/// log line names the launcher and what is wrong.
bool SoloStartAllowed(const char* who, std::int32_t sex, std::int32_t athleteRow, std::int32_t track,
                      bool arcadeTable);
