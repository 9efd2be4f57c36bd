#pragma once

#include <QStringList>
#include <QWidget>

class Program;
class QListWidget;
class QPushButton;

/** The read-file selection: the list of clip data files the user works with, where files
    are added, removed and picked for loading. It also keeps that list for the program. */
class Form3 final : public QWidget
{
    Q_OBJECT

public:
    explicit Form3(Program &program);
    ~Form3() override;

    /** Which button gets the focus back: flag 0 a snippet button, 1 a control button. */
    void SetFlag(int Flag, int Index);
    int focusFlag() const { return FocusFlag; }
    int focusIndex() const { return FocusIndex; }

    /** The visible list of name parts. */
    QListWidget &List1() const { return *m_list1; }
    /** The working list of full paths, parallel to List1. */
    QStringList &List2() { return m_list2; }
    /** The full paths as last accepted. */
    QStringList &List3() { return m_list3; }

    /** Appends a file to List1 (its name part) and List2 (its path). */
    void appendEntry(const QString &name, const QString &path);

    void OKClick();
    void Command2_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Program &m_program;
    QListWidget *m_list1 = nullptr;
    QStringList m_list2;
    QStringList m_list3;
    int FocusFlag = 0;
    int FocusIndex = 0;
};
