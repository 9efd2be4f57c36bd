#pragma once

#include <QString>
#include <QWidget>

class Program;
class QLabel;
class QScrollArea;

/** The content view: a borderless pop-up that shows a button's text or the clipboard's text
    next to the main window until the user clicks it. */
class Form2 final : public QWidget
{
    Q_OBJECT

public:
    explicit Form2(Program &program);
    ~Form2() override;

    /** Which button gets the focus back: flag 0 a snippet button, 1 a control button. */
    void SetFlag(int Flag, int Index);

    /** Sets the label's caption; the label, and the window with it, take the text's size,
        within the screen: long lines wrap at its width, and a text taller than it scrolls. */
    void setContent(const QString &text);
    QString content() const { return m_content; }
    QLabel &Label1() const { return *m_label1; }

    void Label1_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_Unload();

    Program &m_program;
    QScrollArea *m_scroll = nullptr;
    QLabel *m_label1 = nullptr;
    QString m_content;
    int FocusFlag = 0;
    int FocusIndex = 0;
};
