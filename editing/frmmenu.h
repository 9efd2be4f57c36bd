#pragma once

#include <QWidget>

#include <functional>
#include <optional>

class Program;
class QAction;
class QMenu;
struct MenuState;
struct Settings;

/** A window never shown, owner of the two pop-up menus: the main window's button menu
    and the editor's list menu, with the commands behind their items. */
class FrmMenu final : public QWidget
{
    Q_OBJECT

public:
    explicit FrmMenu(Program &program);
    ~FrmMenu() override;

    /** The button or editor entry the menu commands act on. */
    void SetIndex(int Index) { TargetIndex = Index; }
    int targetIndex() const { return TargetIndex; }

    QMenu &MouseMenu() const { return *m_mouseMenu; }
    QMenu &MouseMenu2() const { return *m_mouseMenu2; }
    /** Opens the bar's menu at `position` (global), its items as `state` says. */
    void popUpMouseMenu(const MenuState &state, QPoint position);
    /** Opens the editor's list menu at `position` (global). */
    void popUpMouseMenu2(bool canMoveUp, bool canMoveDown, QPoint position);

    QAction &Menu_Button() const { return *m_menuButton; }
    QAction &Menu_Display() const { return *m_menuDisplay; }
    QAction &Menu_ButtonNameChange() const { return *m_menuButtonNameChange; }
    QAction &Menu_ButtonEdit() const { return *m_menuButtonEdit; }
    QAction &Menu_ClipBoard() const { return *m_menuClipBoard; }
    QAction &Menu_Kakunin() const { return *m_menuKakunin; }
    QAction &Menu_Delete_Clip() const { return *m_menuDeleteClip; }
    QAction &Menu_Allways() const { return *m_menuAllways; }
    QAction &Menu_ControlButton() const { return *m_menuControlButton; }
    QAction &Menu_ClickPaste() const { return *m_menuClickPaste; }
    QAction &Menu_AutoStart() const { return *m_menuAutoStart; }
    QAction &Menu_File() const { return *m_menuFile; }
    QAction &Menu_NewFile() const { return *m_menuNewFile; }
    QAction &Menu_Edit() const { return *m_menuEdit; }
    QAction &Menu_Update() const { return *m_menuUpdate; }
    QAction &Menu_Reread() const { return *m_menuReread; }
    QAction &Menu_About() const { return *m_menuAbout; }
    QAction &Menu_Exit() const { return *m_menuExit; }

    QAction &List_Up() const { return *m_listUp; }
    QAction &List_Down() const { return *m_listDown; }
    QAction &List_ButtonNameChange() const { return *m_listButtonNameChange; }
    QAction &List_Insert() const { return *m_listInsert; }
    QAction &List_Delete() const { return *m_listDelete; }
    QAction &List_Kill() const { return *m_listKill; }

    // The three button commands, also run by F1, F2 and F3 on a snippet button.
    void Menu_ButtonEdit_Click();
    void Menu_ButtonNameChange_Click();
    void Menu_Display_Click();

    void Menu_Kakunin_Click();
    void Menu_Delete_Clip_Click();
    void Menu_Allways_Click();
    void Menu_ControlButton_Click();
    void Menu_ClickPaste_Click();
    void Menu_AutoStart_Click();
    void Menu_NewFile_Click();
    void Menu_Edit_Click();
    void Menu_Update_Click();
    void Menu_Reread_Click();
    void Menu_About_Click();
    void Menu_Exit_Click();

    void List_Up_Click();
    void List_Down_Click();
    void List_ButtonNameChange_Click();
    void List_Insert_Click();
    void List_Delete_Click();
    void List_Kill_Click();

private:
    /** Changes a setting and applies it through the properties dialog's OK, its fields
        filled from the settings in use (the count from `count` when given). */
    void applySetting(const std::function<void(Settings &)> &change,
                      std::optional<int> count = std::nullopt);
    /** A failure to keep a setting, with the file it concerns. */
    void showNotice(const QString &message, const QString &path);
    QAction *addCheckItem(QMenu &menu, const QString &caption, void (FrmMenu::*command)());
    void buildMouseMenu();
    void buildMouseMenu2();

    Program &m_program;
    int TargetIndex = 0;

    QMenu *m_mouseMenu = nullptr;
    QMenu *m_mouseMenu2 = nullptr;
    QAction *m_menuButton = nullptr;
    QAction *m_menuDisplay = nullptr;
    QAction *m_menuButtonNameChange = nullptr;
    QAction *m_menuButtonEdit = nullptr;
    QAction *m_menuClipBoard = nullptr;
    QAction *m_menuKakunin = nullptr;
    QAction *m_menuDeleteClip = nullptr;
    QAction *m_menuAllways = nullptr;
    QAction *m_menuControlButton = nullptr;
    QAction *m_menuClickPaste = nullptr;
    QAction *m_menuAutoStart = nullptr;
    bool m_canStartAtLogin = true;
    QAction *m_menuFile = nullptr;
    QAction *m_menuNewFile = nullptr;
    QAction *m_menuEdit = nullptr;
    QAction *m_menuUpdate = nullptr;
    QAction *m_menuReread = nullptr;
    QAction *m_menuAbout = nullptr;
    QAction *m_menuExit = nullptr;
    QAction *m_listUp = nullptr;
    QAction *m_listDown = nullptr;
    QAction *m_listButtonNameChange = nullptr;
    QAction *m_listInsert = nullptr;
    QAction *m_listDelete = nullptr;
    QAction *m_listKill = nullptr;
};
