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
    digits of the main keyboard. `scanCode` is the key's native scan code (0 when
    unknown): a key of the number row is its digit whatever character the shift state or
    the layout makes of it, so Shift+1 is "1" as it is for a Windows virtual key. */
int fromQtKey(int qtKey, bool keypad, unsigned scanCode = 0);

} // namespace keycodes
