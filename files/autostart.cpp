#include "files/autostart.h"

#include "platform/desktopexec.h"
#include "platform/filesystem.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace autostart {

QString folder(const QString &xdgConfigHome, const QString &home)
{
    const QString config = QDir::isAbsolutePath(xdgConfigHome)
            ? xdgConfigHome
            : filesystem::joinPath(home, QStringLiteral(".config"));
    return filesystem::joinPath(config, QStringLiteral("autostart"));
}

QString entryPath(const QString &folder)
{
    return filesystem::joinPath(folder, QStringLiteral("snipdeck.desktop"));
}

QByteArray entry(const QString &program, const QString &workingFolder)
{
    using desktopexec::escapedValue;
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Snipdeck\n"
                                        "Comment=Put prepared text on the clipboard with one button\n"
                                        "Exec=%1\n"
                                        "Path=%2\n"
                                        "Icon=snipdeck\n"
                                        "Terminal=false\n")
            .arg(escapedValue(desktopexec::execWord(program)), escapedValue(workingFolder));
    return text.toUtf8();
}

bool isOn(const QString &folder)
{
    const auto bytes = filesystem::readWholeFile(entryPath(folder));
    if (!bytes)
        return false;
    bool inEntry = false;
    for (QByteArray line : bytes->split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inEntry || equals < 0)
            continue;
        const QByteArray key = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        if ((key == "Hidden" && value == "true")
            || (key == "X-GNOME-Autostart-enabled" && value == "false"))
            return false;
    }
    return true;
}

bool set(const Place &place, const QString &workingFolder, bool on)
{
    if (place.folder.isEmpty())
        return false;
    const QString path = entryPath(place.folder);
    if (!on)
        return !QFileInfo::exists(path) || QFile::remove(path);
    return QDir().mkpath(place.folder)
            && filesystem::writeWholeFile(path, entry(place.program, workingFolder));
}

} // namespace autostart
