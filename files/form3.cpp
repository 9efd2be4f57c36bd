#include "files/form3.h"

#include "app/fonts.h"
#include "app/form1.h"
#include "app/program.h"
#include "app/session.h"
#include "app/twips.h"
#include "files/filelist.h"
#include "files/form3text.h"
#include "platform/filedialogs.h"
#include "platform/messageboxes.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {

/** Outer size, and what the tool window's small frame takes of it: the client area is
    exactly as large as the controls reach. */
constexpr double kOuterWidth = 2160;
constexpr double kOuterHeight = 3570;
constexpr double kFrameWidth = 105;
constexpr double kFrameHeight = 315;

constexpr int kSnippetFlag = 0;

} // namespace

Form3::Form3(Program &program)
    : QWidget(nullptr, Qt::Tool), m_program(program), m_session(program.session())
{
    // A small title bar with a close box only; the size is fixed.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setWindowTitle(form3text::caption);
    // The controls are sized for the Japanese desktop's 9-point dialog font.
    setFont(fonts::pGothic(9));
    twips::setFixedOuterSize(*this, kOuterWidth, kOuterHeight, kFrameWidth, kFrameHeight);

    m_list1 = new QListWidget(this);
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

    setTabOrder(m_list1, m_command1);
    setTabOrder(m_command1, m_command2);
    setTabOrder(m_command2, m_command3);
    setTabOrder(m_command3, m_command4);

    connect(m_command1, &QPushButton::clicked, this, &Form3::OKClick);
    connect(m_command2, &QPushButton::clicked, this, &Form3::Command2_Click);
    connect(m_command3, &QPushButton::clicked, this, &Form3::Command3_Click);
    connect(m_command4, &QPushButton::clicked, this, &Form3::Command4_Click);
    connect(m_list1, &QListWidget::doubleClicked, this, &Form3::OKClick);
    connect(m_list1, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_showing)
            return;
        // The current row alone is not the choice: the list makes its first row current,
        // unselected, when it takes the focus.
        const QList<QListWidgetItem *> selected = m_list1->selectedItems();
        m_session.selectFile(selected.isEmpty() ? -1 : m_list1->row(selected.first()));
    });
    showList();
}

Form3::~Form3() = default;

void Form3::SetFlag(int Flag, int Index)
{
    FocusFlag = Flag;
    FocusIndex = Index;
}

const QStringList &Form3::List2() const
{
    return m_session.paths();
}

const QStringList &Form3::List3() const
{
    return m_session.acceptedPaths();
}

void Form3::showList()
{
    const QScopedValueRollback guard(m_showing, true);
    if (m_list1->count() != m_session.names().size()) {
        m_list1->clear();
        m_list1->addItems(m_session.names());
    } else {
        for (int i = 0; i < m_list1->count(); ++i)
            m_list1->item(i)->setText(m_session.names().at(i));
    }
    m_list1->setCurrentRow(m_session.selectedFile());
    if (m_session.selectedFile() < 0)
        m_list1->clearSelection();
}

int Form3::selectedIndex() const
{
    return m_session.selectedFile();
}

void Form3::selectIndex(int index)
{
    m_session.selectFile(index);
    showList();
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
    const QString path = m_session.listedPath(selected, m_program.workingDirectory());
    showList();
    main.SetDataFileName(path);
    main.ReadFile(path);
    m_program.returnTo(main, *this);
    // The file just loaded may have fewer buttons: the first one is always there.
    main.focusButton(FocusFlag, FocusFlag == kSnippetFlag ? 0 : FocusIndex);
    m_session.acceptFiles();
    main.SetDataFileNum(selected);
}

void Form3::Command2_Click()
{
    m_session.restoreFiles();
    showList();
    Form1 &main = m_program.form1();
    m_program.returnTo(main, *this);
    main.focusButton(FocusFlag, FocusIndex);
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
            m_session.addFile(entry.name, entry.path);
        if (!entries.isEmpty())
            m_session.selectFile(int(m_session.names().size()) - 1);
        showList();
    }
    activateWindow();
    m_list1->setFocus(Qt::OtherFocusReason);
}

void Form3::Command4_Click()
{
    m_session.removeSelectedFile();
    showList();
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
