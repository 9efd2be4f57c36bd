#include "app/keycodes.h"

#include <Qt>

namespace keycodes {

namespace {

/** The native codes X11 and Wayland give the keys of the number row, "1" to "0", under
    every layout. */
constexpr unsigned kScanCode1 = 10;
constexpr unsigned kScanCode0 = 19;

} // namespace

int fromQtKey(int qtKey, bool keypad, unsigned scanCode)
{
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return f1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return enter;
    case Qt::Key_Escape:
        return escape;
    case Qt::Key_Delete:
        return deleteKey;
    default:
        break;
    }
    if (keypad)
        return 0;
    if (scanCode >= kScanCode1 && scanCode < kScanCode0)
        return digit0 + 1 + int(scanCode - kScanCode1);
    if (scanCode == kScanCode0)
        return digit0;
    // Qt's codes for digits and capital letters are their ASCII codes, as are these.
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey;
    return 0;
}

} // namespace keycodes
