#include "files/fileinuse.h"

#include "files/filewatch.h"
#include "platform/filesystem.h"

#include <QFileInfo>

namespace {

SaveOutcome outcome(SaveOutcome::Kind kind, const QString &path = QString())
{
    SaveOutcome result;
    result.kind = kind;
    result.path = path;
    return result;
}

} // namespace

FileInUse::FileInUse(QObject *parent) : QObject(parent) {}

FileInUse::~FileInUse() = default;

LoadOutcome FileInUse::load(const QString &path)
{
    LoadOutcome outcome;
    KnownContent known{path, std::nullopt};
    m_encoding = clipfile::Encoding::ShiftJis;
    m_lineEnd = clipfile::LineEnd::CrLf;
    const auto name = filesystem::existingFileName(path);
    if (path.isEmpty()) {
        outcome.kind = LoadOutcome::Kind::NoFile;
    } else if (!name) {
        outcome.kind = LoadOutcome::Kind::Missing;
    } else {
        clipfile::ReadResult read = clipfile::read(path);
        using Status = clipfile::ReadResult::Status;
        switch (read.status) {
        case Status::Ok:
            outcome.kind = LoadOutcome::Kind::Loaded;
            outcome.entries = std::move(read.entries);
            outcome.name = *name;
            known.content = read.digest;
            m_encoding = read.encoding;
            m_lineEnd = read.lineEnd;
            break;
        case Status::TooLarge: outcome.kind = LoadOutcome::Kind::TooLarge; break;
        case Status::Missing: outcome.kind = LoadOutcome::Kind::Missing; break;
        case Status::Unreadable:
            outcome.kind = LoadOutcome::Kind::Unreadable;
            outcome.error = read.error;
            break;
        }
    }
    setKnown(std::move(known));
    return outcome;
}

SaveOutcome FileInUse::save(const QList<ClipEntry> &entries, FileQuestions &questions)
{
    const Busy busy(*this);
    QString target = m_path;
    const bool create = target.isEmpty();
    if (create) {
        const std::optional<QString> chosen = questions.newFilePath();
        if (!chosen || chosen->isEmpty())
            return outcome(SaveOutcome::Kind::NoFile);
        target = *chosen;
    }
    // Too large to read is too large to have been seen: asked about, its bytes unread.
    const clipfile::ReadResult onDisk = clipfile::digest(target);
    using Status = clipfile::ReadResult::Status;
    std::optional<ContentDigest> found;
    if (onDisk.status == Status::TooLarge)
        found = ContentDigest{QFileInfo(target).size(), QByteArray()};
    else if (onDisk.status == Status::Ok)
        found = onDisk.digest;
    if (m_known.wouldOverwriteUnseen(target, found)) {
        if (!questions.replaceOtherVersion(target))
            return outcome(SaveOutcome::Kind::Kept, target);
        // The user has seen the other version and chosen to replace it: a write that fails
        // now does not ask again.
        if (target == m_known.path)
            m_known.content = found;
    }
    SaveOutcome saved = write(target, entries);
    if (saved.kind == SaveOutcome::Kind::Saved && create) {
        saved.created = true;
        m_path = target;
    }
    return saved;
}

SaveOutcome FileInUse::create(const QString &path, const QList<ClipEntry> &entries,
                              FileQuestions &questions)
{
    const Busy busy(*this);
    // The dialog names an existing file without a word: one that holds anything, the file
    // in use included, is emptied only when the user says so.
    if (QFileInfo(path).size() > 0 && !questions.emptyFile(path))
        return outcome(SaveOutcome::Kind::Kept, path);
    // A new set is written as the program's own files are, whatever the file held before.
    if (m_known.path == path) {
        m_encoding = clipfile::Encoding::ShiftJis;
        m_lineEnd = clipfile::LineEnd::CrLf;
    }
    SaveOutcome saved = write(path, entries);
    if (saved.kind == SaveOutcome::Kind::Saved)
        m_path = path;
    return saved;
}

SaveOutcome FileInUse::write(const QString &target, const QList<ClipEntry> &entries)
{
    // The encoding and line ends the file came with; Shift-JIS and CR LF for any other.
    const bool same = target == m_known.path;
    const auto encoding = same ? m_encoding : clipfile::Encoding::ShiftJis;
    const auto lineEnd = same ? m_lineEnd : clipfile::LineEnd::CrLf;
    const clipfile::WriteResult written = clipfile::write(target, entries, encoding, lineEnd);
    using Status = clipfile::WriteResult::Status;
    if (written.status == Status::Unencodable) {
        SaveOutcome refused = outcome(SaveOutcome::Kind::Unencodable, target);
        refused.entryIndex = written.entryIndex;
        return refused;
    }
    if (written.status == Status::Failed) {
        SaveOutcome failed = outcome(SaveOutcome::Kind::Failed, target);
        failed.error = written.error;
        return failed;
    }
    m_encoding = encoding;
    m_lineEnd = lineEnd;
    // What the program knows of the file is the bytes it wrote: another program's save
    // just after this one is another content, never taken for ours.
    setKnown({target, written.digest});
    return outcome(SaveOutcome::Kind::Saved, target);
}

void FileInUse::setKnown(KnownContent known)
{
    m_known = std::move(known);
    if (m_watch)
        m_watch->setPath(m_known.path);
}

void FileInUse::hold(const void *holder)
{
    m_holders.insert(holder);
}

void FileInUse::release(const void *holder)
{
    if (!m_holders.remove(holder) || isBusy() || !m_checkPending)
        return;
    // After the handler that let go has finished its own work (a save asks before
    // replacing the change).
    QMetaObject::invokeMethod(this, &FileInUse::checkDisk, Qt::QueuedConnection);
}

void FileInUse::recoverInterruptedSaves()
{
    filesystem::recoverInterruptedSaves(filesystem::journalFolder());
}

void FileInUse::startWatching()
{
    if (m_watch)
        return;
    m_watch = std::make_unique<FileWatch>();
    m_watch->setPath(m_known.path);
    connect(m_watch.get(), &FileWatch::changed, this, &FileInUse::checkDisk);
}

void FileInUse::checkDisk()
{
    if (isBusy()) {
        m_checkPending = true;
        return;
    }
    m_checkPending = false;
    if (m_path.isEmpty() || m_known.path != m_path)
        return;
    // Halfway through another program's save the file may be missing for a moment: the
    // bar keeps its entries until the file is back.
    if (!filesystem::existingFileName(m_path))
        return;
    using Status = clipfile::ReadResult::Status;
    const clipfile::ReadResult onDisk = clipfile::digest(m_path);
    if (onDisk.status == Status::TooLarge
        || (onDisk.status == Status::Ok && onDisk.digest != m_known.content))
        emit changedOnDisk();
}
