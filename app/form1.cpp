#include "app/form1.h"

#include "app/barbutton.h"
#include "app/form1text.h"
#include "app/keycodes.h"
#include "app/program.h"
#include "app/twips.h"
#include "dialogs/form2.h"
#include "dialogs/form4.h"
#include "dialogs/frmabout.h"
#include "editing/form5.h"
#include "editing/form6.h"
#include "editing/frmmenu.h"
#include "files/filelist.h"
#include "files/filewatch.h"
#include "files/form3.h"
#include "files/module1.h"
#include "files/startini.h"
#include "platform/clipboard.h"
#include "platform/filesystem.h"
#include "platform/messageboxes.h"
#include "platform/sjiscodec.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

namespace {

using Icon = MessageBoxes::Icon;

constexpr int kSnippetMode = 1;
constexpr int kControlMode = 2;
/** Distance in twips from a button's top to the content view shown under it. */
constexpr double kContentViewDrop = 300;

} // namespace

Form1::Form1(Program &program) : QWidget(nullptr), m_program(program)
{
    setWindowTitle(form1text::title);
    setWindowIcon(program.icon());
    // A sizable frame without minimize and maximize boxes.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

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
    if (!button->isHidden() && button->isEnabled())
        button->setFocus(Qt::OtherFocusReason);
}

void Form1::Form_Load()
{
    const StartSettings defaults;
    ButtonWidth = defaults.buttonWidth;
    ButtonNum = defaults.buttonNum;
    ButtonHeight = defaults.buttonHeight;
    WinZ = defaults.winZ;
    ControlShowFlag = defaults.controlShowFlag;
    InitFileName = filesystem::joinPath(m_program.workingDirectory(), QStringLiteral("Start.ini"));
    DataFileNum = -1;

    StartRead();
    ReadFile(DataFileName);
}

void Form1::InitProc()
{
    // Every button, shown or not: a count raised later must not bring back what another
    // file (or an earlier edit) left behind.
    setEntries({});
}

void Form1::ReRead()
{
    setEnabled(false);
    Form3 &dialog = m_program.form3();
    twips::moveWindow(dialog, Left(), Top());
    dialog.selectIndex(DataFileNum);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
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
    ButtonNum = settings.buttonNum;
    ButtonHeight = settings.buttonHeight;
    ButtonWidth = settings.buttonWidth;
    WinZ = settings.winZ;
    ControlShowFlag = settings.controlShowFlag;
    if (settings.top || settings.left)
        moveToVisibleScreen(settings.left.value_or(Left()), settings.top.value_or(Top()));

    Form3 &files = m_program.form3();
    QList<bool> exists;
    for (const QString &listed : settings.paths) {
        // A Start.ini brought over from Windows lists files that now sit beside it.
        const QString path = filelist::resolveListedPath(listed, m_program.workingDirectory());
        const auto name = filesystem::existingFileName(path);
        exists.append(name.has_value());
        if (name) {
            files.appendEntry(*name, path);
            files.List3().append(path);
        } else {
            showNotice(form1text::withValue(form1text::clipFileMissing, form1text::fileLabel,
                                            listed));
        }
    }

    DataFileNum = startini::resolveIndex(settings.savedIndex, exists);
    files.selectIndex(DataFileNum);
    SetDataFileName(DataFileNum >= 0 ? files.List2().at(DataFileNum) : QString());

    FrmMenu &menu = m_program.frmMenu();
    const bool onTop = WinZ == 1;
    const bool hidden = ControlShowFlag == 1;
    menu.Menu_Allways().setChecked(onTop);
    menu.Menu_ControlButton().setChecked(hidden);
    // The properties dialog does not exist yet; it takes both settings from here when it
    // is created.
    if (onTop)
        m_program.setAllOnTop(true);
}

