#pragma once

#include <QString>
#include <QStringList>

class Program;

/** Opening a clip data file in the program the desktop associates with it. */
namespace Module1 {

/** The path in double quotes: one is added at either end that lacks it. */
QString quotedPath(const QString &path);

/** Looks up the program associated with the file at `path`. On success stores its path in
    `program` (and, when asked for, the arguments that go before the file in `arguments`)
    and returns its length; on failure shows why and returns 0. */
int FindAssocProgram(Program &app, const QString &path, QString &program,
                     QStringList *arguments = nullptr);

/** Starts the associated program on the file, or says why it cannot. The program is run
    directly, never through a shell, with the path as one argument of its own. */
void OpenInAssociatedProgram(Program &app, const QString &path);

} // namespace Module1
