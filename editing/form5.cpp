#include "editing/form5.h"

#include "app/fonts.h"
#include "app/form1.h"
#include "app/form1text.h"
#include "app/keycodes.h"
#include "app/program.h"
#include "app/session.h"
#include "app/twips.h"
#include "editing/form5text.h"
#include "editing/form6.h"
#include "editing/frmmenu.h"
#include "platform/messageboxes.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {

/** The rename dialog's editor mode. */
constexpr int kEditorMode = 2;

const ClipEntry kUnsetEntry{form1text::unset, QString()};

} // namespace

Form5::Form5(Program &program) : QWidget(nullptr, Qt::Dialog), m_program(program)
{
    setWindowTitle(form5text::caption);
    // A fixed dialog frame: no resizing, no minimize or maximize box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    twips::fixSize(*this, {twips::toPixels(9045), twips::toPixels(6165)});

    m_label1 = new QLabel(form5text::label1, this);
    m_list1 = new QListWidget(this);
    m_label2 = new QLabel(form5text::label2, this);
    m_text1 = new QPlainTextEdit(this);
    m_command3 = new QPushButton(form5text::command3, this);
    m_command1 = new QPushButton(form5text::command1, this);
    m_command2 = new QPushButton(form5text::command2, this);

    twips::place(*m_label1, 120, 120, 810, 180);
    twips::place(*m_list1, 0, 360, 1815, 5460);
    twips::place(*m_label2, 1920, 120, 915, 180);
    twips::place(*m_text1, 1920, 360, 7095, 5415);
    twips::place(*m_command3, 120, 5880, 1335, 255);
    twips::place(*m_command1, 6600, 5880, 1095, 255);
    twips::place(*m_command2, 7800, 5880, 1215, 255);

    m_label1->setBuddy(m_list1);
    m_label2->setBuddy(m_text1);
    setTabOrder(m_list1, m_text1);
    setTabOrder(m_text1, m_command3);
    setTabOrder(m_command3, m_command1);
    setTabOrder(m_command1, m_command2);

    m_list1->installEventFilter(this);
    m_list1->viewport()->installEventFilter(this);

    m_text1->setFont(fonts::gothic(9));
    m_text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text1->setTabChangesFocus(true);

    // No button is a default one (the window is no dialog): Enter in the list is the list's own.

    connect(m_list1, &QListWidget::currentRowChanged, this, [this] {
        if (!m_mirroring)
            List1_Click();
    });
    connect(m_text1, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_mirroring)
            Text1_Change();
    });
    connect(m_command1, &QPushButton::clicked, this, &Form5::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &Form5::Command2_Click);
    connect(m_command3, &QPushButton::clicked, this, &Form5::Command3_Click);
}

Form5::~Form5() = default;

void Form5::SetTextBuffer(int index, const QString &text)
{
    m_entries.setText(index, text);
    if (index == selectedEntry())
        showSelectedText();
}

QString Form5::GetTextBuffer(int index) const
{
    return m_entries.text(index);
}

void Form5::LoadButtons(const QList<ClipEntry> &buttons, int selected)
{
    m_entries.load(buttons);
    refreshList(selected);
}

int Form5::selectedEntry() const
{
    return m_list1->currentRow();
}

void Form5::refreshList(int selected)
{
    {
        const QScopedValueRollback guard(m_mirroring, true);
        m_list1->clear();
        for (const ClipEntry &entry : m_entries.entries())
            m_list1->addItem(entry.caption);
    }
    SelectEntry(selected);
}

void Form5::SelectEntry(int index)
{
    {
        const QScopedValueRollback guard(m_mirroring, true);
        // No row current is no row selected, in a single-selection list.
        m_list1->setCurrentRow(m_entries.isEntry(index) ? index : -1);
    }
    showSelectedText();
}

void Form5::showSelectedText()
{
    const QScopedValueRollback guard(m_mirroring, true);
    const int row = selectedEntry();
    m_text1->setPlainText(row >= 0 ? editortext::toEditor(m_entries.text(row)) : QString());
}

void Form5::SetEntryName(int index, const QString &name)
{
    if (!m_entries.setName(index, name))
        return;
    const QScopedValueRollback guard(m_mirroring, true);
    m_list1->item(index)->setText(name);
}

void Form5::SwapEntries(int index, int other)
{
    if (m_entries.swap(index, other))
        refreshList(other);
}

bool Form5::InsertUnsetEntry(int index)
{
    if (!m_entries.insert(index, kUnsetEntry))
        return false;
    refreshList(index);
    return true;
}

