#pragma once

#include "app/session.h"
#include "platform/services.h"

#include <QHash>
#include <QIcon>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class Form1;
class Form2;
class Form3;
class Form4;
class Form5;
class Form6;
class FrmMenu;
class QWidget;
class frmAbout;

/** The whole program: owns the session and the eight windows, hands each a reference to
    itself so that they reach one another, and holds the platform services they use.

    Data flows core → windows → platform: the session (widget-free, in the core) holds the
    clip table, the settings, the read-file list and the file in use and takes the
    decisions; the windows show it and call the platform services for the clipboard,
    message boxes, file dialogs, window order and other programs. A test builds a whole
    fresh program with fake services in one line. */
class Program final : private FileQuestions
{
public:
    /** `workingDirectory` is where Start.ini lives; `endProcess` is what ending the program
        means (quitting the event loop in main(), recording the call in a test). */
    Program(Services services, QString workingDirectory, std::function<void()> endProcess = {});
    ~Program() override;
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    /** Start-up: the main window's load handler, then the main window is shown. */
    void start();

    Services &services() { return m_services; }
    Session &session() { return m_session; }
    const QString &workingDirectory() const { return m_workingDirectory; }
    /** The main window's icon, which every window wears. */
    const QIcon &icon() const { return m_icon; }

    /** The windows. A window that was unloaded is created anew (hidden) on its next use. */
    Form1 &form1();
    Form2 &form2();
    Form3 &form3();
    Form4 &form4();
    Form5 &form5();
    Form6 &form6();
    frmAbout &about();
    FrmMenu &frmMenu();

    /** The windows besides the main one that exist now, in the order shutdown unloads them.
        A window is created on its first use, not at start-up: the bar comes up sooner and
        fonts only the dialogs need are not loaded for it. */
    QList<QWidget *> loadedWindows() const;

    /** Keeps the seven windows above other programs' windows, or lets them go back to the
        normal order, without activating any; the main window is shown, the others keep
        their visibility. A window created later follows the setting. */
    void setAllOnTop(bool onTop);

    /** Shows `window` over `owner`, which is disabled until the window hands it back: the
        disabling is what keeps a second command from starting. */
    void presentOver(QWidget &window, QWidget &owner);
    /** A way out of `window`: it hides, and `owner` is enabled and, when the window was up,
        active again with the focus on the control that had it, unless the caller puts the
        focus elsewhere. */
    void returnTo(QWidget &owner, QWidget &window);

    enum class SaveResult {
        Saved,  ///< the file holds the entries
        NoFile, ///< none was in use and the user chose not to create one: nothing written
        Kept,   ///< the file stays as it was (the user kept another program's version, or
                ///< the write failed and said why): the edit stays where it was made
    };
    /** Writes `entries` to the clip data file in use, asking for a new file when none is; a
        new file joins the read-file list once it is written. */
    SaveResult saveClipFile(const QList<ClipEntry> &entries);
    /** Writes `entries` as a new set to `path`, asking before it empties a file that holds
        something; it becomes the file in use. */
    SaveOutcome createClipFile(const QString &path, const QList<ClipEntry> &entries);
    /** Shows why a save of `entries` left its file as it was; true when it was written. */
    bool reportSave(const SaveOutcome &saved, const QList<ClipEntry> &entries);

    /** The button the content view and the read-file dialog give the focus back to: a
        snippet button (flag 0) or a control button (flag 1). Handed to either window when
        it is created. */
    void setFocusTarget(int flag, int index);

    /** Unloads a window other than the main window: it is destroyed once its event handler
        returns, and its next use creates it again. */
    void unload(QWidget *window);

    /** Ends the process at once; no further event handler of the program runs. */
    void endProcess();
    bool hasEnded() const { return m_ended; }

private:
    template <typename Window>
    Window &ensure(std::unique_ptr<Window> &slot);

    std::optional<QString> newFilePath() override;
    bool replaceOtherVersion(const QString &path) override;
    bool emptyFile(const QString &path) override;

    /** A modal box or dialog holds the file in use busy while it is open: a change on disk
        is looked at after it, never inside it. */
    class HeldMessages;
    class HeldFileDialogs;

    Session m_session;
    std::unique_ptr<HeldMessages> m_heldMessages;
    std::unique_ptr<HeldFileDialogs> m_heldFileDialogs;
    Services m_services;
    QString m_workingDirectory;
    std::function<void()> m_endProcess;
    QIcon m_icon;
    bool m_ended = false;
    bool m_allOnTop = false;
    int m_focusFlag = 0;
    int m_focusIndex = 0;
    /** Disabling a window takes the focus from its control: the control to give it back to. */
    QHash<const QWidget *, QPointer<QWidget>> m_focusBefore;

    std::unique_ptr<Form1> m_form1;
    std::unique_ptr<Form2> m_form2;
    std::unique_ptr<Form3> m_form3;
    std::unique_ptr<Form4> m_form4;
    std::unique_ptr<Form5> m_form5;
    std::unique_ptr<Form6> m_form6;
    std::unique_ptr<frmAbout> m_about;
    std::unique_ptr<FrmMenu> m_frmMenu;
};
