#include "app/program.h"

#include "app/enterpressesbutton.h"
#include "app/form1.h"
#include "app/form1text.h"
#include "app/twips.h"
#include "dialogs/form2.h"
#include "dialogs/form4.h"
#include "dialogs/frmabout.h"
#include "editing/form5.h"
#include "editing/form6.h"
#include "editing/frmmenu.h"
#include "editing/form5text.h"
#include "editing/frmmenutext.h"
#include "files/form3.h"
#include "platform/filedialogs.h"
#include "platform/messageboxes.h"
#include "platform/paster.h"
#include "platform/windoworder.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QResource>

#include <type_traits>

namespace {

/** The icon in the sizes the build rendered it at, each as raw RGBA pixels in a resource
    named snipdeck-<pixels>.rgba; a resource of the wrong length is left out. The resources
    are stored uncompressed, so the pixels are read where the program's image holds them. */
QIcon loadIcon()
{
    QIcon icon;
    const QString folder = QStringLiteral(":/snipdeck/");
    const QString prefix = QStringLiteral("snipdeck-"), suffix = QStringLiteral(".rgba");
    // Every name is looked at rather than a wildcard matched, which would compile a pattern.
    for (const QString &name : QDir(folder).entryList(QDir::Files)) {
        if (!name.startsWith(prefix) || !name.endsWith(suffix))
            continue;
        const int size = QStringView(name).sliced(prefix.size()).chopped(suffix.size()).toInt();
        const QResource pixels(folder + name);
        if (size <= 0 || pixels.size() != qint64(size) * size * 4)
            continue;
        const QImage image(pixels.data(), size, size, size * 4,
                           QImage::Format_RGBA8888_Premultiplied);
        icon.addPixmap(QPixmap::fromImage(image)); // copies the pixels
    }
    return icon;
}

} // namespace

class Program::HeldMessages final : public MessageBoxes
{
public:
    HeldMessages(MessageBoxes &boxes, FileInUse &file) : m_boxes(boxes), m_file(file) {}
    Answer show(const QString &text, const QString &title, Icon icon, Buttons buttons) override
    {
        const FileInUse::Busy busy(m_file);
        return m_boxes.show(text, title, icon, buttons);
    }

private:
    MessageBoxes &m_boxes;
    FileInUse &m_file;
};

class Program::HeldFileDialogs final : public FileDialogs
{
public:
    HeldFileDialogs(FileDialogs &dialogs, FileInUse &file) : m_dialogs(dialogs), m_file(file) {}
    std::optional<QStringList> openFiles() override
    {
        const FileInUse::Busy busy(m_file);
        return m_dialogs.openFiles();
    }
    std::optional<QString> saveFile() override
    {
        const FileInUse::Busy busy(m_file);
        return m_dialogs.saveFile();
    }

private:
    FileDialogs &m_dialogs;
    FileInUse &m_file;
};

Program::Program(Services services, QString workingDirectory, std::function<void()> endProcess)
    : m_heldMessages(std::make_unique<HeldMessages>(services.messages, m_session.file()))
    , m_heldFileDialogs(std::make_unique<HeldFileDialogs>(services.fileDialogs, m_session.file()))
    , m_services{services.clipboard, *m_heldMessages, *m_heldFileDialogs, services.windowOrder,
                 services.launcher, services.paster}
    , m_workingDirectory(std::move(workingDirectory))
    , m_endProcess(std::move(endProcess))
    , m_icon(loadIcon())
{
    // The main window exists first; the others are created hidden when first used.
    m_form1 = std::make_unique<Form1>(*this);
    // The desktop's answers about pasting reach the menu, which shows them, for as long as
    // the program lives.
    Paster &paster = m_services.paster;
    paster.granted = [this](const QByteArray &token) { frmMenu().pasteGranted(token); };
    paster.failed = [this](Paster::Obstacle obstacle) { frmMenu().pasteFailed(obstacle); };
}

Program::~Program()
{
    // The paster's answers would find no menu.
    m_services.paster.granted = nullptr;
    m_services.paster.failed = nullptr;
    // Windows may still point at one another through the program; take them down in the
    // order shutdown unloads them, the main window last.
    m_form2.reset();
    m_form3.reset();
    m_form4.reset();
    m_form5.reset();
    m_form6.reset();
    m_about.reset();
    m_frmMenu.reset();
    m_form1.reset();
}

void Program::start()
{
    m_form1->Form_Load();
    if (!m_ended)
        m_form1->show();
}

template <typename Window>
Window &Program::ensure(std::unique_ptr<Window> &slot)
{
    if (!slot) {
        slot = std::make_unique<Window>(*this);
        slot->setWindowIcon(m_icon);
        slot->installEventFilter(new EnterPressesButton(slot.get()));
        // The dialogs' controls sit at their twips, grown where the font needs more room;
        // the content view sizes itself to what it shows.
        if constexpr (!std::is_same_v<Window, FrmMenu> && !std::is_same_v<Window, Form2>)
            twips::fitToTexts(*slot);
        if constexpr (!std::is_same_v<Window, FrmMenu>) {
            if (m_allOnTop)
                m_services.windowOrder.setStaysOnTop(*slot, true, false);
        }
    }
    return *slot;
}

Form1 &Program::form1() { return *m_form1; }
Form2 &Program::form2()
{
    if (!m_form2)
        ensure(m_form2).SetFlag(m_focusFlag, m_focusIndex);
    return *m_form2;
}

