#include "dialogs/form2.h"

#include "app/fonts.h"
#include "app/form1.h"
#include "app/program.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace {
const QColor kBackground(192, 255, 255);
// Room around the text, so that it does not touch the view's edges.
constexpr int kMarginPixels = 3;
// Some Japanese fonts have no leading: the kanji of one line would touch those of the next.
constexpr int kLineHeightPercent = 115;
} // namespace

Form2::Form2(Program &program)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), m_program(program)
{
    // A text larger than the screen scrolls; any other fills the view, without scroll bars.
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_label1 = new QLabel;
    m_label1->setTextFormat(Qt::RichText);
    m_label1->setMargin(kMarginPixels);
    m_label1->setFont(fonts::gothic(9));
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = m_label1->palette();
    palette.setColor(QPalette::Window, kBackground);
    palette.setColor(QPalette::WindowText, Qt::black);
    m_label1->setPalette(palette);
    m_scroll->viewport()->setPalette(palette);
    m_scroll->setWidget(m_label1); // which fills its background
    m_scroll->move(0, 0);
    m_label1->installEventFilter(this);
}

Form2::~Form2() = default;

void Form2::SetFlag(int Flag, int Index)
{
    FocusFlag = Flag;
    FocusIndex = Index;
}

void Form2::setContent(const QString &text)
{
    m_content = text;
    // The label shows lines; CR LF and a lone CR both end one.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    m_label1->setText(QStringLiteral("<div style=\"white-space: pre-wrap; line-height: %1%\">%2</div>")
                              .arg(kLineHeightPercent)
                              .arg(shown.toHtmlEscaped()));
    // As wide as the longest line, but never wider than the screen: longer lines wrap, and
    // what is then taller than the screen scrolls.
    const QScreen *screen = QGuiApplication::screenAt(pos());
    const QRect room = (screen ? screen : this->screen())->availableGeometry();
    m_label1->setWordWrap(false);
    const int natural = m_label1->sizeHint().width();
    m_label1->setWordWrap(true);
    int width = std::min(natural, room.width());
    int height = m_label1->heightForWidth(width);
    int bar = 0;
    if (height > room.height()) {
        bar = m_scroll->verticalScrollBar()->sizeHint().width();
        width = std::min(natural, room.width() - bar);
        height = m_label1->heightForWidth(width);
    }
    m_label1->resize(width, height);
    const QSize size(width + bar, std::min(height, room.height()));
    m_scroll->resize(size);
    resize(size);
    // Placed by the main window beside a button; moved back where it would leave the screen.
    move(std::clamp(x(), room.left(), room.right() + 1 - size.width()),
         std::clamp(y(), room.top(), room.bottom() + 1 - size.height()));
}

void Form2::Label1_Click()
{
    Form1 &main = m_program.form1();
    m_program.returnTo(main, *this);
    main.focusButton(FocusFlag, FocusIndex);
}

bool Form2::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_label1 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && m_label1->rect().contains(mouse->position().toPoint())) {
            Label1_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form2::keyPressEvent(QKeyEvent *event)
{
    // The view has the focus while it is up; the keys that press a button dismiss it too.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Label1_Click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void Form2::closeEvent(QCloseEvent *)
{
    Form_Unload();
}

void Form2::Form_Unload()
{
    Form1 &main = m_program.form1();
    if (!main.isEnabled())
        main.setEnabled(true);
}
