#pragma once

#include "files/clipfile.h"
#include "files/knowncontent.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <memory>
#include <optional>

class FileWatch;

/** The questions a save may need answered before it goes on; the windows ask the user. */
class FileQuestions
{
public:
    virtual ~FileQuestions() = default;
    /** No file is in use: the path of a new one to save to, or nothing when the user would
        rather not create one. */
    virtual std::optional<QString> newFilePath() = 0;
    /** Whether to replace what another program saved to `path` since the program last read
        or wrote it. */
    virtual bool replaceOtherVersion(const QString &path) = 0;
    /** Whether to empty `path`, which holds something, for a new set of buttons. */
    virtual bool emptyFile(const QString &path) = 0;
};

/** What loading the file in use came to. */
struct LoadOutcome
{
    Q_GADGET
public:
    enum class Kind { Loaded, NoFile, Missing, TooLarge, Unreadable };
    Q_ENUM(Kind)
    Kind kind = Kind::NoFile;
    QList<ClipEntry> entries; ///< for Loaded
    QString name;             ///< the file's name part, for Loaded
    QString error;            ///< the system's reason, for Unreadable
};

/** What a save came to. */
struct SaveOutcome
{
    Q_GADGET
public:
    enum class Kind {
        Saved,       ///< the file holds the entries
        NoFile,      ///< none was in use and the user chose not to create one
        Kept,        ///< the user kept the other version: nothing written
        Unencodable, ///< an entry Shift-JIS cannot hold: nothing written
        Failed,      ///< the system refused the write: the file is as it was
    };
    Q_ENUM(Kind)
    Kind kind = Kind::Saved;
    QString path;        ///< the file saved, or tried
    bool created = false; ///< a new file the user chose, for Saved
    int entryIndex = -1; ///< for Unencodable
    QString error;       ///< the system's reason, for Failed
};

/** The clip data file in use, and the one place that reads and writes it: its path, the
    encoding and line ends it came with, what the program last read from or wrote to it,
    and the watch that tells when another program has changed it. Loads and saves return
    what they came to; the windows turn that into messages. A change on disk is looked at
    only when nothing holds the file busy (a dialog working on the bar, a message box
    open): then it is looked at once that is over, never in the middle. */
class FileInUse final : public QObject
{
    Q_OBJECT

public:
    explicit FileInUse(QObject *parent = nullptr);
    ~FileInUse() override;

    /** The file in use; empty when none is. */
    QString path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }

    /** Reads `path` whole; what it read becomes what the program knows of it, and the file
        watched. */
    LoadOutcome load(const QString &path);
    /** Writes `entries` to the file in use, in the encoding and line ends it came with,
        asking for a new file when none is in use and before replacing another program's
        version. A new file becomes the file in use. */
    SaveOutcome save(const QList<ClipEntry> &entries, FileQuestions &questions);
    /** Writes `entries` as a new set to `path`, asking first when that would empty a file
        that holds something. It becomes the file in use. */
    SaveOutcome create(const QString &path, const QList<ClipEntry> &entries,
                       FileQuestions &questions);

    const KnownContent &known() const { return m_known; }

    /** Holds the file busy for `holder` until it lets go: a change on disk waits. */
    void hold(const void *holder);
    void release(const void *holder);
    bool isBusy() const { return !m_holders.isEmpty(); }
    /** Holds the file busy for as long as it lives. */
    class Busy
    {
    public:
        explicit Busy(FileInUse &file) : m_file(file) { m_file.hold(this); }
        ~Busy() { m_file.release(this); }
        Busy(const Busy &) = delete;
        Busy &operator=(const Busy &) = delete;

    private:
        FileInUse &m_file;
    };

    /** At start-up: a save in place that a crash cut short gets the file's old content
        back. */
    static void recoverInterruptedSaves();

    /** From now on the watch reports changes on disk. */
    void startWatching();
    /** What a change on disk leads to: when another program has changed the file in use,
        changedOnDisk(); while the file is busy, the same once it is not. */
    void checkDisk();

signals:
    /** Another program has changed the file in use: the bar is to load it again. */
    void changedOnDisk();

private:
    SaveOutcome write(const QString &target, const QList<ClipEntry> &entries);
    void setKnown(KnownContent known);

    QString m_path;
    KnownContent m_known;
    clipfile::Encoding m_encoding = clipfile::Encoding::ShiftJis; ///< of m_known.path
    clipfile::LineEnd m_lineEnd = clipfile::LineEnd::CrLf;
    std::unique_ptr<FileWatch> m_watch;
    QSet<const void *> m_holders;
    bool m_checkPending = false;
};
