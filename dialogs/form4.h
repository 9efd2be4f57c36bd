#pragma once

#include <QWidget>

class Program;
class QCheckBox;
class QLineEdit;
class QPushButton;

/** The properties dialog: button width, count and height, always-on-top and hidden control
    buttons. Its OK is the program's one place where these settings are checked and applied,
    also when another window invokes it with the dialog hidden. */
class Form4 final : public QWidget
{
    Q_OBJECT

public:
    explicit Form4(Program &program);
    ~Form4() override;

    QCheckBox &Check1() const { return *m_check1; }
    QCheckBox &Check2() const { return *m_check2; }
    QLineEdit &Text1() const { return *m_text1; }
    QLineEdit &Text2() const { return *m_text2; }
    QLineEdit &Text3() const { return *m_text3; }

    /** OK: validates the fields and applies every setting to the main window. */
    void Command1_Click();
    /** Cancel: nothing is applied. */
    void Command2_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Program &m_program;
    QCheckBox *m_check1 = nullptr;
    QCheckBox *m_check2 = nullptr;
    QLineEdit *m_text1 = nullptr;
    QLineEdit *m_text2 = nullptr;
    QLineEdit *m_text3 = nullptr;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command2 = nullptr;
};
