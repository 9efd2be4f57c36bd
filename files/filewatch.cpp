#include "files/filewatch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

FileWatch::FileWatch(Timing timing, QObject *parent) : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(timing.settleMs);
    m_latestMs = timing.latestMs;
    connect(&m_settle, &QTimer::timeout, this, &FileWatch::onSettled);
    m_poll.setInterval(timing.pollMs);
    if (timing.pollMs > 0)
        connect(&m_poll, &QTimer::timeout, this, &FileWatch::onPoll);
    if (timing.events) {
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &FileWatch::onFileEvent);
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &FileWatch::onEvent);
    }
}

FileWatch::~FileWatch() = default;

void FileWatch::setPath(const QString &path)
{
    if (path == m_path)
        return;
    m_path = path;
    m_settle.stop();
    m_stamp = filesystem::stamp(m_path);
    if (m_watcher) {
        const QStringList watched = m_watcher->files() + m_watcher->directories();
        if (!watched.isEmpty())
            m_watcher->removePaths(watched);
    }
    rewatch();
    if (m_path.isEmpty() || m_poll.interval() <= 0)
        m_poll.stop();
    else
        m_poll.start();
}

void FileWatch::onEvent()
{
    rewatch();
    if (!m_settle.isActive())
        m_waiting.start();
    // Each event puts the report off until the save has settled, but not for ever.
    else if (m_waiting.elapsed() + m_settle.interval() > m_latestMs)
        return;
    m_settle.start();
}

void FileWatch::onFileEvent()
{
    m_fileEvent = true;
    onEvent();
}

void FileWatch::onPoll()
{
    // A stat, not a read: this runs every few seconds for as long as the program does. A
    // settle under way reports soon enough, however busy the folder.
    if (!m_settle.isActive() && filesystem::stamp(m_path) != m_stamp)
        onEvent();
}

void FileWatch::onSettled()
{
    // An event may have been about another file of the folder. What is reported now the
    // poll need not report again.
    const std::optional<filesystem::Stamp> now = filesystem::stamp(m_path);
    if (now == m_stamp && !m_fileEvent)
        return;
    m_stamp = now;
    m_fileEvent = false;
    emit changed();
}

void FileWatch::rewatch()
{
    if (m_path.isEmpty() || !m_watcher)
        return;
    const QFileInfo file(m_path);
    const QString folder = file.absolutePath();
    if (!m_watcher->directories().contains(folder) && QFileInfo(folder).isDir())
        m_watcher->addPath(folder);
    // A file replaced by a rename is a new file: the watch on the old one has ended.
    if (!m_watcher->files().contains(m_path) && file.exists())
        m_watcher->addPath(m_path);
}
