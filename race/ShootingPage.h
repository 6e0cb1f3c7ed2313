#pragma once
// The shooting display at the range: the page "Shooting" with its one-row table
// "ShootTable" (flag, name, penalty picture, the five targets), the cartridges left
// ("Bullets"), the red miss flash "TrestRed" and the range clock "Time2"; and the hits
// counter "ShootingHits" with its "Hits". The shooting code calls these as the player
// takes a stand, shoots, reloads and leaves; the final-result board closes the page.
//
// The display keeps its values in one process-wide record: ShowShootingPage and
// ResetShootTable start a bout (five cartridges, no misses, no hits), ShowShootingHits
// starts the hits count.
#include <cstdint>

/// The shooting display's values; zero at program start.
struct ShootingHudState {
  std::int32_t BulletsLeft = 0;  ///< cartridges in the magazine, 0 to 5
  std::uint8_t ShotHitMask = 0;  ///< the lane's hit mask as last reported: bit n = target n hit
  std::int32_t MissCount = 0;    ///< misses of the bout, shown as "PENALTY" + the count
  float MissFlashTime = 0.0f;    ///< seconds left of the red miss flash
  std::int32_t HitCount = 0;     ///< hits shown by "Hits"
};
extern ShootingHudState g_shootingHud;
/// Back to the values of program start (tests).
void ResetShootingHudState();

/// The player takes a stand: "Shooting" and "BlackEyes" shown at once (the overlay
/// cleared in the trainings and buddy games, "gamemode" 3 to 5), the flash moved on
/// screen and cleared, a new bout in the table and five cartridges.
void ShowShootingPage();
/// Leaving the stand (or the race ends): "Shooting" fades out, the flash goes off screen.
void CloseShootingPage();
/// Every frame at the stand: "Time2" shows the clock; the miss flash runs down by the
/// timer's frame time and is cleared once it has run out.
void UpdateShootingClock(float time);
/// After every shot, with the lane's hit mask: a shot that hits nothing new is a miss
/// (counted, the flash restarted); one cartridge less; the row redrawn. Nothing without
/// cartridges or without the table.
void UpdateShootTable(std::uint8_t hitMask);
/// The rifle is reset for a new bout: the table's first row and five cartridges, the
/// page left as it is.
void ResetShootTable();
/// Adds cartridges, up to five (and never below none), and shows the count.
void AddBullets(std::int32_t count);

/// Shows "ShootingHits" with "Hits" at 0.
void ShowShootingHits();
/// Hides "ShootingHits" at once.
void HideShootingHits();
/// One hit more on "Hits".
void AddShootingHit();