void Form5::ResetEntry(int index)
{
    const int selected = selectedEntry();
    if (m_entries.replace(index, kUnsetEntry))
        refreshList(selected);
}

void Form5::RemoveButton(int index)
{
    if (!m_entries.isEntry(index))
        return;
    // The texts move up before the selection is set, so the text shown is the entry's own.
    refreshList(m_entries.remove(index));
}

void Form5::List1_Click()
{
    showSelectedText();
}

void Form5::Text1_Change()
{
    const int row = selectedEntry();
    if (row >= 0 && row < EditorEntries::maxEntries)
        m_entries.setText(row, editortext::fromEditor(m_text1->toPlainText()));
}

void Form5::Command1_Click()
{
    // An empty list gives the bar the default count of unset buttons.
    if (m_entries.count() == 0) {
        for (int i = 0; i < limits::defaultButtonNum; ++i)
            m_entries.append(kUnsetEntry);
        refreshList(-1);
    }

    // The file first: when it keeps what it had, so does the bar, and the edit stays here,
    // to be saved again or dropped.
    const QList<ClipEntry> edited = m_entries.entries();
    if (m_program.saveClipFile(edited) == Program::SaveResult::Kept)
        return;
    Form1 &main = m_program.form1();
    Session &session = m_program.session();
    session.setEntries(edited);
    main.showCaptions();
    // The other fields take the settings in use, not what a cancelled properties dialog
    // left in them.
    PropertyFields fields = session.propertyFields();
    fields.count = QString::number(edited.size());
    main.applyProperties(fields);
    leave();
}

void Form5::Command2_Click()
{
    leave();
}

void Form5::leave()
{
    m_program.returnTo(m_program.form1(), *this);
}

void Form5::Command3_Click()
{
    if (!m_entries.append(kUnsetEntry)) {
        showLimitMessage();
        return;
    }
    refreshList(m_entries.count() - 1);
    showEntryRename(m_entries.count() - 1, false);
}

void Form5::List1_DblClick()
{
    const int row = selectedEntry();
    if (!m_entries.isEntry(row))
        return; // the rename needs an entry
    showEntryRename(row, true);
}

void Form5::showEntryRename(int index, bool atEditor)
{
    Form6 &rename = m_program.form6();
    rename.SetButtonInfo(kEditorMode, index);
    if (atEditor)
        twips::moveWindow(rename, twips::windowLeft(*this), twips::windowTop(*this));
    rename.Present(m_entries.name(index), *this);
}

void Form5::List1_KeyDown(int KeyCode)
{
    if (KeyCode == keycodes::enter) {
        Command1_Click();
    } else if (KeyCode == keycodes::deleteKey) {
        const int row = selectedEntry();
        if (m_entries.isEntry(row))
            RemoveButton(row);
    }
}

void Form5::List1_MouseDown(Qt::MouseButton button, QPoint position)
{
    if (button != Qt::RightButton)
        return;
    // The row under the pointer, as the list itself lays its rows out.
    const QModelIndex under = m_list1->indexAt(position);
    const int row = under.isValid() ? under.row() : -1;
    if (!m_entries.isEntry(row))
        return;
    SelectEntry(row);

    FrmMenu &menu = m_program.frmMenu();
    menu.SetIndex(row);
    menu.popUpMouseMenu2(m_entries.canMoveUp(row), m_entries.canMoveDown(row),
                         m_list1->viewport()->mapToGlobal(position));
}

bool Form5::ClipFileWrite()
{
    return m_program.saveClipFile(m_program.session().entries()) == Program::SaveResult::Saved;
}

void Form5::showLimitMessage()
{
    m_program.services().messages.show(form1text::tooManyButtons, form1text::title,
                                       MessageBoxes::Icon::Exclamation);
}

bool Form5::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const int code = keycodes::fromQtKey(key->key(), key->modifiers() & Qt::KeypadModifier);
        if (code == keycodes::enter || code == keycodes::deleteKey) {
            List1_KeyDown(code);
            return true;
        }
    } else if (watched == m_list1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::RightButton) {
                List1_MouseDown(mouse->button(), mouse->position().toPoint());
                return true;
            }
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            // The first click of the two has already selected the entry under the pointer.
            if (mouse->button() == Qt::LeftButton)
                List1_DblClick();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form5::closeEvent(QCloseEvent *event)
{
    // While the rename dialog works on one of the entries, the editor is disabled and its
    // close box is as dead as its buttons.
    if (!isEnabled() && event->spontaneous()) {
        event->ignore();
        return;
    }
    if (!m_program.form1().isEnabled()) {
        leave();
        // The edits go with the window.
        m_program.unload(this);
    }
}
