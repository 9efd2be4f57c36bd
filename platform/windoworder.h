#pragma once

class QWidget;

/** Keeps windows above the windows of other programs, or not. */
class WindowOrder
{
public:
    virtual ~WindowOrder() = default;

    /** Makes `window` a topmost window or an ordinary one without activating it and without
        moving it. A hidden window stays hidden unless `show` is true. */
    virtual void setStaysOnTop(QWidget &window, bool onTop, bool show) = 0;
};
