#include "editing/frmmenu.h"

#include "app/form1.h"
#include "app/form1text.h"
#include "app/program.h"
#include "app/session.h"
#include "app/twips.h"
#include "editing/form5.h"
#include "editing/form6.h"
#include "editing/frmmenutext.h"
#include "platform/clipboard.h"
#include "platform/filedialogs.h"
#include "platform/filesystem.h"
#include "platform/messageboxes.h"
#include "platform/paster.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace {

constexpr int kButtonMode = 1;
constexpr int kEditorMode = 2;

} // namespace

FrmMenu::FrmMenu(Program &program) : QWidget(nullptr), m_program(program)
{
    setWindowTitle(frmmenutext::windowCaption);
    buildMouseMenu();
    buildMouseMenu2();
}

FrmMenu::~FrmMenu() = default;

QAction *FrmMenu::addCheckItem(QMenu &menu, const QString &caption, void (FrmMenu::*command)())
{
    QAction *item = menu.addAction(caption);
    item->setCheckable(true);
    // The commands toggle the settings, not the mark Qt flips on a click: the marks are
    // set from the settings each time the menu opens.
    connect(item, &QAction::triggered, this, command);
    return item;
}

void FrmMenu::buildMouseMenu()
{
    using namespace frmmenutext;
    m_mouseMenu = new QMenu(mouseMenu, this);

    auto *buttonMenu = m_mouseMenu->addMenu(button);
    m_menuButton = buttonMenu->menuAction();
    m_menuDisplay = buttonMenu->addAction(display, this, &FrmMenu::Menu_Display_Click);
    m_menuButtonNameChange =
            buttonMenu->addAction(buttonNameChange, this, &FrmMenu::Menu_ButtonNameChange_Click);
    m_menuButtonEdit = buttonMenu->addAction(buttonEdit, this, &FrmMenu::Menu_ButtonEdit_Click);
    m_mouseMenu->addSeparator();

    auto *clipMenu = m_mouseMenu->addMenu(clipBoard);
    m_menuClipBoard = clipMenu->menuAction();
    m_menuKakunin = clipMenu->addAction(kakunin, this, &FrmMenu::Menu_Kakunin_Click);
    m_menuDeleteClip = clipMenu->addAction(deleteClip, this, &FrmMenu::Menu_Delete_Clip_Click);
    m_mouseMenu->addSeparator();

    m_menuAllways = addCheckItem(*m_mouseMenu, allways, &FrmMenu::Menu_Allways_Click);
    m_menuControlButton =
            addCheckItem(*m_mouseMenu, controlButton, &FrmMenu::Menu_ControlButton_Click);
    // Where other programs' windows are out of reach the item says why, and stays off.
    const bool canPaste = m_program.services().paster.available();
    m_menuClickPaste = addCheckItem(*m_mouseMenu, canPaste ? clickPaste : clickPasteUnavailable,
                                    &FrmMenu::Menu_ClickPaste_Click);
    m_menuClickPaste->setEnabled(canPaste);
    if (!canPaste)
        m_menuClickPaste->setToolTip(clickPasteUnavailableTip);
    // Where no entry could start the bar (a character of its folder's or its own path is
    // lost on the way), the item says so, and stays off.
    m_canStartAtLogin = autostart::canStart(m_program.session().autostart.program,
                                            m_program.workingDirectory());
    m_menuAutoStart = addCheckItem(*m_mouseMenu,
                                   m_canStartAtLogin ? startAtLogin : startAtLoginUnavailable,
                                   &FrmMenu::Menu_AutoStart_Click);
    if (!m_canStartAtLogin)
        m_menuAutoStart->setToolTip(startAtLoginUnavailableTip);
    m_mouseMenu->setToolTipsVisible(true);
    m_mouseMenu->addSeparator();

    auto *fileMenu = m_mouseMenu->addMenu(file);
    m_menuFile = fileMenu->menuAction();
    m_menuNewFile = fileMenu->addAction(newFile, this, &FrmMenu::Menu_NewFile_Click);
    m_menuEdit = fileMenu->addAction(edit, this, &FrmMenu::Menu_Edit_Click);
    m_menuUpdate = fileMenu->addAction(updateFile, this, &FrmMenu::Menu_Update_Click);
    m_menuReread = fileMenu->addAction(reread, this, &FrmMenu::Menu_Reread_Click);
    m_mouseMenu->addSeparator();

    m_menuAbout = m_mouseMenu->addAction(frmmenutext::about, this, &FrmMenu::Menu_About_Click);
    m_mouseMenu->addSeparator();
    m_menuExit = m_mouseMenu->addAction(exitProgram, this, &FrmMenu::Menu_Exit_Click);
}

