#pragma once
// The start-info page "StartInfo" of the last seconds before the start: the venue
// ("MapName"), the weather ("Weather7" with "WeatherIcon"), the snow ("SnowQuality2"
// with "SnowIcon") and the countdown ("Counter"). The game modes show it when the
// player's clock passes -5 s, count down every step and close it at the start. Also
// the localized names of the weather and snow codes, which the top-times pages show.
#include <cstdint>
#include <string>

/// Fills the page from the level (a row of the table the flag chooses), the weather
/// and the snow code (0 to 2; another code leaves that pair as it was), sets the
/// counter to "00:07" and fades the page in at 2.0 per second. Nothing without it.
void ShowStartInfo(std::int32_t levelIndex, bool arcadeTable, std::int32_t weather, std::int32_t snow);
/// "Counter" = "00:0" and the seconds rounded to the nearest integer (half away from
/// zero): the callers stay within 0 to 9 seconds.
void UpdateStartCounter(float seconds);
/// Fades "StartInfo" out at 2.0 per second.
void CloseStartInfo();

/// The string-table text of a weather code ("#str300" to "#str302") or a snow code
/// ("#str303" to "#str305"); empty for any other code.
std::string GetWeatherName(std::int32_t index);
std::string GetSnowQualityName(std::int32_t index);
