#pragma once

#include <QStringList>
#include <QWidget>

class Program;
class QListWidget;
class QPushButton;
class Session;

/** The read-file selection: shows the session's list of clip data files, where files are
    added, removed and picked for loading. Three parallel lists: List1 shows the name part
    of each file, List2 holds the full paths being edited, List3 the full paths as last
    accepted. Add and Delete change List1 and List2; OK copies List2 to List3, Cancel
    rebuilds List1 and List2 from List3. */
class Form3 final : public QWidget
{
    Q_OBJECT

public:
    explicit Form3(Program &program);
    ~Form3() override;

    /** Which button gets the focus back: flag 0 a snippet button, 1 a control button. */
    void SetFlag(int Flag, int Index);

    /** The visible list of name parts. */
    QListWidget &List1() const { return *m_list1; }
    /** The working list of full paths, parallel to List1. */
    const QStringList &List2() const;
    /** The full paths as last accepted. */
    const QStringList &List3() const;

    /** Shows the session's list and its selection. */
    void showList();
    /** The selected entry of List1, -1 when none is. */
    int selectedIndex() const;
    /** Selects entry `index` of List1; -1 selects nothing. */
    void selectIndex(int index);

    QPushButton &Command1() const { return *m_command1; }
    QPushButton &Command2() const { return *m_command2; }
    QPushButton &Command3() const { return *m_command3; }
    QPushButton &Command4() const { return *m_command4; }

    /** OK: loads the selected file and accepts the list as it stands. */
    void OKClick();
    /** Cancel: the list goes back to what was last accepted; nothing is loaded. */
    void Command2_Click();
    /** Add: files chosen in the file dialog join the list. */
    void Command3_Click();
    /** Delete: the selected entry leaves the list (the file stays on disk). */
    void Command4_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:

    Program &m_program;
    Session &m_session;
    QListWidget *m_list1 = nullptr;
    /** Set while the list shows the session, so its selection handler does not write back. */
    bool m_showing = false;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command2 = nullptr;
    QPushButton *m_command3 = nullptr;
    QPushButton *m_command4 = nullptr;
    int FocusFlag = 0;
    int FocusIndex = 0;
};
