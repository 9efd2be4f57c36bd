#include "platform/filesystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace filesystem {

std::optional<QString> existingFileName(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    const QFileInfo info(path);
    // isFile() follows symbolic links; a hidden file is one whose name starts with a dot.
    if (!info.isFile())
        return std::nullopt;
    const QString name = info.fileName();
    if (name.startsWith(QLatin1Char('.')))
        return std::nullopt;
    return name;
}

QString namePart(const QString &path)
{
    return existingFileName(path).value_or(QString());
}

QString joinPath(const QString &folder, const QString &name)
{
    return folder + QLatin1Char('/') + name;
}

std::optional<QByteArray> readWholeFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

std::optional<Stamp> stamp(const QString &path)
{
    struct stat st;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return Stamp{qint64(st.st_dev), qint64(st.st_ino), qint64(st.st_size),
                 qint64(st.st_mtim.tv_sec), qint64(st.st_mtim.tv_nsec),
                 qint64(st.st_ctim.tv_sec), qint64(st.st_ctim.tv_nsec)};
}

namespace {

bool failWith(QString *error, int code)
{
    if (error)
        *error = qt_error_string(code);
    return false;
}

/** Writes all of `bytes` at `offset`; false with errno set when the system refuses. */
bool writeAt(int fd, QByteArrayView bytes, off_t offset)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, size_t(bytes.size() - done),
                                   offset + off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

std::optional<QByteArray> readAll(int fd, qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::pread(fd, bytes.data() + got, size_t(bytes.size() - got), off_t(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}

/** `old` back into the file, as it was before a write that failed midway. */
void putBack(int fd, const QByteArray &old)
{
    const int saved = errno;
    if (writeAt(fd, old, 0) && ::ftruncate(fd, off_t(old.size())) == 0)
        ::fsync(fd);
    errno = saved;
}

/** The journal of a save in place: the path, then the old and the new bytes. */
QByteArray journalFor(const QString &path, const QByteArray &old, const QByteArray &bytes)
{
    return "snipdeck in-place save\n" + QFile::encodeName(path) + '\n' + QByteArray::number(old.size())
            + '\n' + QByteArray::number(bytes.size()) + '\n' + old + bytes;
}

QString journalPath(const QString &folder, const QString &path)
{
    return folder + QLatin1Char('/')
            + QString::number(qHash(path), 16) + QStringLiteral(".journal");
}

/** Rewrites the file in place: for a folder that takes no new files, or a file whose
    links or owner a new file would not keep. The room for the new content is taken first,
    so a full disk leaves the old content whole; the old bytes wait in a journal in
    `journalFolder` until the new ones are on disk, so a crash midway can be undone at the
    next start (recoverInterruptedSaves). */
bool writeInPlace(const QString &path, const QByteArray &bytes, const QString &journalFolder,
                  QString *error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return failWith(error, errno);
    const auto done = [fd, error](bool ok, int code = 0) {
        ::close(fd);
        return ok || failWith(error, code);
    };
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return done(false, errno);
    const std::optional<QByteArray> old = readAll(fd, qint64(st.st_size));
    if (!old)
        return done(false, errno);
    const QString journal = journalPath(journalFolder, path);
    QString reason;
    if (!QDir().mkpath(journalFolder) || !writeWholeFile(journal, journalFor(path, *old, bytes), &reason)) {
        if (error)
            *error = reason.isEmpty() ? qt_error_string(EACCES) : reason;
        ::close(fd);
        return false;
    }
    // posix_fallocate returns its error instead of setting errno; a failure may have
    // grown the file, which is cut back.
    if (bytes.size() > old->size()) {
        if (const int code = ::posix_fallocate(fd, 0, off_t(bytes.size())); code != 0) {
            if (::ftruncate(fd, off_t(old->size())) == 0)
                QFile::remove(journal);
            return done(false, code);
        }
    }
    if (!writeAt(fd, bytes, 0) || ::ftruncate(fd, off_t(bytes.size())) != 0
        || (::fsync(fd) != 0 && errno != EINVAL)) {
        const int code = errno;
        putBack(fd, *old);
        return done(false, code);
    }
    QFile::remove(journal);
    return done(true);
}

/** Where a new file written beside `target` and renamed over it would lose something: its
    folder takes no new files, it has other names (hard links), or a new file would belong
    to someone else. */
bool needsInPlace(const QString &target, const struct stat &st)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    return ::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) != 0 || st.st_nlink > 1
            || st.st_uid != ::geteuid() || st.st_gid != ::getegid();
}

} // namespace

QString journalFolder()
{
    const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    return (cache.startsWith(QLatin1Char('/')) ? cache : QDir::homePath() + QStringLiteral("/.cache"))
            + QStringLiteral("/snipdeck");
}

bool saveFile(const QString &path, const QByteArray &bytes, QString *error)
{
    // A link stays a link: the file it names is written.
    const QFileInfo info(path);
    const QString target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
    struct stat st;
    if (::stat(QFile::encodeName(target).constData(), &st) == 0 && needsInPlace(target, st))
        return writeInPlace(target, bytes, journalFolder(), error);
    return writeWholeFile(target, bytes, error);
}

QStringList recoverInterruptedSaves(const QString &folder)
{
    QStringList restored;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.journal")}, QDir::Files)) {
        const auto journal = readWholeFile(dir.filePath(name));
        if (!journal)
            continue;
        const QList<QByteArray> head = journal->first(std::min<qsizetype>(journal->size(), 8192)).split('\n');
        if (head.size() < 5 || head[0] != "snipdeck in-place save")
            continue;
        const QString path = QFile::decodeName(head[1]);
        const qsizetype oldSize = head[2].toLongLong(), newSize = head[3].toLongLong();
        const qsizetype start = head[0].size() + head[1].size() + head[2].size() + head[3].size() + 4;
        if (oldSize < 0 || newSize < 0 || start + oldSize + newSize != journal->size())
            continue;
        const QByteArrayView old = QByteArrayView(*journal).sliced(start, oldSize);
        const QByteArrayView written = QByteArrayView(*journal).sliced(start + oldSize, newSize);
        const auto now = readWholeFile(path);
        // Put back only what the interrupted write itself left: the start of the new bytes,
        // then the rest of the old (or the room taken for the new). Anything else is
        // someone's later save, and stays.
        bool torn = false;
        if (now && now != written && now != old) {
            qsizetype k = 0;
            while (k < now->size() && k < written.size() && now->at(k) == written[k])
                ++k;
            torn = now->size() <= std::max(oldSize, newSize);
            for (qsizetype i = k; torn && i < now->size(); ++i)
                torn = now->at(i) == (i < oldSize ? old[i] : '\0');
        }
        if (torn) {
            QString reason;
            if (!writeInPlace(path, old.toByteArray(), folder + QStringLiteral("/restoring"), &reason))
                continue;
            restored.append(path);
        }
        if (!now || torn || now == written || now == old)
            QFile::remove(dir.filePath(name));
    }
    return restored;
}

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    // Unbuffered: commit() flushes a buffered write (every one under 16 KiB) itself and
    // misses its failure, renaming a short temporary over the file. And a write that only
    // partly lands is tried again for the rest, so a full disk reports its own reason.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        file.cancelWriting(); // which sets an error string of its own
        return false;
    };
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return fail(file.errorString());
        done += written;
    }
    if (!file.flush())
        return fail(file.errorString());
    // A network share may report a full quota only when the data reaches it; commit()
    // syncs as well but ignores what the sync says.
    if (::fsync(file.handle()) != 0 && errno != EINVAL)
        return fail(qt_error_string(errno));
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace filesystem