Form3 &Program::form3()
{
    if (!m_form3)
        ensure(m_form3).SetFlag(m_focusFlag, m_focusIndex);
    return *m_form3;
}

void Program::setFocusTarget(int flag, int index)
{
    m_focusFlag = flag;
    m_focusIndex = index;
    if (m_form2)
        m_form2->SetFlag(flag, index);
    if (m_form3)
        m_form3->SetFlag(flag, index);
}
Form4 &Program::form4() { return ensure(m_form4); }
Form5 &Program::form5() { return ensure(m_form5); }
Form6 &Program::form6() { return ensure(m_form6); }
frmAbout &Program::about() { return ensure(m_about); }
FrmMenu &Program::frmMenu() { return ensure(m_frmMenu); }

QList<QWidget *> Program::loadedWindows() const
{
    QList<QWidget *> windows{m_form2.get(), m_form3.get(), m_form4.get(), m_form5.get(),
                             m_form6.get(), m_about.get(), m_frmMenu.get()};
    windows.removeAll(nullptr);
    return windows;
}

void Program::setAllOnTop(bool onTop)
{
    m_allOnTop = onTop;
    m_services.windowOrder.setStaysOnTop(*m_form1, onTop, true);
    for (QWidget *window : loadedWindows()) {
        if (window != m_frmMenu.get())
            m_services.windowOrder.setStaysOnTop(*window, onTop, false);
    }
}

void Program::presentOver(QWidget &window, QWidget &owner)
{
    m_focusBefore.insert(&owner, owner.focusWidget());
    m_session.file().hold(&window);
    owner.setEnabled(false);
    window.show();
    window.raise();
    window.activateWindow();
}

void Program::returnTo(QWidget &owner, QWidget &window)
{
    const bool wasShown = window.isVisible();
    window.hide();
    owner.setEnabled(true);
    m_session.file().release(&window);
    const QPointer<QWidget> control = m_focusBefore.take(&owner);
    if (!wasShown)
        return;
    // Keys work on the controls only: the window itself must not be left holding the focus.
    if (control && control != &owner && control->isVisible() && control->isEnabled())
        control->setFocus(Qt::OtherFocusReason);
    owner.activateWindow();
}

std::optional<QString> Program::newFilePath()
{
    const auto answer = m_services.messages.show(form5text::createQuestion,
                                                 form5text::createQuestionTitle,
                                                 MessageBoxes::Icon::Question,
                                                 MessageBoxes::Buttons::OkCancel);
    if (answer != MessageBoxes::Answer::Ok)
        return std::nullopt;
    return m_services.fileDialogs.saveFile();
}

bool Program::replaceOtherVersion(const QString &path)
{
    return m_services.messages.show(
                   form1text::withValue(form5text::overwriteQuestion, form1text::fileLabel, path),
                   form1text::title, MessageBoxes::Icon::Question, MessageBoxes::Buttons::OkCancel)
            == MessageBoxes::Answer::Ok;
}

bool Program::emptyFile(const QString &path)
{
    return m_services.messages.show(
                   form1text::withValue(frmmenutext::replaceQuestion, form1text::fileLabel, path),
                   form1text::title, MessageBoxes::Icon::Question, MessageBoxes::Buttons::OkCancel)
            == MessageBoxes::Answer::Ok;
}

Program::SaveResult Program::saveClipFile(const QList<ClipEntry> &entries)
{
    const SaveOutcome saved = m_session.file().save(entries, *this);
    if (saved.kind == SaveOutcome::Kind::NoFile)
        return SaveResult::NoFile;
    if (!reportSave(saved, entries))
        return SaveResult::Kept;
    const QString name = QFileInfo(saved.path).fileName();
    if (saved.created)
        m_session.addCurrentFile(name, saved.path);
    m_form1->setWindowTitle(captionFor(name));
    return SaveResult::Saved;
}

SaveOutcome Program::createClipFile(const QString &path, const QList<ClipEntry> &entries)
{
    return m_session.file().create(path, entries, *this);
}

bool Program::reportSave(const SaveOutcome &saved, const QList<ClipEntry> &entries)
{
    using Kind = SaveOutcome::Kind;
    QString text;
    if (saved.kind == Kind::Unencodable)
        text = form1text::withValue(form1text::notShiftJis, form1text::buttonLabel,
                                    entries.value(saved.entryIndex).caption);
    else if (saved.kind == Kind::Failed)
        text = form1text::unwritable(form5text::clipFileUnwritable, saved.path, saved.error);
    else
        return saved.kind == Kind::Saved;
    m_services.messages.show(text, form1text::title, MessageBoxes::Icon::Exclamation);
    return false;
}

void Program::unload(QWidget *window)
{
    const auto release = [this, window](auto &slot) {
        if (slot && slot.get() == window) {
            slot->hide();
            m_session.file().release(window);
            // The window may be inside one of its own handlers; let it return first.
            slot.release()->deleteLater();
            return true;
        }
        return false;
    };
    release(m_form2) || release(m_form3) || release(m_form4) || release(m_form5)
            || release(m_form6) || release(m_about) || release(m_frmMenu);
}

void Program::endProcess()
{
    if (m_ended)
        return;
    m_ended = true;
    if (m_endProcess)
        m_endProcess();
}
