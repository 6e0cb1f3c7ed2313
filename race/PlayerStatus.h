#pragma once
// The player-status pages of a race: "PlayerStatus" (clock, speed, heart rate,
// position, lap, the "Power" and "Cond" bars, the name "Name1" and the flag "Natn1")
// and "BlackEyes", whose full-screen "Black1" darkens the screen as the athlete tires.
// The game modes show them when the player's clock reaches zero and update them on
// every simulation step; the final-result board hides them.
#include <cstdint>

/// Shows "PlayerStatus" and "BlackEyes" at once with the name and the flag of the
/// nation code (its shader), the overlay clear. Null texts count as empty.
void ShowPlayerStatus(const char* name, const char* nation);
/// Hides "PlayerStatus" at once.
void HidePlayerStatus();
/// Time in seconds, speed in m/s (the racer's own, shown as it is), heart rate per
/// minute, power and condition on the bars' range (negative values show 0), position,
/// the 1-based lap and the lap count. Below a condition of 0.25 the screen darkens
/// (post filter and "Black1" alpha, 0 at 0.25 to full at 0) and the condition bar
/// blinks (the frequency of its shaders' stretch is 1.0, else 0.0).
void UpdatePlayerStatus(float time, float speed, float heartRate, float power, float condition, std::int32_t position,
                        std::int32_t lap, std::int32_t lapCount);

/// Show or hide the stopwatch marker "Stopka".
void ShowStopwatch();
void HideStopwatch();
