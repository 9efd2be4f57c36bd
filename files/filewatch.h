#pragma once

#include "platform/filesystem.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

class QFileSystemWatcher;

/** Tells when a file may have changed on disk, however it was saved: written in place, or
    written beside it and renamed over it (which ends a watch on the file itself, so the
    folder is watched too and the file is watched again once it is back). A network share
    sends no events for another computer's save, so the file's size and times are looked
    at now and then as well. Bursts of events, as one save makes, and a change both seen
    and looked at are reported once, shortly after the last; but never later than
    `latestMs` after the first, however busy the folder is (a log or a sync client saving
    beside the file keeps sending events), and only when the file itself has changed. */
class FileWatch final : public QObject
{
    Q_OBJECT

public:
    struct Timing
    {
        int settleMs = 150;  ///< how long a save may take from its first event to its last
        int pollMs = 2500;   ///< how often the file is looked at; 0: never
        bool events = true;  ///< whether the system's change events are listened to
        int latestMs = 1000; ///< the longest a change waits for its folder to settle
    };

    explicit FileWatch(QObject *parent = nullptr) : FileWatch(Timing(), parent) {}
    explicit FileWatch(Timing timing, QObject *parent = nullptr);
    ~FileWatch() override;

    /** Watches `path` from now on; an empty path watches nothing. */
    void setPath(const QString &path);
    QString path() const { return m_path; }

signals:
    void changed();

private:
    void onEvent();
    void onFileEvent();
    void onPoll();
    void onSettled();
    void rewatch();

    QString m_path;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer m_settle;
    QElapsedTimer m_waiting; ///< since the first event the settle waits on
    int m_latestMs = 0;
    bool m_fileEvent = false; ///< an event about the file itself, not only its folder
    QTimer m_poll;
    std::optional<filesystem::Stamp> m_stamp; ///< as the file was when last reported
};
