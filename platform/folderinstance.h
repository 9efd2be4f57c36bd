#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;

/** One bar per folder. The first start in a folder listens on a socket in the user's runtime
    folder (never on a shared home), named after the folder; a later start in the same folder
    reaches it, asks that bar to come forward and ends. The socket goes with its process: a
    crash leaves at most a file no one answers on, which the next start replaces. */
class FolderInstance final : public QObject
{
    Q_OBJECT

public:
    /** The socket for `folder`: a hash of its canonical path, in `runtimeFolder`; empty when
        there is no runtime folder. */
    static QString socketPath(const QString &runtimeFolder, const QString &folder);

    explicit FolderInstance(QString socketPath, QObject *parent = nullptr);
    ~FolderInstance() override;
    FolderInstance(const FolderInstance &) = delete;
    FolderInstance &operator=(const FolderInstance &) = delete;

    enum class Claim {
        First,     ///< this process is the folder's bar from now on
        Another,   ///< a bar runs in the folder and has been asked to come forward
        Unguarded, ///< no socket could be made: the bar starts, as it did before the guard
    };
    Claim claim();

signals:
    /** A later start in the folder asks this bar to come forward. */
    void comeForward();

private:
    bool askRunning() const;
    bool listen();
    void answer();

    QString m_path;
    int m_listening = -1;
    QSocketNotifier *m_notifier = nullptr;
};
