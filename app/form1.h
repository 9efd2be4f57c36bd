#pragma once

#include "app/barlayout.h"
#include "files/startini.h"

#include <QSize>
#include <QString>
#include <QWidget>

#include <array>

class Program;
class QPushButton;
class Session;
struct AppliedProperties;
struct PropertyFields;

/** The main window: the button bar of snippet buttons and control buttons. It shows the
    session's clip table and settings; mandated names are GetX/SetX, ours are Qt style. */
class Form1 final : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(Program &program);
    ~Form1() override;

    /** Start-up: sets the defaults, reads the settings and the clip data file, and lays out
        the bar. The window is shown afterwards. */
    void Form_Load();

    QPushButton &Command1(int index) const;
    QPushButton &Command2(int index) const;
    /** Gives the keyboard focus back to a button of the bar: flag 0 a snippet button, 1 a
        control button. An unknown flag or index, or a button the layout has hidden or
        disabled, leaves the focus where it is. */
    void focusButton(int flag, int index);

    // File in use and settings file.
    void SetDataFileName(const QString &fileName);
    QString GetDataFileName() const;
    QString GetInitFileName() const { return InitFileName; }
    void SetDataFileNum(int number);
    int GetDataFileNum() const;

    void InitProc();
    void ReRead();
    void InitWrite();
    /** What InitWrite writes now, and the paths Start.ini cannot hold. */
    startini::Encoded startIniContent() const;
    void StartRead();
    void ReadFile(const QString &fileName);

    // Layout.
    void WindowSet(int ButtonWidth, int BNum, int BHeight);
    int GetButtonNum() const;
    int GetButtonHeight() const;
    int GetButtonWidth() const;
    int GetWinZ() const;
    int GetControlShowFlag() const;
    void SetWinZ(int ValueZ);
    void SetControlShowFlag(int Flag);
    void ControlSet(int ShowFlag) { SetControlShowFlag(ShowFlag); }
    /** Fills the properties dialog's fields with the settings in use. */
    void From4Set();
    /** The properties OK on the settings in use: the bar is laid out, and every window
        follows the on-top setting. The dialog's fields are what the result shows. */
    AppliedProperties applyProperties(const PropertyFields &typed);

    // Commands.
    void Kakunin();
    void InitEdit();
    void FormAbout();
    void KeyDownEvent(int KeyCode, int Mode);
    QString GetClipData(int Index) const;
    void SetClipData(int Index, const QString &SetText);

    // Event handlers, public so that tests and other windows can run them as the user would.
    void Command1_Click(int Index);
    void Command2_Click(int Index);
    void Command1_KeyDown(int Index, int KeyCode);
    void Command2_KeyDown(int Index, int KeyCode);
    void Command1_MouseUp(int Index, QPoint position);
    void Command2_MouseUp(int Index, QPoint position);
    void Form_Resize();

    /** Window position and outer size in twips. */
    double Top() const;
    double Left() const;
    double Width() const;
    double Height() const;

    /** Shows `text` in the content view, where the last command on a button put it, over
        the disabled bar; with no text, `whenEmpty` in a message instead. */
    void showContent(const QString &text, const QString &whenEmpty);

    /** Shows the session's captions on the snippet buttons. */
    void showCaptions();

    /** From now on, a save of the file in use by another program reloads the bar. */
    void watchFileInUse();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Unload();
    void moveToVisibleScreen(double left, double top);
    void showNotice(const QString &text);
    void placeContentViewUnder(const QPushButton &button);
    void placeContentViewAt(const QPushButton &button, QPoint position);
    void keyDownOn(QPushButton &button, int flag, int index, int keyCode);
    void rightClickOn(QPushButton &button, int flag, int index, QPoint position);
    void loadListedFile(int number);

    Program &m_program;
    Session &m_session;
    std::array<QPushButton *, barlayout::snippetButtons> m_command1{};
    std::array<QPushButton *, barlayout::controlButtons> m_command2{};

    QString InitFileName;
    /** Where the content view comes up, in twips: under the button last used. */
    double m_contentViewLeft = 0;
    double m_contentViewTop = 0;
    bool InWindowSet = false;
    /** The client sizes the latest layouts asked for, oldest first: their resize events,
        however late the window system delivers them, are the program's own and must not
        change the layout again. */
    QList<QSize> m_requestedSizes;
};
