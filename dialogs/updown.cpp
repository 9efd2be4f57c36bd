#include "dialogs/updown.h"

#include "app/numbers.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

UpDown::UpDown(QLineEdit &buddy, const spinstep::Range &range, QWidget *parent)
    : QWidget(parent), m_buddy(buddy), m_range(range), m_value(range.minimum)
{
    setFocusPolicy(Qt::TabFocus);
    const auto makeArrow = [this](Qt::ArrowType type) {
        auto *arrow = new QToolButton(this);
        arrow->setArrowType(type);
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        return arrow;
    };
    m_up = makeArrow(Qt::UpArrow);
    m_down = makeArrow(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(m_down, &QToolButton::clicked, this, &UpDown::stepDown);
    connect(&m_buddy, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (const auto value = numbers::parseDecimal(text))
            m_value = int(std::clamp(numbers::roundHalfEven(*value), double(m_range.minimum),
                                     double(m_range.maximum)));
    });
}

UpDown::~UpDown() = default;

void UpDown::step(bool up)
{
    m_value = spinstep::stepped(m_buddy.text(), m_value, m_range, up);
    m_buddy.setText(QString::number(m_value));
}

void UpDown::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Up) {
        stepUp();
        return;
    }
    if (event->key() == Qt::Key_Down) {
        stepDown();
        return;
    }
    QWidget::keyPressEvent(event);
}

void UpDown::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int upper = height() / 2;
    m_up->setGeometry(0, 0, width(), upper);
    m_down->setGeometry(0, upper, width(), height() - upper);
}
