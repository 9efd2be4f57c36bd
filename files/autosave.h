#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

/** Keeps a file up to date while the program runs, so that an end without the program's
    own shutdown (a lost display, a kill, a power cut) loses at most the last moment.

    Once a second it asks for the bytes the file would get now. Bytes that differ from what
    the file last got are written, atomically, once they have held still for one look: a
    drag of the window is written when it ends, not at each step. Nothing is written while
    nothing changes. A failed write says nothing (the program's own write at shutdown
    reports it); it is tried again at the next change, or after a minute. */
class Autosave final : public QObject
{
public:
    using Bytes = std::function<QByteArray()>;

    Autosave(QString path, Bytes bytes, QObject *parent = nullptr);

    /** Looks every `intervalMs` from now on; what `bytes` gives now counts as what the file
        holds, since the program has just read it. */
    void start(int intervalMs = 1000);
    /** One look: writes when the bytes have held still since the last look and differ from
        what the file last got. */
    void look();
    /** Writes at once when the bytes differ from what the file last got. False when that
        write failed. */
    bool saveNow();

private:
    bool write(const QByteArray &bytes);

    QString m_path;
    Bytes m_bytes;
    QTimer m_timer;
    QByteArray m_written;  ///< what the file holds, as far as the program knows
    QByteArray m_lastSeen; ///< the bytes at the last look
    int m_looksToWait = 0; ///< after a failed write, looks before the next try
};
