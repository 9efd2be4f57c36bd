#pragma once

#include <QWidget>

class Program;
class QLabel;
class QLineEdit;
class QPushButton;

/** The rename dialog "ﾎﾞﾀﾝ名の変更" for a snippet button of the main window (mode 1) or an
    entry of the editor's list (mode 2). Its owner is disabled while it is up. */
class Form6 final : public QWidget
{
    Q_OBJECT

public:
    explicit Form6(Program &program);
    ~Form6() override;

    QLineEdit &Text1() const { return *m_text1; }
    QPushButton &Command1() const { return *m_command1; }
    QPushButton &Command2() const { return *m_command2; }

    void SetButtonInfo(int DMode, int BNumber);
    int editMode() const { return EditMode; }
    int buttonNumber() const { return ButtonNumber; }

    /** Shows the dialog over `owner` with `name` in the text box, wholly selected, and the
        focus there. */
    void Present(const QString &name, QWidget &owner);

    /** OK: the name goes to the owner, then the clip data file is rewritten. */
    void Command1_Click();
    /** Cancel: nothing changes. */
    void Command2_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void restoreOwner();

    Program &m_program;
    int EditMode = 0;
    int ButtonNumber = 0;

    QLabel *m_label1 = nullptr;
    QLineEdit *m_text1 = nullptr;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command2 = nullptr;
};
