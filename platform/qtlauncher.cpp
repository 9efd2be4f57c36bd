#include "platform/qtlauncher.h"

#include <QProcess>

// The association lookup and mail are completed with the editing commands.
Association QtLauncher::findAssociatedProgram(const QString &)
{
    return {};
}

bool QtLauncher::start(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool QtLauncher::composeMail(const QString &)
{
    return false;
}
