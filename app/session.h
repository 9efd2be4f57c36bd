#pragma once

#include "app/barlayout.h"
#include "app/limits.h"
#include "files/autostart.h"
#include "files/clipfile.h"
#include "files/fileinuse.h"
#include "files/options.h"
#include "files/startini.h"

#include <QString>
#include <QStringList>

#include <array>

/** The bar's settings: what Start.ini carries and the properties dialog sets. */
struct Settings
{
    int buttonNum = limits::defaultButtonNum;
    int buttonHeight = limits::defaultButtonHeight;
    int buttonWidth = limits::defaultButtonWidth;
    int winZ = 0;            ///< 1: every window on top
    int controlShowFlag = 0; ///< 1: the control buttons hidden
    bool onTop() const { return winZ == 1; }
    bool controlsHidden() const { return controlShowFlag == 1; }
};

/** The properties dialog's fields, as typed and as shown after its OK. */
struct PropertyFields
{
    QString width;
    QString count;
    QString height;
    bool onTop = false;
    bool hidden = false;
    bool operator==(const PropertyFields &) const = default;
};

/** What the properties dialog's OK lays out, and what its fields show afterwards. */
struct AppliedProperties
{
    int width = 0;
    int count = 0;
    int height = 0;
    PropertyFields shown;
};

/** The OK's checks: an empty field takes the value in use; a count above 30 or below 1 is
    30 or 1; a field that holds no 16-bit whole number (or a negative one) shows the value in
    use again; a bar that 16-bit twips cannot hold is laid out narrower or lower, and the
    field shows what was applied. */
AppliedProperties resolveProperties(const PropertyFields &typed, const Settings &inUse);

/** What a key on a bar button does. */
struct KeyCommand
{
    enum class Kind {
        None, LoadListed, Rename, Edit, Display, Kakunin, Reload, ReadFiles, OpenFile, Properties
    };
    Kind kind = Kind::None;
    int listed = 0; ///< LoadListed: the entry of the read-file list, counted from 1
    bool operator==(const KeyCommand &) const = default;
};

/** The bar's key table: digits load a listed file (0 the tenth), F1 to F3 work on a snippet
    button only (mode 1), F4 to F8 on either (mode 2 a control button). */
KeyCommand keyCommand(int keyCode, int mode);

/** The state of the bar's menu items for a right click on a snippet or a control button. */
struct MenuState
{
    bool buttonCommands = false; ///< the button submenu needs a snippet button to act on
    bool fileCommands = false;   ///< edit and update need a file in use
    bool onTop = false;
    bool controlsHidden = false;
    bool clickPaste = false;
    bool startAtLogin = false; ///< the autostart entry is there and not switched off
    bool operator==(const MenuState &) const = default;
};

/** The bar's caption for a clip data file's name: the name less its extension, whatever
    its last four characters are; empty for a shorter name. */
QString captionFor(const QString &fileName);

/** The program's state apart from its windows: the clip table, the settings, the read-file
    list, the file in use and what the program last read from or wrote to it. The windows
    show it; the decisions it takes are tested without them. */
class Session final
{
public:
    Session();
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    const Settings &settings() const { return m_settings; }
    void setSettings(const Settings &settings) { m_settings = settings; }
    /** The numbers of a Start.ini become the settings in use. */
    void takeStartSettings(const StartSettings &read);
    /** Start.ini's bytes for the settings, the read-file list and the file in use, with the
        bar at `top`, `left` (twips). */
    startini::Encoded startIniContent(double top, double left) const;
    template <typename Change>
    void changeSettings(Change &&change) { change(m_settings); }
    /** The settings of the file beside Start.ini. */
    options::Options options;
    /** Where the entry that starts the bar at login goes; no folder, no entry. */
    autostart::Place autostart;
    /** Lays the bar out and keeps the numbers the layout applied. */
    barlayout::Layout layOut(int width, int count, int height);
    /** The properties OK on the settings: on top and hidden control buttons are taken as
        they are; the numbers come back resolved for the layout. */
    AppliedProperties applyProperties(const PropertyFields &typed);
    /** The properties dialog's fields for the settings in use. */
    PropertyFields propertyFields() const;
    MenuState menuState(bool onSnippet) const;

    // The clip table: 31 slots of caption and text.
    QString caption(int index) const { return m_captions.at(index); }
    void setCaption(int index, const QString &caption) { m_captions.at(index) = caption; }
    QString text(int index) const { return m_texts.at(index); }
    void setText(int index, const QString &text) { m_texts.at(index) = text; }
    /** The entries the bar shows, as a clip data file carries them. */
    QList<ClipEntry> entries() const;
    /** Makes `entries` the bar's only ones: every slot after them is unset. */
    void setEntries(const QList<ClipEntry> &entries);

    // The read-file list: names shown, working paths, paths as last accepted.
    const QStringList &names() const { return m_names; }
    const QStringList &paths() const { return m_paths; }
    const QStringList &acceptedPaths() const { return m_accepted; }
    /** Adds a file to the shown and working lists; `accepted` adds it to the last
        accepted list as well. */
    void addFile(const QString &name, const QString &path, bool accepted = false);
    /** Takes the selected entry out of the shown and working lists. */
    void removeSelectedFile();
    /** The working list becomes the accepted one. */
    void acceptFiles() { m_accepted = m_paths; }
    /** The working list goes back to the accepted one, the file in use selected. */
    void restoreFiles();
    /** The file of entry `index` to load. An entry brought over from Windows that names a
        file in `folder` becomes that file, in all three lists. */
    QString listedPath(int index, const QString &folder);
    int selectedFile() const { return m_selected; }
    /** Selects entry `index`; anything that names no entry selects nothing. */
    void selectFile(int index);
    /** A file just created joins the list, selected, as the file in use. */
    void addCurrentFile(const QString &name, const QString &path);

    // The file in use.
    QString dataFileName() const { return m_file.path(); }
    void setDataFileName(const QString &path) { m_file.setPath(path); }
    int dataFileNum() const { return m_dataFileNum; }
    void setDataFileNum(int number) { m_dataFileNum = number; }
    /** The one reader and writer of the file in use. */
    FileInUse &file() { return m_file; }

private:
    Settings m_settings;
    int m_dataFileNum = -1;
    FileInUse m_file;
    std::array<QString, limits::slotCount> m_captions;
    std::array<QString, limits::slotCount> m_texts;
    QStringList m_names;
    QStringList m_paths;
    QStringList m_accepted;
    int m_selected = -1;
};
