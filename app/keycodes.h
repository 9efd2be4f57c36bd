#pragma once

/** The key codes the program's key handlers speak (those of the Windows virtual keys). */
namespace keycodes {

inline constexpr int enter = 13;
inline constexpr int escape = 27;
inline constexpr int deleteKey = 46;
inline constexpr int digit0 = 48;
inline constexpr int digit9 = 57;
inline constexpr int f1 = 112;
inline constexpr int f8 = 119;

/** The code for a Qt key; 0 for keys that have none here. Keypad digits are not the
    digits of the main keyboard. */
int fromQtKey(int qtKey, bool keypad);

} // namespace keycodes
