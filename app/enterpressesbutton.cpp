#include "app/enterpressesbutton.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

bool EnterPressesButton::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || key->isAutoRepeat())
        return QObject::eventFilter(watched, event);
    // The key reaches the window only when the focused control did not want it.
    auto *window = qobject_cast<QWidget *>(watched);
    auto *button = window ? qobject_cast<QPushButton *>(window->focusWidget()) : nullptr;
    if (button && button->isEnabled() && button->isVisible()) {
        button->click();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
