#include "app/twips.h"

#include "app/barlayout.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>

namespace twips {

int toPixels(double value)
{
    return barlayout::toPixels(value);
}

double fromPixels(int pixels)
{
    return double(pixels) * barlayout::twipsPerPixel;
}

QRect rect(double left, double top, double width, double height)
{
    const int x = toPixels(left);
    const int y = toPixels(top);
    return QRect(x, y, toPixels(left + width) - x, toPixels(top + height) - y);
}

void place(QWidget &control, double left, double top, double width, double height)
{
    control.setGeometry(rect(left, top, width, height));
}

double windowTop(const QWidget &window)
{
    return fromPixels(window.frameGeometry().y());
}

double windowLeft(const QWidget &window)
{
    return fromPixels(window.frameGeometry().x());
}

void moveWindow(QWidget &window, double left, double top)
{
    window.move(toPixels(left), toPixels(top));
}

void setFixedOuterSize(QWidget &window, double width, double height, double frameWidth,
                       double frameHeight)
{
    window.setFixedSize(toPixels(width - frameWidth), toPixels(height - frameHeight));
}


namespace {

/** Height of one line of text with its access letter's underline below the baseline. */
int lineHeight(const QFontMetrics &metrics)
{
    return std::max(metrics.height(), metrics.ascent() + metrics.underlinePos() + metrics.lineWidth());
}

/** The control's size less the room its style leaves for the text, plus the text's size. */
QSize aroundText(const QWidget &control, const QRect &textRoom, const QString &text)
{
    const QFontMetrics metrics(control.font());
    const QSize textSize(metrics.size(Qt::TextShowMnemonic, text).width(), lineHeight(metrics));
    return control.size() - textRoom.size() + textSize;
}

QSize buttonNeeds(const QAbstractButton &button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const auto *push = qobject_cast<const QPushButton *>(&button);
    if (push && (push->autoDefault() || push->isDefault()))
        option.features |= QStyleOptionButton::AutoDefaultButton;
    const auto element = push ? QStyle::SE_PushButtonContents : QStyle::SE_CheckBoxContents;
    return aroundText(button, button.style()->subElementRect(element, &option, &button), button.text());
}

QSize labelNeeds(const QLabel &label)
{
    if (label.text().isEmpty())
        return label.size();
    if (label.wordWrap())
        return {label.width(), label.heightForWidth(label.width())};
    // Without a buddy a label shows "&" as it is, and sizeHint() measures it so.
    const QSize hint = label.sizeHint();
    const QFontMetrics metrics(label.font());
    return {hint.width(), hint.height() - metrics.height() + lineHeight(metrics)};
}

QSize lineEditNeeds(const QLineEdit &edit)
{
    // Qt's own margin of one pixel above and below the line, inside the frame.
    const int frame = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit);
    const QMargins margins = edit.textMargins();
    return {edit.width(), edit.fontMetrics().height() + 2 + 2 * frame + margins.top() + margins.bottom()};
}

/** Where a group box's title ends: its controls begin below. */
int titleBottom(const QGroupBox &box)
{
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    const QRect label = box.style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                    QStyle::SC_GroupBoxLabel, &box);
    return label.y() + lineHeight(box.fontMetrics());
}

bool isControl(const QWidget *widget, const QWidget &parent)
{
    return widget->parentWidget() == &parent && !widget->isWindow();
}

/** Gap kept between a grown control and one it pushes on: what the twips gave, at most this. */
constexpr int kMostGap = 4;

/** Fits the controls of `parent` (a window or a frame); returns the size the parent needs
    to hold them with the margins it had. */
