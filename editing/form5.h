#pragma once

#include "editing/editorentries.h"

#include <QWidget>

class Program;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

/** The button content editor "ﾎﾞﾀﾝ内容編集": all names and texts of the bar at once, on a
    private copy that reaches the main window only on OK; also the one writer of clip data
    files. The list operations live in EditorEntries; this window mirrors them into its
    list and text box. */
class Form5 final : public QWidget
{
    Q_OBJECT

public:
    explicit Form5(Program &program);
    ~Form5() override;

    QListWidget &List1() const { return *m_list1; }
    QPlainTextEdit &Text1() const { return *m_text1; }
    QPushButton &Command1() const { return *m_command1; }
    QPushButton &Command2() const { return *m_command2; }
    QPushButton &Command3() const { return *m_command3; }

    /** The working copy as it stands. */
    const EditorEntries &entries() const { return m_entries; }

    /** Text buffer slots 0..30; an index outside is ignored (and reads as empty). */
    void SetTextBuffer(int index, const QString &text);
    QString GetTextBuffer(int index) const;

    /** Removes entry `index`, moves the later texts up and selects the entry that takes its
        place (the one before it when the last was removed). */
    void RemoveButton(int index);

    /** Writes the main window's buttons to the clip data file in use, asking for a new file
        when none is. Returns whether the file now holds them; every failure is shown. */
    bool ClipFileWrite();
    /** The bar holds 30 buttons at most: says so, when a new one would be the 31st. */
    void showLimitMessage();

    /** Fills the working copy from the main window's entries and selects entry `selected`. */
    void LoadButtons(const QList<ClipEntry> &buttons, int selected);

    // Operations of the list menu on the working copy; each keeps list, buffer and text
    // box together.
    /** Renames an entry (the rename dialog's OK in editor mode). */
    void SetEntryName(int index, const QString &name);
    /** Swaps entries `index` and `other` with their texts and selects `other`. */
    void SwapEntries(int index, int other);
    /** Puts a new unset entry at `index` and selects it; false when the list is full. */
    bool InsertUnsetEntry(int index);
    /** Makes entry `index` unset in its place. */
    void ResetEntry(int index);
    /** Selects an entry (or nothing, for -1) and shows its text. */
    void SelectEntry(int index);
    int selectedEntry() const;

    // Event handlers, public so that other windows and tests run them as the user would.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void List1_Click();
    void List1_DblClick();
    void List1_KeyDown(int KeyCode);
    void List1_MouseDown(Qt::MouseButton button, QPoint position);
    void Text1_Change();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void refreshList(int selected);
    void showSelectedText();
    void showEntryRename(int index, bool atEditor);
    /** Every way out while the bar waits: it gets the focus back. */
    void leave();

    Program &m_program;
    EditorEntries m_entries;
    /** Set while the program itself changes the list or the text box, so their change
        handlers do not write back what was just shown. */
    bool m_mirroring = false;

    QLabel *m_label1 = nullptr;
    QListWidget *m_list1 = nullptr;
    QLabel *m_label2 = nullptr;
    QPlainTextEdit *m_text1 = nullptr;
    QPushButton *m_command3 = nullptr;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command2 = nullptr;
};
