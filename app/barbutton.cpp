#include "app/barbutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

/** More characters than the widest button can show. */
constexpr qsizetype kShownCharacters = 512;

} // namespace

QSize BarButton::sizeHint() const
{
    // The bar places its buttons itself; no layout needs the width of the whole caption.
    // (QPushButton::minimumSizeHint() would ask this function again.)
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.truncate(kShownCharacters);
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, option.text);
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, text, this)
            .boundedTo(QSize(200, 50));
}

void BarButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    if (option.text.size() > kShownCharacters)
        option.text.truncate(kShownCharacters);
    painter.drawControl(QStyle::CE_PushButton, option);
}
