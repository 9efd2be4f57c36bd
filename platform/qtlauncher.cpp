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

#include <dlfcn.h>

#include <optional>
#include <type_traits>

namespace {

/** GIO's functions, looked up when a file is first opened in its program. GIO and the
    libraries it pulls in are not linked: every start would pay for loading and relocating
    them, for a service most sessions never use. The types come from GIO's own headers, so a
    mismatch does not compile. */
struct Gio
{
    decltype(&g_object_unref) objectUnref;
    decltype(&g_type_check_instance_is_a) typeCheckInstanceIsA;
    decltype(&g_file_new_for_path) fileNewForPath;
    decltype(&g_file_query_info) fileQueryInfo;
    decltype(&g_file_info_get_content_type) fileInfoGetContentType;
    decltype(&g_content_type_guess) contentTypeGuess;
    decltype(&g_app_info_get_default_for_type) appInfoGetDefaultForType;
    decltype(&g_app_info_get_commandline) appInfoGetCommandline;
    decltype(&g_app_info_get_executable) appInfoGetExecutable;
    decltype(&g_desktop_app_info_get_type) desktopAppInfoGetType;
    decltype(&g_desktop_app_info_get_boolean) desktopAppInfoGetBoolean;

    /** The functions, or null when the library or one of them is missing. Loaded once and
        kept for the process's life, as GIO's types cannot be unloaded. */
    static const Gio *instance()
    {
        static const std::optional<Gio> gio = load();
        return gio ? &*gio : nullptr;
    }

private:
    static std::optional<Gio> load()
    {
        void *library = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return std::nullopt;
        bool complete = true;
        const auto find = [&](auto &function, const char *name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                    dlsym(library, name));
            complete = complete && function;
        };
        Gio gio{};
        find(gio.objectUnref, "g_object_unref");
        find(gio.typeCheckInstanceIsA, "g_type_check_instance_is_a");
        find(gio.fileNewForPath, "g_file_new_for_path");
        find(gio.fileQueryInfo, "g_file_query_info");
        find(gio.fileInfoGetContentType, "g_file_info_get_content_type");
        find(gio.contentTypeGuess, "g_content_type_guess");
        find(gio.appInfoGetDefaultForType, "g_app_info_get_default_for_type");
        find(gio.appInfoGetCommandline, "g_app_info_get_commandline");
        find(gio.appInfoGetExecutable, "g_app_info_get_executable");
        find(gio.desktopAppInfoGetType, "g_desktop_app_info_get_type");
        find(gio.desktopAppInfoGetBoolean, "g_desktop_app_info_get_boolean");
        if (!complete)
            return std::nullopt;
        return gio;
    }
};

/** Owns a GObject reference for the length of a scope. */
template <typename T>
struct GObjectRef
{
    const Gio &gio;
    T *object = nullptr;
    GObjectRef(const Gio &g, T *o) : gio(g), object(o) {}
    ~GObjectRef()
    {
        if (object)
            gio.objectUnref(object);
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
QString contentTypeOf(const Gio &gio, const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    GObjectRef<GFile> file(gio, gio.fileNewForPath(native.constData()));
    GObjectRef<GFileInfo> info(gio, gio.fileQueryInfo(file.object,
                                                      G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                      G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (info.object) {
        if (const char *type = gio.fileInfoGetContentType(info.object))
            return QString::fromUtf8(type);
    }
    gboolean uncertain = FALSE;
    gchar *guessed = gio.contentTypeGuess(native.constData(), nullptr, 0, &uncertain);
    const QString type = guessed ? QString::fromUtf8(guessed) : QString();
    g_free(guessed);
    return type;
}

/** The words of the application's command line, split as a shell would but never run by
    one. */
QStringList commandLineWords(const Gio &gio, GAppInfo *app)
{
    QStringList words;
    const char *commandLine = gio.appInfoGetCommandline(app);
    gchar **argv = nullptr;
    if (commandLine && g_shell_parse_argv(commandLine, nullptr, &argv, nullptr)) {
        for (gchar **word = argv; *word; ++word)
            words.append(QString::fromUtf8(*word));
        g_strfreev(argv);
    }
    return words;
}

/** Whether the application is a terminal program (its desktop entry says Terminal=true). */
bool runsInTerminal(const Gio &gio, GAppInfo *app)
{
    const GType desktopType = gio.desktopAppInfoGetType();
    if (!gio.typeCheckInstanceIsA(reinterpret_cast<GTypeInstance *>(app), desktopType))
        return false;
    return gio.desktopAppInfoGetBoolean(reinterpret_cast<GDesktopAppInfo *>(app), "Terminal");
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

    const Gio *gio = Gio::instance();
    if (!gio)
        return failure(Association::Status::Failed);
    const QString type = contentTypeOf(*gio, file.absoluteFilePath());
    if (type.isEmpty())
        return failure(Association::Status::Failed);
    GObjectRef<GAppInfo> app(*gio,
                             gio->appInfoGetDefaultForType(type.toUtf8().constData(), FALSE));
    if (!app.object)
        return failure(Association::Status::NoAssociation);

    // The program is the command line's first word; GIO's own executable name is cut at
    // the first blank, even inside quotes.
    const QStringList words = commandLineWords(*gio, app.object);
    const QByteArray executable = words.isEmpty()
            ? QByteArray(gio->appInfoGetExecutable(app.object))
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
    if (runsInTerminal(*gio, app.object)) {
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