void Form1::ReadFile(const QString &fileName)
{
    InitProc();
    m_readFileName.clear();
    m_readEncoding = clipfile::Encoding::ShiftJis;
    KnownContent known{fileName, std::nullopt};
    if (!fileName.isEmpty()) {
        const auto name = filesystem::existingFileName(fileName);
        // Taken before the entries are parsed: a save by another program in between then
        // shows as a change, never goes unseen.
        if (name)
            known.bytes = filesystem::readWholeFile(fileName);
        if (!name) {
            showNotice(form1text::withValue(form1text::clipFileMissing, form1text::fileLabel,
                                            fileName));
        } else {
            const clipfile::ReadResult read = clipfile::read(fileName);
            if (read.status != clipfile::ReadResult::Status::Ok) {
                showNotice(form1text::withValue(form1text::clipFileUnreadable,
                                                form1text::fileLabel, fileName));
            } else {
                m_readFileName = fileName;
                m_readEncoding = read.encoding;
                ButtonNum = int(read.entries.size());
                setEntries(read.entries);
                // The caption is the name less its extension, whatever the last four are.
                setWindowTitle(name->size() >= 4 ? name->chopped(4) : QString());
            }
        }
    }
    setKnownContent(std::move(known));
    WindowSet(ButtonWidth, ButtonNum, ButtonHeight);
}

void Form1::setKnownContent(KnownContent known)
{
    m_known = std::move(known);
    if (m_watch)
        m_watch->setPath(m_known.path);
}

void Form1::watchFileInUse()
{
    if (m_watch)
        return;
    m_watch = new FileWatch(this);
    connect(m_watch, &FileWatch::changed, this, &Form1::fileChangedOnDisk);
    m_watch->setPath(m_known.path);
}

void Form1::fileChangedOnDisk()
{
    // While a dialog works on the bar, its own save asks before replacing the change.
    if (!isEnabled()) {
        m_reloadPending = true;
        return;
    }
    m_reloadPending = false;
    if (DataFileName.isEmpty() || m_known.path != DataFileName)
        return;
    // Halfway through another program's save the file may be missing for a moment: the
    // bar keeps its entries until the file is back.
    if (!filesystem::existingFileName(DataFileName))
        return;
    const auto bytes = filesystem::readWholeFile(DataFileName);
    if (bytes && bytes != m_known.bytes)
        ReadFile(DataFileName);
}

void Form1::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // After the handler that enables the bar has finished its own save.
    if (event->type() == QEvent::EnabledChange && isEnabled() && m_reloadPending)
        QMetaObject::invokeMethod(this, &Form1::fileChangedOnDisk, Qt::QueuedConnection);
}

void Form1::InitWrite()
{
    StartSettings settings;
    settings.buttonNum = ButtonNum;
    settings.buttonHeight = ButtonHeight;
    settings.buttonWidth = ButtonWidth;
    settings.winZ = WinZ;
    settings.controlShowFlag = ControlShowFlag;
    settings.top = Top();
    settings.left = Left();
    settings.savedIndex = DataFileNum;
    settings.paths = m_program.form3().List2();

    const startini::Encoded encoded = startini::encode(settings);
    for (const QString &path : encoded.leftOut)
        showNotice(form1text::withValue(form1text::notShiftJis, form1text::fileLabel, path));
    if (!filesystem::writeWholeFile(InitFileName, encoded.bytes))
        showNotice(form1text::withValue(form1text::settingsUnwritable, form1text::fileLabel,
                                        InitFileName));
}

