#include "files/filewatch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

namespace {

/** How long a save may take from its first event to its last. */
constexpr int kSettleMs = 150;

} // namespace

FileWatch::FileWatch(QObject *parent) : QObject(parent), m_watcher(new QFileSystemWatcher(this))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &FileWatch::changed);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &FileWatch::onEvent);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &FileWatch::onEvent);
}

FileWatch::~FileWatch() = default;

void FileWatch::setPath(const QString &path)
{
    if (path == m_path)
        return;
    m_path = path;
    m_settle.stop();
    const QStringList watched = m_watcher->files() + m_watcher->directories();
    if (!watched.isEmpty())
        m_watcher->removePaths(watched);
    rewatch();
}

void FileWatch::onEvent()
{
    rewatch();
    m_settle.start();
}

void FileWatch::rewatch()
{
    if (m_path.isEmpty())
        return;
    const QFileInfo file(m_path);
    const QString folder = file.absolutePath();
    if (!m_watcher->directories().contains(folder) && QFileInfo(folder).isDir())
        m_watcher->addPath(folder);
    // A file replaced by a rename is a new file: the watch on the old one has ended.
    if (!m_watcher->files().contains(m_path) && file.exists())
        m_watcher->addPath(m_path);
}
