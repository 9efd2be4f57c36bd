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

bool canStart(const QString &program, const QString &workingFolder)
{
    // A carriage return does not survive GLib's reading of the entry; a name the file
    // system's encoding cannot hold names no file once written.
    const auto writable = [](const QString &path) {
        return !path.contains(u'\r') && !path.contains(QChar::ReplacementCharacter)
                && QFile::decodeName(QFile::encodeName(path)) == path;
    };
    return writable(program) && writable(workingFolder);
}

QByteArray entry(const QString &program, const QString &workingFolder)
{
    using desktopexec::escapedValue;
    using desktopexec::execWord;
    // GLib's launcher looks the program up before it expands "%%", and refuses an entry
    // whose program it does not find: a path with "%" is handed to the shell instead, as
    // an argument, where every launcher expands it.
    const QString exec = program.contains(u'%')
            ? QStringLiteral("sh -c %1 %2").arg(execWord(QStringLiteral("exec \"$0\"")),
                                                 execWord(program))
            : execWord(program);
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Snipdeck\n"
                                        "Comment=Put prepared text on the clipboard with one button\n"
                                        "Exec=%1\n"
                                        "Path=%2\n"
                                        "Icon=snipdeck\n"
                                        "Terminal=false\n")
            .arg(escapedValue(exec), escapedValue(workingFolder));
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
    if (!canStart(place.program, workingFolder))
        return false;
    return QDir().mkpath(place.folder)
            && filesystem::writeWholeFile(path, entry(place.program, workingFolder));
}

} // namespace autostart
