#include "dialogs/form2.h"

#include "app/fonts.h"
#include "app/form1.h"
#include "app/program.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

namespace {
const QColor kBackground(192, 255, 255);
} // namespace

Form2::Form2(Program &program)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), m_program(program)
{
    m_label1 = new QLabel(this);
    m_label1->setTextFormat(Qt::PlainText);
    m_label1->setWordWrap(false);
    m_label1->setAutoFillBackground(true);
    m_label1->setFont(fonts::gothic(9));
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = m_label1->palette();
    palette.setColor(QPalette::Window, kBackground);
    palette.setColor(QPalette::WindowText, Qt::black);
    m_label1->setPalette(palette);
    m_label1->move(0, 0);
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
    m_label1->setText(shown);
    m_label1->adjustSize();
    resize(m_label1->size());
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

void Form2::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void Form2::Form_Unload()
{
    Form1 &main = m_program.form1();
    if (!main.isEnabled())
        main.setEnabled(true);
}
