#include "platform/qtlauncher.h"

#include "platform/desktopexec.h"

// GLib names a struct member "signals", which Qt's keyword macro would rewrite.
#pragma push_macro("signals")
#undef signals
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

/** Owns a GObject reference for the length of a scope. */
template <typename T>
struct GObjectRef
{
    T *object = nullptr;
    explicit GObjectRef(T *o) : object(o) {}
    ~GObjectRef()
    {
        if (object)
            g_object_unref(object);
    }
    GObjectRef(const GObjectRef &) = delete;
    GObjectRef &operator=(const GObjectRef &) = delete;
};

Association failure(Association::Status status)
{
    Association result;
    result.status = status;
    return result;
}

/** The file's content type as the desktop sees it: from its name and, where the name says
    nothing, from its first bytes. */
QString contentTypeOf(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    GObjectRef<GFile> file(g_file_new_for_path(native.constData()));
    GObjectRef<GFileInfo> info(g_file_query_info(file.object,
                                                 G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                 G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (info.object) {
        if (const char *type = g_file_info_get_content_type(info.object))
            return QString::fromUtf8(type);
    }
    gboolean uncertain = FALSE;
    gchar *guessed = g_content_type_guess(native.constData(), nullptr, 0, &uncertain);
    const QString type = guessed ? QString::fromUtf8(guessed) : QString();
    g_free(guessed);
    return type;
}

/** The words of the application's command line, split as a shell would but never run by
    one. */
QStringList commandLineWords(GAppInfo *app)
{
    QStringList words;
    const char *commandLine = g_app_info_get_commandline(app);
    gchar **argv = nullptr;
    if (commandLine && g_shell_parse_argv(commandLine, nullptr, &argv, nullptr)) {
        for (gchar **word = argv; *word; ++word)
            words.append(QString::fromUtf8(*word));
        g_strfreev(argv);
    }
    return words;
}

/** Whether the application is a terminal program (its desktop entry says Terminal=true). */
bool runsInTerminal(GAppInfo *app)
{
    const GType desktopType = g_desktop_app_info_get_type();
    if (!g_type_check_instance_is_a(reinterpret_cast<GTypeInstance *>(app), desktopType))
        return false;
    return g_desktop_app_info_get_boolean(reinterpret_cast<GDesktopAppInfo *>(app), "Terminal");
}

} // namespace

Association QtLauncher::findAssociatedProgram(const QString &quotedPath)
{
    const QString path = desktopexec::unquoted(quotedPath);
    const QFileInfo file(path);
    if (path.isEmpty() || !file.exists())
        return failure(path.isEmpty() || file.absoluteDir().exists()
                               ? Association::Status::FileMissing
                               : Association::Status::PathMissing);
    if (!file.isFile())
        return failure(Association::Status::FileMissing);

    const QString type = contentTypeOf(file.absoluteFilePath());
    if (type.isEmpty())
        return failure(Association::Status::Failed);
    GObjectRef<GAppInfo> app(g_app_info_get_default_for_type(type.toUtf8().constData(), FALSE));
    if (!app.object)
        return failure(Association::Status::NoAssociation);

    // The program is the command line's first word; GIO's own executable name is cut at
    // the first blank, even inside quotes.
    const QStringList words = commandLineWords(app.object);
    const QByteArray executable = words.isEmpty()
            ? QByteArray(g_app_info_get_executable(app.object))
            : QFile::encodeName(words.first());
    if (executable.isEmpty())
        return failure(Association::Status::NotExecutable);
    gchar *found = g_find_program_in_path(executable.constData());
    const QString program = found ? QFile::decodeName(found) : QString();
    g_free(found);
    const QFileInfo programFile(program);
    if (program.isEmpty() || !programFile.isFile() || !programFile.isExecutable())
        return failure(Association::Status::NotExecutable);

    Association result;
    result.status = Association::Status::Found;
    result.program = program;
    result.arguments = desktopexec::argumentsBeforeFile(words);
    if (runsInTerminal(app.object)) {
        // Started on its own, a terminal program would run where no one sees it; the
        // desktop's terminal runs it instead, still without a shell.
        gchar *terminal = g_find_program_in_path("x-terminal-emulator");
        if (!terminal)
            return failure(Association::Status::Failed);
        result.arguments.prepend(program);
        result.arguments.prepend(QStringLiteral("-e"));
        result.program = QFile::decodeName(terminal);
        g_free(terminal);
    }
    return result;
}

bool QtLauncher::start(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool QtLauncher::composeMail(const QString &address)
{
    // The desktop hands a mailto: link to the user's mail client (xdg-open on X11).
    return QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + address));
}
