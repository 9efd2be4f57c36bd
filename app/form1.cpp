#include "app/form1.h"

#include "app/barbutton.h"
#include "app/form1text.h"
#include "app/keycodes.h"
#include "app/program.h"
#include "app/session.h"
#include "app/twips.h"
#include "dialogs/form2.h"
#include "dialogs/form4.h"
#include "dialogs/frmabout.h"
#include "editing/frmmenu.h"
#include "files/filelist.h"
#include "files/form3.h"
#include "files/module1.h"
#include "files/options.h"
#include "files/startini.h"
#include "platform/clipboard.h"
#include "platform/filesystem.h"
#include "platform/messageboxes.h"
#include "platform/paster.h"
#include "platform/sjiscodec.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

namespace {

using Icon = MessageBoxes::Icon;

constexpr int kSnippetMode = 1;
constexpr int kControlMode = 2;
constexpr int kSnippetFlag = 0;
/** Distance in twips from a button's top to the content view shown under it. */
constexpr double kContentViewDrop = 300;

} // namespace

Form1::Form1(Program &program)
    : QWidget(nullptr), m_program(program), m_session(program.session())
{
    setWindowTitle(form1text::title);
    setWindowIcon(program.icon());
    // A sizable frame without minimize and maximize boxes.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    // Made in the order Tab goes through them: the snippet buttons down, then the controls;
    // hidden ones are passed over.
    for (int i = 0; i < barlayout::snippetButtons; ++i) {
        auto *button = new BarButton(form1text::unset, this);
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        m_command1[i] = button;
    }
    for (int j = 0; j < barlayout::controlButtons; ++j) {
        auto *button = new BarButton(form1text::controlCaptions[j], this);
        button->setToolTip(form1text::controlTips[j]);
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, j] { Command2_Click(j); });
        m_command2[j] = button;
    }
    // Another program's save of the file in use, once nothing works on it.
    connect(&m_session.file(), &FileInUse::changedOnDisk, this,
            [this] { ReadFile(m_session.dataFileName()); });
}

Form1::~Form1() = default;

QPushButton &Form1::Command1(int index) const
{
    return *m_command1.at(index);
}

QPushButton &Form1::Command2(int index) const
{
    return *m_command2.at(index);
}

void Form1::focusButton(int flag, int index)
{
    QPushButton *button = nullptr;
    if (flag == 0 && index >= 0 && index < barlayout::snippetButtons)
        button = m_command1[index];
    else if (flag == 1 && index >= 0 && index < barlayout::controlButtons)
        button = m_command2[index];
    if (!button)
        return;
    activateWindow();
    if (!button->isHidden()) // a disabled button refuses the focus itself
        button->setFocus(Qt::OtherFocusReason);
}

void Form1::Form_Load()
{
    m_session.setSettings(Settings());
    InitFileName = filesystem::joinPath(m_program.workingDirectory(), QStringLiteral("Start.ini"));
    m_session.file().recoverInterruptedSaves();
    m_session.setDataFileNum(-1);

    StartRead();
    // A missing or unreadable file leaves every option off.
    const auto optionBytes = filesystem::readWholeFile(
            filesystem::joinPath(m_program.workingDirectory(), options::fileName));
    m_session.options = options::parse(optionBytes.value_or(QByteArray()));
    Paster &paster = m_program.services().paster;
    if (m_session.options.clickPaste && paster.available())
        paster.prepare(m_session.options.restoreToken);
    ReadFile(m_session.dataFileName());
    // Put on top only once laid out: this shows the bar, and a window resized after it is
    // shown but before the window manager has framed it lands a frame's size off its place.
    if (m_session.settings().onTop())
        m_program.setAllOnTop(true);
}

void Form1::SetDataFileName(const QString &fileName) { m_session.setDataFileName(fileName); }
QString Form1::GetDataFileName() const { return m_session.dataFileName(); }
void Form1::SetDataFileNum(int number) { m_session.setDataFileNum(number); }
int Form1::GetDataFileNum() const { return m_session.dataFileNum(); }
int Form1::GetButtonNum() const { return m_session.settings().buttonNum; }
int Form1::GetButtonHeight() const { return m_session.settings().buttonHeight; }
int Form1::GetButtonWidth() const { return m_session.settings().buttonWidth; }
int Form1::GetWinZ() const { return m_session.settings().winZ; }
int Form1::GetControlShowFlag() const { return m_session.settings().controlShowFlag; }
void Form1::SetWinZ(int ValueZ) { m_session.changeSettings([&](Settings &s) { s.winZ = ValueZ; }); }
void Form1::SetControlShowFlag(int Flag)
{
    m_session.changeSettings([&](Settings &s) { s.controlShowFlag = Flag; });
}

