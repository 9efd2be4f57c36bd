#include "editing/form6.h"

#include "app/form1.h"
#include "app/program.h"
#include "app/session.h"
#include "app/twips.h"
#include "editing/form5.h"
#include "editing/form6text.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <limits>

namespace {

constexpr int kButtonMode = 1;
constexpr int kEditorMode = 2;

} // namespace

Form6::Form6(Program &program) : QWidget(nullptr, Qt::Dialog), m_program(program)
{
    setWindowTitle(form6text::caption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    twips::fixSize(*this, {twips::toPixels(3720), twips::toPixels(645)});

    m_label1 = new QLabel(form6text::label1, this);
    m_text1 = new QLineEdit(this);
    // A name is taken whole, however long: Qt would cut it at 32767 characters.
    m_text1->setMaxLength(std::numeric_limits<int>::max());
    m_command1 = new QPushButton(form6text::command1, this);
    m_command2 = new QPushButton(form6text::command2, this);
    twips::place(*m_label1, 120, 120, 810, 180);
    twips::place(*m_text1, 0, 360, 2295, 270);
    twips::place(*m_command1, 2520, 0, 1095, 255);
    twips::place(*m_command2, 2520, 360, 1095, 255);
    m_label1->setBuddy(m_text1);
    setTabOrder(m_text1, m_command1);
    setTabOrder(m_command1, m_command2);

    // Enter and Escape belong to the text box: the window is no dialog, so it has no default
    // or cancel button.
    m_text1->installEventFilter(this);

    connect(m_command1, &QPushButton::clicked, this, &Form6::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &Form6::Command2_Click);
}

Form6::~Form6() = default;

void Form6::SetButtonInfo(int DMode, int BNumber)
{
    EditMode = DMode;
    ButtonNumber = BNumber;
}

void Form6::Present(const QString &name, QWidget &owner)
{
    m_text1->setText(name);
    m_text1->setSelection(0, int(name.size()));
    m_program.presentOver(*this, owner);
    m_text1->setFocus(Qt::OtherFocusReason);
}

void Form6::Command1_Click()
{
    Session &session = m_program.session();
    Form5 &editor = m_program.form5();
    const QString name = m_text1->text();
    // The file first: when it keeps what it had, the old name stays and the new one stays
    // in the box, for OK again or Cancel. In the editor's mode the bar is saved as it is.
    QList<ClipEntry> entries = session.entries();
    if (EditMode == kButtonMode && ButtonNumber >= 0 && ButtonNumber < entries.size())
        entries[ButtonNumber].caption = name;
    if (m_program.saveClipFile(entries) == Program::SaveResult::Kept) {
        activateWindow();
        m_text1->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (EditMode == kButtonMode) {
        session.setCaption(ButtonNumber, name);
        m_program.form1().showCaptions();
    } else if (EditMode == kEditorMode) {
        editor.SetEntryName(ButtonNumber, name);
    }
    restoreOwner();
}

void Form6::Command2_Click()
{
    restoreOwner();
}

void Form6::restoreOwner()
{
    if (EditMode == kButtonMode) {
        Form1 &main = m_program.form1();
        m_program.returnTo(main, *this);
        main.focusButton(0, ButtonNumber);
    } else if (EditMode == kEditorMode) {
        Form5 &editor = m_program.form5();
        m_program.returnTo(editor, *this);
        editor.List1().setFocus(Qt::OtherFocusReason);
    }
}

bool Form6::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Command1_Click();
            return true;
        }
        if (key == Qt::Key_Escape) {
            Command2_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form6::closeEvent(QCloseEvent *)
{
    // With the main window enabled the program is shutting down: nothing to give back.
    if (m_program.form1().isEnabled())
        return;
    restoreOwner();
    m_program.unload(this);
}
