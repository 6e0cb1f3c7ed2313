#pragma once
// The head of the career main page "Career" that the career itself refreshes: the
// account text, the day boxes "Monday" to "Friday" and the week header (the track's
// picture, the year and week title, the extra-race week). Elements that do not exist
// are skipped.
#include <cstdint>
#include <string>

struct N_CareerProfile;

namespace career {

/// The account as the page shows it: the decimal EUR and " EUR".
std::string AccountText(std::int32_t account);
/// Sets "Account1" to the current profile's account text.
void ShowAccount();

/// The index 0 to 4 of the first checked of "Monday" to "Friday"; -1 when none is.
std::int32_t GetSelectedWeekday();
/// Checks "Monday" and unchecks "Tuesday" to "Friday".
void ResetWeekdaySelection();
/// The picture "Level6" of the week's track, the title "LevelText1" ("#str264" with the
/// year, the week and the extra-race suffix), the extra-race-week flag of the week
/// state and the day boxes the week blocks. Nothing without a current profile.
void RefreshCareerWeekHeader();

}  // namespace career
