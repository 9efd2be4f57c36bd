#pragma once

#include <QWidget>

class Program;
struct PropertyFields;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UpDown;

/** The properties dialog: button width, count and height, always-on-top and hidden control
    buttons. Its OK is the program's one place where these settings are checked and applied,
    also when another window invokes it with the dialog hidden. */
class Form4 final : public QWidget
{
    Q_OBJECT

public:
    explicit Form4(Program &program);
    ~Form4() override;

    QGroupBox &Frame1() const { return *m_frame1; }
    QCheckBox &Check1() const { return *m_check1; }
    QCheckBox &Check2() const { return *m_check2; }
    QLabel &Label1() const { return *m_label1; }
    QLabel &Label2() const { return *m_label2; }
    QLabel &Label3() const { return *m_label3; }
    QLineEdit &Text1() const { return *m_text1; }
    QLineEdit &Text2() const { return *m_text2; }
    QLineEdit &Text3() const { return *m_text3; }
    UpDown &UpDown1() const { return *m_upDown1; }
    UpDown &UpDown2() const { return *m_upDown2; }
    UpDown &UpDown3() const { return *m_upDown3; }
    QPushButton &Command1() const { return *m_command1; }
    QPushButton &Command2() const { return *m_command2; }
    QPushButton &Command3() const { return *m_command3; }

    /** Fills the fields without showing the dialog. */
    void showFields(const PropertyFields &fields);

    /** OK: validates the fields and applies every setting to the main window. */
    void Command1_Click();
    /** Cancel: nothing is applied. */
    void Command2_Click();
    /** Opens the version box at the dialog's corner. */
    void Command3_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void leave();
    PropertyFields fields() const;

    Program &m_program;
    QGroupBox *m_frame1 = nullptr;
    QCheckBox *m_check1 = nullptr;
    QCheckBox *m_check2 = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_label3 = nullptr;
    QLineEdit *m_text1 = nullptr;
    QLineEdit *m_text2 = nullptr;
    QLineEdit *m_text3 = nullptr;
    UpDown *m_upDown1 = nullptr;
    UpDown *m_upDown2 = nullptr;
    UpDown *m_upDown3 = nullptr;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command2 = nullptr;
    QPushButton *m_command3 = nullptr;
};
