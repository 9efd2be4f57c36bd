#include "platform/filesystem.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>
#include <unistd.h>

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
    constexpr qint64 ns = 1000 * 1000 * 1000;
    return Stamp{qint64(st.st_dev), qint64(st.st_ino), qint64(st.st_size),
                 qint64(st.st_mtim.tv_sec) * ns + st.st_mtim.tv_nsec,
                 qint64(st.st_ctim.tv_sec) * ns + st.st_ctim.tv_nsec};
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