void Form1::InitProc()
{
    // Every button, shown or not: a count raised later must not bring back what another
    // file (or an earlier edit) left behind.
    m_session.setEntries({});
    showCaptions();
}

void Form1::showCaptions()
{
    for (int i = 0; i < barlayout::snippetButtons; ++i)
        m_command1[i]->setText(m_session.caption(i));
}

void Form1::ReRead()
{
    Form3 &dialog = m_program.form3();
    twips::moveWindow(dialog, Left(), Top());
    dialog.selectIndex(m_session.dataFileNum());
    m_program.presentOver(dialog, *this);
}

void Form1::StartRead()
{
    std::optional<QByteArray> bytes;
    if (filesystem::existingFileName(InitFileName))
        bytes = filesystem::readWholeFile(InitFileName);
    if (!bytes) {
        showNotice(form1text::withValue(form1text::settingsMissing, form1text::fileLabel,
                                        InitFileName));
        return;
    }

    const StartSettings settings = startini::parse(sjis::decode(*bytes));
    m_session.takeStartSettings(settings);
    if (settings.top || settings.left)
        moveToVisibleScreen(settings.left.value_or(Left()), settings.top.value_or(Top()));

    QList<bool> exists;
    for (const QString &listed : settings.paths) {
        // A Start.ini brought over from Windows lists files that now sit beside it.
        const QString path = filelist::resolveListedPath(listed, m_program.workingDirectory());
        const auto name = filesystem::existingFileName(path);
        exists.append(name.has_value());
        if (name) {
            m_session.addFile(*name, path, true);
        } else {
            showNotice(form1text::withValue(form1text::clipFileMissing, form1text::fileLabel,
                                            listed));
        }
    }

    m_session.setDataFileNum(startini::resolveIndex(settings.savedIndex, exists));
    m_session.selectFile(m_session.dataFileNum());
    m_session.setDataFileName(m_session.paths().value(m_session.dataFileNum()));
}

void Form1::ReadFile(const QString &fileName)
{
    InitProc();
    const LoadOutcome loaded = m_session.file().load(fileName);
    using Kind = LoadOutcome::Kind;
    const QString *notice = nullptr;
    switch (loaded.kind) {
    case Kind::Loaded:
        m_session.changeSettings([&](Settings &s) { s.buttonNum = int(loaded.entries.size()); });
        m_session.setEntries(loaded.entries);
        showCaptions();
        setWindowTitle(captionFor(loaded.name));
        break;
    case Kind::NoFile: break;
    case Kind::Missing: notice = &form1text::clipFileMissing; break;
    case Kind::TooLarge: notice = &form1text::clipFileTooLarge; break;
    case Kind::Unreadable: notice = &form1text::clipFileUnreadable; break;
    }
    if (notice)
        showNotice(form1text::withValue(*notice, form1text::fileLabel, fileName));
    const Settings &in = m_session.settings();
    WindowSet(in.buttonWidth, in.buttonNum, in.buttonHeight);
}

void Form1::watchFileInUse() { m_session.file().startWatching(); }

startini::Encoded Form1::startIniContent() const
{
    return m_session.startIniContent(Top(), Left());
}

void Form1::InitWrite()
{
    const startini::Encoded encoded = startIniContent();
    for (const QString &path : encoded.leftOut)
        showNotice(form1text::withValue(form1text::notShiftJis, form1text::fileLabel, path));
    QString reason;
    if (!filesystem::writeWholeFile(InitFileName, encoded.bytes, &reason))
        showNotice(form1text::unwritable(form1text::settingsUnwritable, InitFileName, reason));
}

void Form1::WindowSet(int width, int count, int height)
{
    const barlayout::Layout layout = m_session.layOut(width, count, height);

    InWindowSet = true;

    // A hidden button takes no clicks, keys or focus: hiding is all it needs.
    const auto show = [&layout](QPushButton &button, bool shown, int top) {
        if (shown)
            twips::place(button, 0, top, layout.buttonWidth, layout.buttonHeight);
        button.setVisible(shown);
    };
    for (int i = 0; i < barlayout::snippetButtons; ++i)
        show(*m_command1[i], i < layout.buttonNum, layout.snippetTops.value(i)); // tops of shown ones only
    for (int j = 0; j < barlayout::controlButtons; ++j)
        show(*m_command2[j], layout.controlsShown, layout.controlTops[j]);

    const QSize clientSize(twips::toPixels(layout.windowWidth - barlayout::frameWidth),
                           twips::toPixels(layout.windowHeight - barlayout::frameHeight));
    constexpr qsizetype kRemembered = 8;
    m_requestedSizes.append(clientSize);
    if (m_requestedSizes.size() > kRemembered)
        m_requestedSizes.removeFirst();
    resize(clientSize);
    InWindowSet = false;
}

