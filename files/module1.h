#pragma once

#include <QString>

class Program;

/** Opening a clip data file in the program the desktop associates with it. */
namespace Module1 {

/** Looks up the program associated with the file at `path`. On success stores its path in
    `program` and returns its length; on failure shows why and returns 0. */
int FindAssocProgram(Program &app, const QString &path, QString &program);

/** Starts the associated program on the file, or says why it cannot. */
void OpenInAssociatedProgram(Program &app, const QString &path);

} // namespace Module1
