#include "app/keycodes.h"

#include <Qt>

namespace keycodes {

int fromQtKey(int qtKey, bool keypad)
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
    // Qt's codes for digits and capital letters are their ASCII codes, as are these.
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey;
    return 0;
}

} // namespace keycodes
