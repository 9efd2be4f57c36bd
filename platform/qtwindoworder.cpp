#include "platform/qtwindoworder.h"

#include <QWidget>
#include <QWindow>

void QtWindowOrder::setStaysOnTop(QWidget &window, bool onTop, bool show)
{
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    const bool wasVisible = window.isVisible();

    if (flags != window.windowFlags() && !wasVisible) {
        // A hidden window gets a new native window on its next showing, placed as on its
        // first. Changing the flags of the withdrawn one would leave Qt with frame margins
        // the window manager no longer gives it: the next move would land a frame lower.
        window.setWindowFlags(flags);
    } else if (flags != window.windowFlags()) {
        // QWidget::setWindowFlags() would unmap and recreate the native window, which loses
        // the focus and may move it. Telling the widget and its native window separately
        // changes only the window manager state of a window that is already mapped.
        window.overrideWindowFlags(flags);
        if (QWindow *handle = window.windowHandle())
            handle->setFlags(flags);
    }

    if (show && !wasVisible) {
        const bool noActivate = window.testAttribute(Qt::WA_ShowWithoutActivating);
        window.setAttribute(Qt::WA_ShowWithoutActivating, true);
        window.show();
        window.setAttribute(Qt::WA_ShowWithoutActivating, noActivate);
    }
}
