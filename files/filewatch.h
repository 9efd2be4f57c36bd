#pragma once

#include "platform/filesystem.h"

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
    and looked at are reported once, shortly after the last. */
class FileWatch final : public QObject
{
    Q_OBJECT

public:
    struct Timing
    {
        int settleMs = 150;  ///< how long a save may take from its first event to its last
        int pollMs = 2500;   ///< how often the file is looked at; 0: never
        bool events = true;  ///< whether the system's change events are listened to
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
    void onPoll();
    void onSettled();
    void rewatch();

    QString m_path;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer m_settle;
    QTimer m_poll;
    std::optional<filesystem::Stamp> m_stamp; ///< as the file was when last reported
};
