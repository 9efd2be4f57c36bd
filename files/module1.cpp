#include "files/module1.h"

#include "app/form1text.h"
#include "app/program.h"
#include "files/module1text.h"
#include "platform/launcher.h"
#include "platform/messageboxes.h"

#include <limits>

namespace Module1 {

QString quotedPath(const QString &path)
{
    QString quoted = path;
    if (!quoted.startsWith(u'"'))
        quoted.prepend(u'"');
    if (quoted.size() < 2 || !quoted.endsWith(u'"'))
        quoted.append(u'"');
    return quoted;
}

int FindAssocProgram(Program &app, const QString &path, QString &program, QStringList *arguments)
{
    const Association found = app.services().launcher.findAssociatedProgram(quotedPath(path));
    if (found.status != Association::Status::Found || found.program.isEmpty()) {
        app.services().messages.show(module1text::lookupFailure(found.status), form1text::title,
                                     MessageBoxes::Icon::None);
        return 0;
    }
    program = found.program;
    if (arguments)
        *arguments = found.arguments;
    // The length is a 16-bit count; any path that long is still a success.
    return int(std::min<qsizetype>(program.size(), std::numeric_limits<qint16>::max()));
}

void OpenInAssociatedProgram(Program &app, const QString &path)
{
    QString program;
    QStringList arguments;
    if (FindAssocProgram(app, path, program, &arguments) == 0)
        return;
    arguments.append(path);
    if (!app.services().launcher.start(program, arguments))
        app.services().messages.show(form1text::withValue(module1text::cannotStart, QString(),
                                                          program),
                                     form1text::title, MessageBoxes::Icon::Exclamation);
}

} // namespace Module1