void Form1::WindowSet(int width, int count, int height)
{
    const barlayout::Layout layout = barlayout::compute(width, count, height, ControlShowFlag == 1);

    InWindowSet = true;
    m_laidOut = true;
    ButtonWidth = layout.buttonWidth;
    ButtonNum = layout.buttonNum;
    ButtonHeight = layout.buttonHeight;

    QWidget *previous = nullptr;
    for (int i = 0; i < barlayout::snippetButtons; ++i) {
        QPushButton *button = m_command1[i];
        if (i < ButtonNum) {
            twips::place(*button, 0, layout.snippetTops.at(i), ButtonWidth, ButtonHeight);
            button->setEnabled(true);
            button->setVisible(true);
            if (previous)
                setTabOrder(previous, button);
            previous = button;
        } else {
            button->setEnabled(false);
            button->setVisible(false);
        }
    }
    for (int j = 0; j < barlayout::controlButtons; ++j) {
        QPushButton *button = m_command2[j];
        if (layout.controlsShown) {
            twips::place(*button, 0, layout.controlTops[j], ButtonWidth, ButtonHeight);
            button->setEnabled(true);
            button->setVisible(true);
            setTabOrder(previous, button);
            previous = button;
        } else {
            button->setEnabled(false);
            button->setVisible(false);
        }
    }

    const QSize clientSize(twips::toPixels(layout.windowWidth - barlayout::frameWidth),
                           twips::toPixels(layout.windowHeight - barlayout::frameHeight));
    constexpr qsizetype kRemembered = 8;
    m_requestedSizes.append(clientSize);
    if (m_requestedSizes.size() > kRemembered)
        m_requestedSizes.removeFirst();
    resize(clientSize);
    InWindowSet = false;
}

void Form1::From4Set()
{
    // The width as set, not as the button shows it in whole pixels: an apply that follows
    // must not round the width to 15 twips.
    Form4 &properties = m_program.form4();
    properties.Text1().setText(QString::number(ButtonWidth));
    properties.Text2().setText(QString::number(ButtonNum));
    properties.Text3().setText(QString::number(ButtonHeight));
    properties.Check1().setChecked(WinZ == 1);
    properties.Check2().setChecked(ControlShowFlag == 1);
}

void Form1::Form_Resize()
{
    const bool hidden = ControlShowFlag == 1;
    const barlayout::ButtonSize size =
            barlayout::fromWindowSize(Width(), Height(), ButtonNum, hidden);
    WindowSet(size.width, ButtonNum, size.height);
}

void Form1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (InWindowSet)
        return;
    if (!m_laidOut) {
        // Shown before start-up has laid the bar out (the on-top setting shows it early): the
        // window system reports this first size back later, like one the program asked for.
        m_requestedSizes.append(event->size());
        return;
    }
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

QList<ClipEntry> Form1::entries() const
{
    QList<ClipEntry> result;
    const int count = std::min(ButtonNum, barlayout::snippetButtons);
    for (int i = 0; i < count; ++i)
        result.append({m_command1[i]->text(), ClipData[i]});
    return result;
}

clipfile::Encoding Form1::encodingFor(const QString &path) const
{
    return path == m_readFileName ? m_readEncoding : clipfile::Encoding::ShiftJis;
}

void Form1::setEntries(const QList<ClipEntry> &entries)
{
    for (int i = 0; i < barlayout::snippetButtons; ++i) {
        const bool entry = i < entries.size();
        m_command1[i]->setText(entry ? entries.at(i).caption : form1text::unset);
        ClipData[i] = entry ? entries.at(i).text : QString();
    }
}

QString Form1::GetClipData(int Index) const
{
    return ClipData.at(Index);
}

void Form1::SetClipData(int Index, const QString &SetText)
{
    ClipData.at(Index) = SetText;
}

void Form1::Command1_Click(int Index)
{
    Clipboard &clipboard = m_program.services().clipboard;
    clipboard.clear();
    clipboard.setText(ClipData.at(Index));
}