void FrmMenu::buildMouseMenu2()
{
    using namespace frmmenutext;
    m_mouseMenu2 = new QMenu(mouseMenu2, this);
    m_listUp = m_mouseMenu2->addAction(listUp, this, &FrmMenu::List_Up_Click);
    m_listDown = m_mouseMenu2->addAction(listDown, this, &FrmMenu::List_Down_Click);
    m_mouseMenu2->addSeparator();
    m_listButtonNameChange = m_mouseMenu2->addAction(listButtonNameChange, this,
                                                     &FrmMenu::List_ButtonNameChange_Click);
    m_mouseMenu2->addSeparator();
    m_listInsert = m_mouseMenu2->addAction(listInsert, this, &FrmMenu::List_Insert_Click);
    m_mouseMenu2->addSeparator();
    m_listDelete = m_mouseMenu2->addAction(listDelete, this, &FrmMenu::List_Delete_Click);
    m_listKill = m_mouseMenu2->addAction(listKill, this, &FrmMenu::List_Kill_Click);
}

void FrmMenu::popUpMouseMenu(const MenuState &state, QPoint position)
{
    m_menuButton->setEnabled(state.buttonCommands);
    m_menuEdit->setEnabled(state.fileCommands);
    m_menuUpdate->setEnabled(state.fileCommands);
    // The applied settings, not what the properties dialog shows unconfirmed.
    m_menuAllways->setChecked(state.onTop);
    m_menuControlButton->setChecked(state.controlsHidden);
    m_menuClickPaste->setChecked(state.clickPaste && m_menuClickPaste->isEnabled());
    // Read from the entry each time: the desktop's own settings may have changed it.
    m_menuAutoStart->setChecked(state.startAtLogin && m_canStartAtLogin);
    m_menuAutoStart->setEnabled(!m_program.session().autostart.folder.isEmpty()
                                && m_canStartAtLogin);
    m_mouseMenu->popup(position);
}

void FrmMenu::popUpMouseMenu2(bool canMoveUp, bool canMoveDown, QPoint position)
{
    m_listUp->setEnabled(canMoveUp);
    m_listDown->setEnabled(canMoveDown);
    m_mouseMenu2->popup(position);
}

void FrmMenu::Menu_Display_Click()
{
    Form1 &main = m_program.form1();
    main.showContent(main.GetClipData(TargetIndex), frmmenutext::noContent);
}

void FrmMenu::Menu_ButtonNameChange_Click()
{
    Form1 &main = m_program.form1();
    Form6 &rename = m_program.form6();
    rename.SetButtonInfo(kButtonMode, TargetIndex);
    twips::moveWindow(rename, main.Left(), main.Top());
    rename.Present(m_program.session().caption(TargetIndex), main);
}

void FrmMenu::Menu_ButtonEdit_Click()
{
    Form1 &main = m_program.form1();
    Form5 &editor = m_program.form5();
    twips::moveWindow(editor, main.Left(), main.Top());
    editor.LoadButtons(m_program.session().entries(), TargetIndex);
    m_program.presentOver(editor, main);
}

void FrmMenu::Menu_Kakunin_Click()
{
    m_program.form1().Kakunin();
}

void FrmMenu::Menu_Delete_Clip_Click()
{
    m_program.services().clipboard.setText(QString());
}

void FrmMenu::Menu_Allways_Click()
{
    applySetting([](Settings &settings) { settings.winZ = settings.onTop() ? 0 : 1; });
}

void FrmMenu::Menu_ControlButton_Click()
{
    applySetting([](Settings &settings) {
        settings.controlShowFlag = settings.controlsHidden() ? 0 : 1;
    });
}

