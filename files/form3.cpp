#include "files/form3.h"

#include "app/fonts.h"
#include "app/form1.h"
#include "app/program.h"
#include "app/twips.h"
#include "files/filelist.h"
#include "files/form3text.h"
#include "platform/filedialogs.h"
#include "platform/filesystem.h"
#include "platform/messageboxes.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>

namespace {

/** Outer size, and what the tool window's small frame takes of it: the client area is
    exactly as large as the controls reach. */
constexpr double kOuterWidth = 2160;
constexpr double kOuterHeight = 3570;
constexpr double kFrameWidth = 105;
constexpr double kFrameHeight = 315;

constexpr int kSnippetFlag = 0;

} // namespace

Form3::Form3(Program &program) : QWidget(nullptr, Qt::Tool), m_program(program)
{
    // A small title bar with a close box only; the size is fixed.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setWindowTitle(form3text::caption);
    // The controls are sized for the Japanese desktop's 9-point dialog font.
    setFont(fonts::pGothic(9));
    twips::setFixedOuterSize(*this, kOuterWidth, kOuterHeight, kFrameWidth, kFrameHeight);

    m_list1 = new QListWidget(this);
    m_list1->setSelectionMode(QAbstractItemView::SingleSelection);
    twips::place(*m_list1, 0, 0, 2055, 2580);
    m_list1->installEventFilter(this);

    m_command1 = new QPushButton(form3text::ok, this);
    twips::place(*m_command1, 0, 3000, 975, 255);
    m_command2 = new QPushButton(form3text::cancel, this);
    twips::place(*m_command2, 1080, 3000, 975, 255);
    m_command3 = new QPushButton(form3text::add, this);
    twips::place(*m_command3, 0, 2640, 975, 255);
    m_command4 = new QPushButton(form3text::remove, this);
    twips::place(*m_command4, 1080, 2640, 975, 255);
    for (QPushButton *button : {m_command1, m_command2, m_command3, m_command4})
        button->setAutoDefault(false);

    setTabOrder(m_list1, m_command1);
    setTabOrder(m_command1, m_command2);
    setTabOrder(m_command2, m_command3);
    setTabOrder(m_command3, m_command4);

    connect(m_command1, &QPushButton::clicked, this, &Form3::OKClick);
    connect(m_command2, &QPushButton::clicked, this, &Form3::Command2_Click);
    connect(m_command3, &QPushButton::clicked, this, &Form3::Command3_Click);
    connect(m_command4, &QPushButton::clicked, this, &Form3::Command4_Click);
    connect(m_list1, &QListWidget::doubleClicked, this, &Form3::OKClick);
}

Form3::~Form3() = default;

void Form3::SetFlag(int Flag, int Index)
{
    FocusFlag = Flag;
    FocusIndex = Index;
}

void Form3::appendEntry(const QString &name, const QString &path)
{
    m_list1->addItem(name);
    m_list2.append(path);
}

QString Form3::listedPath(int index)
{
    const QString listed = m_list2.at(index);
    const QString path = filelist::resolveListedPath(listed, m_program.workingDirectory());
    if (path != listed) {
        m_list1->item(index)->setText(filesystem::namePart(path));
        m_list2[index] = path;
        if (index < m_list3.size() && m_list3.at(index) == listed)
            m_list3[index] = path;
    }
    return path;
}

int Form3::selectedIndex() const
{
    // The current row alone is not the choice: the list makes its first row current,
    // unselected, when it takes the focus.
    const QList<QListWidgetItem *> selected = m_list1->selectedItems();
    return selected.isEmpty() ? -1 : m_list1->row(selected.first());
}

void Form3::selectIndex(int index)
{
    m_list1->setCurrentRow(index >= 0 && index < m_list1->count() ? index : -1);
}

void Form3::OKClick()
{
    if (m_list1->count() == 0) {
        m_program.services().messages.show(form3text::nothingToRead, form3text::messageTitle,
                                           MessageBoxes::Icon::Exclamation);
        return;
    }
    if (selectedIndex() < 0)
        selectIndex(0);
    const int selected = selectedIndex();

    Form1 &main = m_program.form1();
    const QString path = listedPath(selected);
    main.SetDataFileName(path);
    main.ReadFile(path);

    hide();
    main.setEnabled(true);
    // The file just loaded may have fewer buttons: the first one is always there.
    m_program.form1().focusButton(FocusFlag, FocusFlag == kSnippetFlag ? 0 : FocusIndex);

    m_list3 = m_list2;
    main.SetDataFileNum(selected);
}

void Form3::Command2_Click()
{
    const int remembered = selectedIndex();
    m_list1->clear();
    m_list2.clear();
    for (const filelist::Entry &entry : filelist::restoredEntries(m_list3))
        appendEntry(entry.name, entry.path);
    selectIndex(filelist::selectionAfterRestore(remembered, m_list1->count()));

    hide();
    m_program.form1().setEnabled(true);
    m_program.form1().focusButton(FocusFlag, FocusIndex);
}

void Form3::Command3_Click()
{
    // The list takes the focus before the dialog opens: a key typed the moment the dialog
    // closes (Enter for OK) then goes to the list, not to this button, which would open the
    // dialog again.
    m_list1->setFocus(Qt::OtherFocusReason);
    // A cancelled dialog ends the action quietly, as does a chosen file that is not there.
    if (const auto chosen = m_program.services().fileDialogs.openFiles()) {
        const QList<filelist::Entry> entries = filelist::existingEntries(*chosen);
        for (const filelist::Entry &entry : entries)
            appendEntry(entry.name, entry.path);
        if (!entries.isEmpty())
            selectIndex(m_list1->count() - 1);
    }
    activateWindow();
    m_list1->setFocus(Qt::OtherFocusReason);
}

void Form3::Command4_Click()
{
    const int index = selectedIndex();
    if (index < 0)
        return;
    delete m_list1->takeItem(index);
    m_list2.removeAt(index);
    selectIndex(filelist::selectionAfterDelete(index, m_list1->count()));
}

bool Form3::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            OKClick();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            m_command2->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form3::closeEvent(QCloseEvent *event)
{
    // The list lives as long as the program: closing the window cancels instead.
    event->ignore();
    Command2_Click();
}
