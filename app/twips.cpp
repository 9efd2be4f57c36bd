#include "app/twips.h"

#include "app/barlayout.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHash>
#include <QMap>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>
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
    QPoint to(toPixels(left), toPixels(top));
    // A dialog placed at a window near the screen's edge is moved back, frame and all, so that
    // none of it is off the screen.
    const QScreen *screen = QGuiApplication::screenAt(to);
    if (window.minimumSize() == window.maximumSize() && (screen || (screen = window.screen()))) {
        const QRect room = screen->availableGeometry();
        QSize frame = window.frameGeometry().size() - window.size();
        if (frame.isEmpty())
            frame = QSize(toPixels(barlayout::frameWidth), toPixels(barlayout::frameHeight));
        const QSize outer = window.size() + frame;
        to = QPoint(std::max(room.left(), std::min(to.x(), room.right() + 1 - outer.width())),
                    std::max(room.top(), std::min(to.y(), room.bottom() + 1 - outer.height())));
    }
    window.move(to);
}

void setFixedOuterSize(QWidget &window, double width, double height, double frameWidth,
                       double frameHeight)
{
    fixSize(window, {toPixels(width - frameWidth), toPixels(height - frameHeight)});
}

namespace {

/** Scaled, Qt asks the window manager for a resize step of a scaled pixel (2 × 2 at 150 %),
    and a window manager that counts a fixed size in steps (jwm) takes a large fixed-size
    window for a full-screen one: without frame, title or close box. Such a window is put
    back as it was made. */
class KeepsItsFrame final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::WindowStateChange && window->isFullScreen()) {
            QTimer::singleShot(0, window, [window] {
                window->setWindowState(window->windowState() & ~Qt::WindowFullScreen);
            });
        }
        return false;
    }
};

} // namespace

void fixSize(QWidget &window, QSize size)
{
    window.setFixedSize(size);
    // Found by name: a class without its own meta object cannot be looked up by type.
    static const QString filterName = QStringLiteral("keepsItsFrame");
    if (!window.findChild<QObject *>(filterName, Qt::FindDirectChildrenOnly)) {
        auto *filter = new KeepsItsFrame(&window);
        filter->setObjectName(filterName);
        window.installEventFilter(filter);
    }
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

namespace {

/** The window's controls, the lines drawn across it apart. */
QList<QWidget *> controlsOf(QWidget &window)
{
    QList<QWidget *> controls;
    for (QObject *child : window.children()) {
        auto *control = qobject_cast<QWidget *>(child);
        if (control && isControl(control, window) && control->height() > 1)
            controls << control;
    }
    return controls;
}

/** Keeps the least margin at every edge: controls at the window's left or top edge move in,
    all of them by the same, so that they keep their places to one another. Returns the size
    that holds them with that margin. */
QSize keepMargins(QWidget &window, QSize size)
{
    const QList<QWidget *> controls = controlsOf(window);
    QRect used;
    for (const QWidget *control : controls)
        used |= control->geometry();
    const int margin = toPixels(leastMargin);
    const QPoint shift(std::max(0, margin - used.left()), std::max(0, margin - used.top()));
    if (!shift.isNull()) {
        for (QObject *child : window.children()) {
            if (auto *widget = qobject_cast<QWidget *>(child); widget && isControl(widget, window))
                widget->move(widget->pos() + shift);
        }
    }
    used.translate(shift);
    return (size + QSize(shift.x(), shift.y())).expandedTo({used.right() + 1 + margin, used.bottom() + 1 + margin});
}

/** A window made wider than its controls need (for its title) lets them use the room: the
    controls of each row (one top) share the added width in proportion to their own, and
    those further right move on by what the ones before them grew. */
void spreadOut(QWidget &window, int width)
{
    const int added = width - window.width();
    QMap<int, QList<QWidget *>> rows;
    for (QWidget *control : controlsOf(window))
        rows[control->y()] << control;
    for (QList<QWidget *> &row : rows) {
        std::sort(row.begin(), row.end(), [](QWidget *a, QWidget *b) { return a->x() < b->x(); });
        int total = 0;
        for (const QWidget *control : row)
            total += control->width();
        int given = 0;
        int sharesBefore = 0;
        for (QWidget *control : row) {
            sharesBefore += control->width();
            const int share = added * sharesBefore / std::max(1, total) - given;
            control->setGeometry(control->x() + given, control->y(), control->width() + share, control->height());
            given += share;
        }
    }
}

} // namespace

void fitToTexts(QWidget &window)
{
    window.ensurePolished();
    QSize size = keepMargins(window, fitControls(window));
    fixSize(window, size);
    // The window manager writes the title in a font of its own, often larger and bold, with
    // the icon and the close box beside it.
    const QFontMetrics metrics(window.font());
    const int titleWidth = metrics.horizontalAdvance(window.windowTitle()) * 3 / 2 + 4 * metrics.height();
    if (titleWidth > size.width()) {
        spreadOut(window, titleWidth);
        size.setWidth(titleWidth);
    }
    if (const QScreen *screen = window.screen()) {
        const QSize bounded = size.boundedTo(screen->availableGeometry().size()
                                             - QSize(toPixels(barlayout::frameWidth), toPixels(barlayout::frameHeight)));
        giveUpRoom(window, size - bounded, bounded);
        size = bounded;
    }
    if (size != window.size())
        fixSize(window, size);
}

} // namespace twips
