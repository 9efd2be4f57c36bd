#pragma once

#include "dialogs/spinstep.h"

#include <QWidget>

class QLineEdit;
class QToolButton;

/** A spin control: a narrow pair of arrows bound to a text box. An arrow click (or the Up
    and Down keys while the control has the focus) steps the number in the box by the step,
    within the range; what the user types into the box stays as typed. */
class UpDown final : public QWidget
{
    Q_OBJECT

public:
    UpDown(QLineEdit &buddy, const spinstep::Range &range, QWidget *parent);
    ~UpDown() override;

    QLineEdit &buddy() const { return m_buddy; }
    const spinstep::Range &range() const { return m_range; }

    QToolButton &upArrow() const { return *m_up; }
    QToolButton &downArrow() const { return *m_down; }

    void stepUp() { step(true); }
    void stepDown() { step(false); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void step(bool up);

    QLineEdit &m_buddy;
    spinstep::Range m_range;
    /** Where the control stands when the box shows no number: the last number it showed. */
    int m_value = 0;
    QToolButton *m_up = nullptr;
    QToolButton *m_down = nullptr;
};
