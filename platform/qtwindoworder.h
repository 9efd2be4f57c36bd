#pragma once

#include "platform/windoworder.h"

/** Topmost windows through Qt::WindowStaysOnTopHint. */
class QtWindowOrder final : public WindowOrder
{
public:
    void setStaysOnTop(QWidget &window, bool onTop, bool show) override;
};
