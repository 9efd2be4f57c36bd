#include "platform/folderinstance.h"

#include "platform/filesystem.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <optional>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

/** The socket's address; nothing when the path does not fit. */
std::optional<sockaddr_un> address(const QString &path)
{
    const QByteArray bytes = QFile::encodeName(path);
    sockaddr_un result = {};
    if (bytes.isEmpty() || size_t(bytes.size()) >= sizeof result.sun_path)
        return std::nullopt;
    result.sun_family = AF_UNIX;
    std::memcpy(result.sun_path, bytes.constData(), size_t(bytes.size()));
    return result;
}

const sockaddr *asSockaddr(const sockaddr_un &address)
{
    return reinterpret_cast<const sockaddr *>(&address);
}

} // namespace

QString FolderInstance::socketPath(const QString &runtimeFolder, const QString &folder)
{
    if (runtimeFolder.isEmpty())
        return QString();
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    const QByteArray hash = QCryptographicHash::hash(
            QFile::encodeName(canonical.isEmpty() ? info.absoluteFilePath() : canonical),
            QCryptographicHash::Sha256);
    return filesystem::joinPath(runtimeFolder, QStringLiteral("snipdeck-")
                                        + QString::fromLatin1(hash.toHex().left(32)));
}

FolderInstance::FolderInstance(QString socketPath, QObject *parent)
    : QObject(parent)
    , m_path(std::move(socketPath))
{
}

FolderInstance::~FolderInstance()
{
    if (m_listening < 0)
        return;
    delete m_notifier;
    ::close(m_listening);
    ::unlink(QFile::encodeName(m_path).constData());
}

FolderInstance::Claim FolderInstance::claim()
{
    if (!address(m_path))
        return Claim::Unguarded;
    // Two starts at once take turns. The lock goes with its holder: a crash never leaves it
    // held, and the file it is taken on means nothing by being there.
    const int lock = ::open(QFile::encodeName(m_path + QStringLiteral(".lock")).constData(),
                            O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock >= 0)
        ::flock(lock, LOCK_EX);
    const Claim result = askRunning() ? Claim::Another
            : listen()                ? Claim::First
                                      : Claim::Unguarded;
    if (lock >= 0)
        ::close(lock);
    return result;
}

bool FolderInstance::askRunning() const
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    const sockaddr_un to = *address(m_path);
    // The bar that listens comes forward when it accepts; a leftover file refuses. One too
    // busy to take more is there all the same, and this start must not wait on it.
    const bool reached = ::connect(fd, asSockaddr(to), sizeof to) == 0 || errno == EAGAIN;
    ::close(fd);
    return reached;
}

bool FolderInstance::listen()
{
    const sockaddr_un at = *address(m_path);
    ::unlink(at.sun_path); // a socket left by a crash: no one answered on it
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    if (::bind(fd, asSockaddr(at), sizeof at) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        return false;
    }
    m_listening = fd;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &FolderInstance::answer);
    return true;
}

void FolderInstance::answer()
{
    bool asked = false;
    for (int peer; (peer = ::accept4(m_listening, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
        ::close(peer);
        asked = true;
    }
    if (asked)
        emit comeForward();
}
