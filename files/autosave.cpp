#include "files/autosave.h"

#include "platform/filesystem.h"

namespace {

/** After a failed write, the next try comes this many looks later unless the bytes change
    first: a read-only folder is not tried every second all day. */
constexpr int kLooksAfterFailure = 60;

} // namespace

Autosave::Autosave(QString path, Bytes bytes, QObject *parent)
    : QObject(parent)
    , m_path(std::move(path))
    , m_bytes(std::move(bytes))
{
    m_timer.setTimerType(Qt::VeryCoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Autosave::look);
}

void Autosave::start(int intervalMs)
{
    m_written = m_bytes();
    m_lastSeen = m_written;
    m_timer.start(intervalMs);
}

void Autosave::look()
{
    const QByteArray now = m_bytes();
    const bool stillSinceLastLook = now == m_lastSeen;
    if (!stillSinceLastLook)
        m_looksToWait = 0;
    m_lastSeen = now;
    if (now == m_written || !stillSinceLastLook)
        return;
    if (m_looksToWait > 0) {
        --m_looksToWait;
        return;
    }
    write(now);
}

bool Autosave::saveNow()
{
    const QByteArray now = m_bytes();
    m_lastSeen = now;
    return now == m_written || write(now);
}

bool Autosave::write(const QByteArray &bytes)
{
    if (!filesystem::writeWholeFile(m_path, bytes)) {
        m_looksToWait = kLooksAfterFailure;
        return false;
    }
    m_written = bytes;
    m_looksToWait = 0;
    return true;
}