void FrmMenu::Menu_ClickPaste_Click()
{
    Session &session = m_program.session();
    session.options.clickPaste = !session.options.clickPaste;
    // On for this run even when it cannot be kept; the user is told so.
    const QString path = filesystem::joinPath(m_program.workingDirectory(), options::fileName);
    if (!filesystem::writeWholeFile(path, options::encode(session.options)))
        showNotice(frmmenutext::optionsUnwritable, path);
}

void FrmMenu::Menu_AutoStart_Click()
{
    const autostart::Place &place = m_program.session().autostart;
    if (!autostart::set(place, m_program.workingDirectory(), !autostart::isOn(place.folder)))
        showNotice(frmmenutext::autostartUnwritable, autostart::entryPath(place.folder));
}

void FrmMenu::showNotice(const QString &message, const QString &path)
{
    m_program.services().messages.show(
            form1text::withValue(message, form1text::fileLabel, path), form1text::title,
            MessageBoxes::Icon::Exclamation);
}

void FrmMenu::applySetting(const std::function<void(Settings &)> &change,
                           std::optional<int> count)
{
    Session &session = m_program.session();
    session.changeSettings(change);
    PropertyFields fields = session.propertyFields();
    if (count)
        fields.count = QString::number(*count);
    m_program.form1().applyProperties(fields);
}

void FrmMenu::Menu_NewFile_Click()
{
    // A cancelled dialog ends the command quietly.
    const std::optional<QString> chosen = m_program.services().fileDialogs.saveFile();
    if (!chosen || chosen->isEmpty())
        return;
    const QString path = *chosen;
    // The new set is written before anything changes, so a file that cannot be written
    // leaves the bar, the list and the file in use as they were. A name too short to lose
    // an extension gets the file created empty, and nothing written to it.
    const QString fileName = QFileInfo(path).fileName();
    const bool named = fileName.size() >= 4;
    const QList<ClipEntry> unset(named ? limits::defaultButtonNum : 0,
                                 ClipEntry{form1text::unset, QString()});
    if (!m_program.reportSave(m_program.createClipFile(path, unset), unset))
        return;

    Form1 &main = m_program.form1();
    m_program.session().addCurrentFile(filesystem::namePart(path), path);
    const QString caption = main.windowTitle();
    Menu_Update_Click();
    // A new file starts with the default count of unset buttons.
    applySetting([](Settings &) {}, limits::defaultButtonNum);
    main.InitProc();
    main.setWindowTitle(named ? captionFor(fileName) : caption);
}

void FrmMenu::Menu_Edit_Click()
{
    m_program.form1().InitEdit();
}

void FrmMenu::Menu_Update_Click()
{
    Form1 &main = m_program.form1();
    main.ReadFile(main.GetDataFileName());
}

void FrmMenu::Menu_Reread_Click()
{
    m_program.form1().ReRead();
}

void FrmMenu::Menu_About_Click()
{
    Form1 &main = m_program.form1();
    main.From4Set();
    main.FormAbout();
}

void FrmMenu::Menu_Exit_Click()
{
    m_program.form1().close();
}

void FrmMenu::List_Up_Click()
{
    m_program.form5().SwapEntries(TargetIndex, TargetIndex - 1);
}

void FrmMenu::List_Down_Click()
{
    m_program.form5().SwapEntries(TargetIndex, TargetIndex + 1);
}

void FrmMenu::List_ButtonNameChange_Click()
{
    Form1 &main = m_program.form1();
    Form5 &editor = m_program.form5();
    Form6 &rename = m_program.form6();
    rename.SetButtonInfo(kEditorMode, TargetIndex);
    twips::moveWindow(rename, main.Left(), main.Top());
    rename.Present(editor.entries().name(TargetIndex), editor);
}

void FrmMenu::List_Insert_Click()
{
    Form5 &editor = m_program.form5();
    if (editor.entries().isFull()) {
        editor.showLimitMessage();
        return;
    }
    if (!editor.InsertUnsetEntry(TargetIndex))
        return;
    List_ButtonNameChange_Click();
}

void FrmMenu::List_Delete_Click()
{
    m_program.form5().ResetEntry(TargetIndex);
}

void FrmMenu::List_Kill_Click()
{
    m_program.form5().RemoveButton(TargetIndex);
}
