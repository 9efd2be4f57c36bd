#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QFileSystemWatcher;

/** Tells when a file may have changed on disk, however it was saved: written in place, or
    written beside it and renamed over it (which ends a watch on the file itself, so the
    folder is watched too and the file is watched again once it is back). Bursts of events,
    as one save makes, are reported once, shortly after the last. */
class FileWatch final : public QObject
{
    Q_OBJECT

public:
    explicit FileWatch(QObject *parent = nullptr);
    ~FileWatch() override;

    /** Watches `path` from now on; an empty path watches nothing. */
    void setPath(const QString &path);
    QString path() const { return m_path; }

signals:
    void changed();

private:
    void onEvent();
    void rewatch();

    QString m_path;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer m_settle;
};
