// The game's sounds, by the paths it opens them at (relative to the working
// directory) and passes on exactly as written here.
#pragma once

// Game start.  The jingle's name has no extension: it has always been opened
// as plain "kidou", and the build writes the file under that very name.
inline constexpr char kStartSound[] = "wave/12-1/kidou";
inline constexpr char kDealSound[] = "wave/12-1/deel.wav";
inline constexpr char kDrawSound[] = "wave/12-1/draw_wav.wav";
inline constexpr char kLoseSound[] = "wave/12-1/lose_wav.wav";
inline constexpr char kWinSound[] = "wave/12-1/win_vic.wav";
inline constexpr char kTieSound[] = "wave/12-1/tie.wav";