AppliedProperties Form1::applyProperties(const PropertyFields &typed)
{
    const AppliedProperties applied = m_session.applyProperties(typed);
    m_program.setAllOnTop(applied.shown.onTop);
    WindowSet(applied.width, applied.count, applied.height);
    return applied;
}

void Form1::From4Set()
{
    m_program.form4().showFields(m_session.propertyFields());
}

void Form1::Form_Resize()
{
    const Settings &in = m_session.settings();
    const barlayout::ButtonSize size =
            barlayout::fromWindowSize(Width(), Height(), in.buttonNum, in.controlsHidden());
    WindowSet(size.width, in.buttonNum, size.height);
}

void Form1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (InWindowSet)
        return;
    // One of our own sizes arriving: the ones asked for before it are done with as well.
    const qsizetype own = m_requestedSizes.lastIndexOf(event->size());
    if (own >= 0) {
        m_requestedSizes.remove(0, own);
        return;
    }
    m_requestedSizes.clear(); // the user has resized: what we asked for before is history
    Form_Resize();
}

double Form1::Top() const
{
    return twips::windowTop(*this);
}

double Form1::Left() const
{
    return twips::windowLeft(*this);
}

double Form1::Width() const
{
    return twips::fromPixels(width()) + barlayout::frameWidth;
}

double Form1::Height() const
{
    return twips::fromPixels(height()) + barlayout::frameHeight;
}

void Form1::moveToVisibleScreen(double left, double top)
{
    twips::moveWindow(*this, left, top);
    // A position saved on a monitor that is gone would leave the bar where no one sees it.
    const QRect wanted(QPoint(twips::toPixels(left), twips::toPixels(top)), QSize(40, 20));
    const auto screens = QGuiApplication::screens();
    const bool visible = std::any_of(screens.begin(), screens.end(), [&wanted](QScreen *screen) {
        return screen->geometry().intersects(wanted);
    });
    if (!visible) {
        if (const QScreen *primary = QGuiApplication::primaryScreen())
            move(primary->availableGeometry().topLeft());
    }
}

void Form1::showNotice(const QString &text)
{
    m_program.services().messages.show(text, form1text::title, Icon::Exclamation);
}

QString Form1::GetClipData(int Index) const
{
    return m_session.text(Index);
}

void Form1::SetClipData(int Index, const QString &SetText)
{
    m_session.setText(Index, SetText);
}

void Form1::Command1_Click(int Index)
{
    Clipboard &clipboard = m_program.services().clipboard;
    clipboard.clear();
    clipboard.setText(m_session.text(Index));
    // Only a press of the button itself (a click, Enter or Space) gets here, never a key
    // command; the clipboard keeps the text whether or not the paste reaches a window.
    Paster &paster = m_program.services().paster;
    if (m_session.options.clickPaste && paster.available())
        paster.pasteIntoPrevious();
}

void Form1::Command2_Click(int Index)
{
    m_program.services().paster.keyboardWanted();
    switch (Index) {
    case 0:
        placeContentViewUnder(*m_command2[0]);
        m_program.setFocusTarget(1, Index);
        Kakunin();
        break;
    case 1:
        InitEdit();
        break;
    case 2:
        m_program.setFocusTarget(1, Index);
        ReRead();
        break;
    case 3:
        FormAbout();
        break;
    case 4:
        close();
        break;
    default:
        break;
    }
}

void Form1::Command1_KeyDown(int Index, int KeyCode)
{
    keyDownOn(*m_command1.at(Index), 0, Index, KeyCode);
}

void Form1::Command2_KeyDown(int Index, int KeyCode)
{
    keyDownOn(*m_command2.at(Index), 1, Index, KeyCode);
}

void Form1::Command1_MouseUp(int Index, QPoint position)
{
    rightClickOn(*m_command1.at(Index), 0, Index, position);
}

void Form1::Command2_MouseUp(int Index, QPoint position)
{
    rightClickOn(*m_command2.at(Index), 1, Index, position);
}

void Form1::keyDownOn(QPushButton &button, int flag, int index, int keyCode)
{
    placeContentViewUnder(button);
    m_program.setFocusTarget(flag, index);
    m_program.frmMenu().SetIndex(index);
    KeyDownEvent(keyCode, flag == 0 ? kSnippetMode : kControlMode);
}

void Form1::rightClickOn(QPushButton &button, int flag, int index, QPoint position)
{
    m_program.services().paster.keyboardWanted(); // for the keys of the commands, after the menu
    m_program.setFocusTarget(flag, index);
    FrmMenu &menu = m_program.frmMenu();
    placeContentViewAt(button, position);
    button.setFocus(Qt::MouseFocusReason);
    menu.SetIndex(index);
    menu.popUpMouseMenu(m_session.menuState(flag == kSnippetFlag), button.mapToGlobal(position));
}