QSize fitControls(QWidget &parent)
{
    QList<QWidget *> controls;
    for (QObject *child : parent.children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && isControl(widget, parent))
            controls << widget;
    }
    QHash<QWidget *, QRect> before;
    QRect used;
    for (QWidget *control : controls) {
        before.insert(control, control->geometry());
        used |= control->geometry();
    }
    const int rightMargin = std::max(0, parent.width() - used.right() - 1);
    const int bottomMargin = std::max(0, parent.height() - used.bottom() - 1);

    // Frames first: a frame needs what its controls need.
    QHash<QWidget *, QSize> needs;
    for (QWidget *control : controls) {
        QSize need = neededSize(*control);
        if (auto *box = qobject_cast<QGroupBox *>(control))
            need = need.expandedTo(fitControls(*box));
        needs.insert(control, need.expandedTo(control->size()));
    }
    // A row (one top and one height) keeps one height.
    for (QWidget *control : controls) {
        for (QWidget *other : controls) {
            if (before[other].top() == before[control].top() && before[other].height() == before[control].height())
                needs[control].setHeight(std::max(needs[control].height(), needs[other].height()));
        }
    }
    for (QWidget *control : controls)
        control->resize(needs[control]);

    // Downwards, in the order of the tops: whatever a grown control now reaches moves down,
    // with every control of its row.
    std::stable_sort(controls.begin(), controls.end(), [&](QWidget *a, QWidget *b) {
        return before[a].top() < before[b].top();
    });
    for (QWidget *control : controls) {
        int top = control->y();
        for (QWidget *above : controls) {
            const QRect was = before[above];
            if (above == control || was.bottom() >= before[control].top())
                continue;
            const QRect now = above->geometry();
            if (now.left() > control->geometry().right() || now.right() < control->x())
                continue;
            const int gap = std::min(kMostGap, before[control].top() - was.bottom() - 1);
            top = std::max(top, now.bottom() + 1 + gap);
        }
        if (top == control->y())
            continue;
        const int shift = top - control->y();
        for (QWidget *rowMate : controls) {
            if (before[rowMate].top() == before[control].top())
                rowMate->move(rowMate->x(), before[rowMate].top() + shift);
        }
    }
    // A frame's controls begin below its title.
    if (auto *box = qobject_cast<QGroupBox *>(&parent); box && !controls.isEmpty()) {
        const int shift = titleBottom(*box) + 2 - controls.first()->y();
        for (QWidget *control : controls)
            control->move(control->x(), control->y() + std::max(0, shift));
    }
    // Rightwards, in the order of the left edges: only what would overlap moves.
    std::stable_sort(controls.begin(), controls.end(), [&](QWidget *a, QWidget *b) {
        return before[a].left() < before[b].left();
    });
    for (QWidget *control : controls) {
        int left = control->x();
        for (QWidget *beside : controls) {
            const QRect was = before[beside];
            if (beside == control || was.right() >= before[control].left())
                continue;
            const QRect now = beside->geometry();
            if (now.top() > control->geometry().bottom() || now.bottom() < control->y())
                continue;
            const int gap = std::min(kMostGap, before[control].left() - was.right() - 1);
            left = std::max(left, now.right() + 1 + gap);
        }
        control->move(left, control->y());
    }

    QRect fitted;
    for (QWidget *control : controls)
        fitted |= control->geometry();
    return parent.size().expandedTo({fitted.right() + 1 + rightMargin, fitted.bottom() + 1 + bottomMargin});
}

/** On a screen too small for the window, the controls that scroll their content (lists,
    text boxes) give up the room; whatever lay beyond them moves back into the window. */
void giveUpRoom(QWidget &window, QSize excess, QSize room)
{
    if (excess.width() <= 0 && excess.height() <= 0)
        return;
    QList<QWidget *> controls;
    QAbstractScrollArea *widest = nullptr;
    for (QObject *child : window.children()) {
        auto *control = qobject_cast<QWidget *>(child);
        if (!control || !isControl(control, window))
            continue;
        controls << control;
        auto *area = qobject_cast<QAbstractScrollArea *>(control);
        if (area && (!widest || area->width() > widest->width()))
            widest = area;
    }
    constexpr int kLeast = 40;
    for (QWidget *control : controls) {
        if (!qobject_cast<QAbstractScrollArea *>(control))
            continue;
        const int width = control == widest ? std::max(kLeast, control->width() - excess.width()) : control->width();
        control->resize(width, std::max(kLeast, control->height() - excess.height()));
    }
    // What sticks out moves back with whatever stood beside it over the shrunk area, so
    // that controls side by side stay so.
    const int areaLeft = widest ? widest->x() : 0;
    QList<QPoint> moves;
    for (QWidget *control : controls) {
        QPoint move;
        for (QWidget *other : controls) {
            const QRect r = other->geometry();
            const bool beside = other->y() == control->y() && control->x() > areaLeft;
            if (r.right() >= room.width() && (other == control || beside))
                move.setX(-excess.width());
            if (r.bottom() >= room.height() && (other == control || other->y() == control->y()))
                move.setY(-excess.height());
        }
        moves << move;
    }
    for (int i = 0; i < controls.size(); ++i) {
        const QPoint to = controls[i]->pos() + moves[i];
        controls[i]->move(std::max(0, to.x()), std::max(0, to.y()));
    }
}

} // namespace

QSize neededSize(const QWidget &control)
{
    control.ensurePolished();
    QSize need = control.size();
    if (const auto *label = qobject_cast<const QLabel *>(&control); label && label->pixmap().isNull())
        need = labelNeeds(*label);
    else if (const auto *button = qobject_cast<const QAbstractButton *>(&control))
        need = button->text().isEmpty() ? need : buttonNeeds(*button);
    else if (const auto *edit = qobject_cast<const QLineEdit *>(&control))
        need = lineEditNeeds(*edit);
    else if (const auto *box = qobject_cast<const QGroupBox *>(&control))
        need = QSize(QFontMetrics(box->font()).size(Qt::TextShowMnemonic, box->title()).width()
                             + 2 * box->fontMetrics().height(),
                     control.height());
    return need.expandedTo(control.size());
}

void fitToTexts(QWidget &window)
{
    window.ensurePolished();
    QSize size = fitControls(window);
    // The window manager writes the title in a font of its own, often larger and bold, with
    // the icon and the close box beside it.
    const QFontMetrics metrics(window.font());
    const int titleWidth = metrics.horizontalAdvance(window.windowTitle()) * 3 / 2 + 4 * metrics.height();
    size.setWidth(std::max(size.width(), titleWidth));
    if (const QScreen *screen = window.screen()) {
        const QSize bounded = size.boundedTo(screen->availableGeometry().size()
                                             - QSize(toPixels(barlayout::frameWidth), toPixels(barlayout::frameHeight)));
        giveUpRoom(window, size - bounded, bounded);
        size = bounded;
    }
    if (size != window.size())
        window.setFixedSize(size);
}

} // namespace twips
