#pragma once

#include <QString>
#include <QStringList>

/** What the desktop's association lookup found for a file. */
struct Association
{
    enum class Status { Found, FileMissing, PathMissing, NoAssociation, NotExecutable,
                        OutOfMemory, Failed };
    Status status = Status::Failed;
    QString program;        ///< the associated program's executable, when found
    QStringList arguments;  ///< arguments that go before the file's path
};

/** Starting other programs: the one associated with a file, and the mail client. */
class Launcher
{
public:
    virtual ~Launcher() = default;

    /** The program the desktop associates with the file at `path`. */
    virtual Association findAssociatedProgram(const QString &path) = 0;
    /** Starts `program` with `arguments`, without a shell; false when it cannot start. */
    virtual bool start(const QString &program, const QStringList &arguments) = 0;
    /** Opens the user's mail client with a new message to `address`; false on failure. */
    virtual bool composeMail(const QString &address) = 0;
};
