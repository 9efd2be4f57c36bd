#pragma once

#include <QObject>

/** Makes Enter press the focused push button of a window, as Space does. Qt gives Enter to
    buttons only inside a QDialog; the program's windows are plain widgets, and a keyboard
    user expects Enter to work on the button that has the focus. */
class EnterPressesButton final : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
