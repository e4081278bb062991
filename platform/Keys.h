#pragma once

// The key codes the question windows act on, as the windows' handlers name them, and the one
// translation from Qt's keys to them.
namespace keycode {

inline constexpr int kPageUp = 33;   // first question
inline constexpr int kPageDown = 34; // last question
inline constexpr int kLeft = 37;     // previous question
inline constexpr int kUp = 38;       // answer marker up
inline constexpr int kRight = 39;    // next question
inline constexpr int kDown = 40;     // answer marker down

// The code of a Qt key (Qt::Key), or 0 for a key with no code here.
int FromQtKey(int qtKey);

// Whether the code moves the card (first, last, previous, next).
bool IsMove(int code);

// The exam option (1..4) a Qt key chooses: the digit keys of the main row or the keypad, Latin,
// Persian or Arabic-Indic, as a Persian keyboard layout sends them; 0 for any other key.
int OptionNumber(int qtKey);

} // namespace keycode