void Form1::Command2_Click(int Index)
{
    switch (Index) {
    case 0:
        placeContentViewUnder(*m_command2[0]);
        m_program.form2().SetFlag(1, Index);
        Kakunin();
        break;
    case 1:
        InitEdit();
        break;
    case 2:
        m_program.form3().SetFlag(1, Index);
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
    m_program.form2().SetFlag(flag, index);
    m_program.form3().SetFlag(flag, index);
    m_program.frmMenu().SetIndex(index);
    KeyDownEvent(keyCode, flag == 0 ? kSnippetMode : kControlMode);
}

void Form1::rightClickOn(QPushButton &button, int flag, int index, QPoint position)
{
    m_program.form2().SetFlag(flag, index);
    m_program.form3().SetFlag(flag, index);
    FrmMenu &menu = m_program.frmMenu();
    // The button commands need a snippet button to act on.
    menu.Menu_Button().setEnabled(flag == 0);
    const bool loaded = !DataFileName.isEmpty();
    menu.Menu_Edit().setEnabled(loaded);
    menu.Menu_Update().setEnabled(loaded);
    placeContentViewAt(button, position);
    button.setFocus(Qt::MouseFocusReason);
    menu.SetIndex(index);
    menu.MouseMenu().popup(button.mapToGlobal(position));
}

void Form1::placeContentViewUnder(const QPushButton &button)
{
    const double top = twips::fromPixels(button.y()) + Top() + kContentViewDrop;
    twips::moveWindow(m_program.form2(), Left(), top);
}

void Form1::placeContentViewAt(const QPushButton &button, QPoint position)
{
    const double top = twips::fromPixels(position.y()) + twips::fromPixels(button.y()) + Top()
            + kContentViewDrop;
    const double left = twips::fromPixels(position.x()) + twips::fromPixels(button.x()) + Left();
    twips::moveWindow(m_program.form2(), left, top);
}

void Form1::KeyDownEvent(int KeyCode, int Mode)
{
    FrmMenu &menu = m_program.frmMenu();
    if (KeyCode >= keycodes::digit0 && KeyCode <= keycodes::digit9) {
        loadListedFile(KeyCode == keycodes::digit0 ? 10 : KeyCode - keycodes::digit0);
        return;
    }
    switch (KeyCode - keycodes::f1) {
    case 0:
        if (Mode == kSnippetMode)
            menu.Menu_ButtonNameChange_Click();
        break;
    case 1:
        if (Mode == kSnippetMode)
            menu.Menu_ButtonEdit_Click();
        break;
    case 2:
        if (Mode == kSnippetMode)
            menu.Menu_Display_Click();
        break;
    case 3:
        Kakunin();
        break;
    case 4:
        ReadFile(DataFileName);
        break;
    case 5:
        ReRead();
        break;
    case 6:
        InitEdit();
        break;
    case 7:
        FormAbout();
        break;
    default:
        break;
    }
}

void Form1::loadListedFile(int number)
{
    Form3 &files = m_program.form3();
    if (files.List1().count() < number)
        return;
    files.selectIndex(number - 1);
    DataFileNum = files.selectedIndex();
    DataFileName = files.listedPath(DataFileNum);
    ReadFile(DataFileName);
}

void Form1::Kakunin()
{
    Clipboard &clipboard = m_program.services().clipboard;
    if (!clipboard.hasText()) {
        showNotice(form1text::clipboardNotText);
        return;
    }
    Form2 &view = m_program.form2();
    view.setContent(clipboard.text());
    if (!view.content().isEmpty()) {
        setEnabled(false);
        view.show();
        view.raise();
        view.activateWindow();
    } else {
        m_program.services().messages.show(form1text::clipboardEmpty, form1text::title,
                                           Icon::Information);
    }
}

void Form1::InitEdit()
{
    if (DataFileName.isEmpty())
        return;
    Module1::OpenInAssociatedProgram(m_program, DataFileName);
}

void Form1::FormAbout()
{
    setEnabled(false);
    Form4 &properties = m_program.form4();
    twips::moveWindow(properties, Left(), Top());
    From4Set();
    properties.show();
    properties.raise();
    properties.activateWindow();
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
    event->accept();
}

void Form1::Form_Unload()
{
    InitWrite();
    for (QWidget *window : m_program.loadedWindows())
        window->close();
    m_program.endProcess();
}