void Form1::placeContentViewUnder(const QPushButton &button)
{
    m_contentViewLeft = Left();
    m_contentViewTop = twips::fromPixels(button.y()) + Top() + kContentViewDrop;
}

void Form1::placeContentViewAt(const QPushButton &button, QPoint position)
{
    m_contentViewTop = twips::fromPixels(position.y()) + twips::fromPixels(button.y()) + Top()
            + kContentViewDrop;
    m_contentViewLeft = twips::fromPixels(position.x()) + twips::fromPixels(button.x()) + Left();
}

void Form1::KeyDownEvent(int KeyCode, int Mode)
{
    using Kind = KeyCommand::Kind;
    const KeyCommand command = keyCommand(KeyCode, Mode);
    switch (command.kind) {
    case Kind::LoadListed: loadListedFile(command.listed); break;
    case Kind::Rename: m_program.frmMenu().Menu_ButtonNameChange_Click(); break;
    case Kind::Edit: m_program.frmMenu().Menu_ButtonEdit_Click(); break;
    case Kind::Display: m_program.frmMenu().Menu_Display_Click(); break;
    case Kind::Kakunin: Kakunin(); break;
    case Kind::Reload: ReadFile(m_session.dataFileName()); break;
    case Kind::ReadFiles: ReRead(); break;
    case Kind::OpenFile: InitEdit(); break;
    case Kind::Properties: FormAbout(); break;
    case Kind::None: break;
    }
}

void Form1::loadListedFile(int number)
{
    if (m_session.names().size() < number)
        return;
    m_session.selectFile(number - 1);
    m_session.setDataFileNum(m_session.selectedFile());
    m_session.setDataFileName(m_session.listedPath(m_session.selectedFile(),
                                                   m_program.workingDirectory()));
    ReadFile(m_session.dataFileName());
}

void Form1::Kakunin()
{
    Clipboard &clipboard = m_program.services().clipboard;
    if (!clipboard.hasText()) {
        showNotice(form1text::clipboardNotText);
        return;
    }
    showContent(clipboard.text(), form1text::clipboardEmpty);
}

void Form1::showContent(const QString &text, const QString &whenEmpty)
{
    if (text.isEmpty()) {
        m_program.services().messages.show(whenEmpty, form1text::title, Icon::Information);
        return;
    }
    Form2 &view = m_program.form2();
    twips::moveWindow(view, m_contentViewLeft, m_contentViewTop);
    view.setContent(text);
    m_program.presentOver(view, *this);
}

void Form1::InitEdit()
{
    if (m_session.dataFileName().isEmpty())
        return;
    Module1::OpenInAssociatedProgram(m_program, m_session.dataFileName());
}

void Form1::FormAbout()
{
    Form4 &properties = m_program.form4();
    twips::moveWindow(properties, Left(), Top());
    From4Set();
    m_program.presentOver(properties, *this);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    const auto snippet = std::find(m_command1.begin(), m_command1.end(), watched);
    const auto control = std::find(m_command2.begin(), m_command2.end(), watched);
    const bool isSnippet = snippet != m_command1.end();
    if (!isSnippet && control == m_command2.end())
        return QWidget::eventFilter(watched, event);
    const int index = int(isSnippet ? snippet - m_command1.begin() : control - m_command2.begin());
    auto *button = static_cast<QPushButton *>(watched);

    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const int code = keycodes::fromQtKey(key->key(), key->modifiers() & Qt::KeypadModifier,
                                             key->nativeScanCode());
        if (isSnippet)
            Command1_KeyDown(index, code);
        else
            Command2_KeyDown(index, code);
        // The menu key, or Shift+F10, opens the menu of the focused button, as a right click
        // does with the mouse.
        const bool menuKey = key->key() == Qt::Key_Menu
                || (key->key() == Qt::Key_F10 && key->modifiers().testFlag(Qt::ShiftModifier));
        if (menuKey && isEnabled()) {
            const QPoint centre = button->rect().center();
            if (isSnippet)
                Command1_MouseUp(index, centre);
            else
                Command2_MouseUp(index, centre);
            return true;
        }
        // Enter presses the focused button, as Space does.
        if (code == keycodes::enter && !key->isAutoRepeat() && button->isEnabled()
            && isEnabled()) {
            button->click();
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton && button->rect().contains(mouse->position().toPoint())) {
            if (isSnippet)
                Command1_MouseUp(index, mouse->position().toPoint());
            else
                Command2_MouseUp(index, mouse->position().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent *event)
{
    // While a dialog of the program has the bar disabled, its close box is as dead as its
    // buttons: closing now would drop the dialog's work unseen.
    if (!isEnabled() && event->spontaneous()) {
        event->ignore();
        return;
    }
    Form_Unload();
}

void Form1::Form_Unload()
{
    InitWrite();
    for (QWidget *window : m_program.loadedWindows())
        window->close();
    m_program.endProcess();
}
