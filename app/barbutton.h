#pragma once

#include <QPushButton>

/** A button of the bar. Its caption may be as long as a hand-edited file makes it (a whole
    file on one line); it is drawn from its beginning only, so a huge caption costs no more
    to show than a short one, while text() keeps all of it. */
class BarButton final : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
