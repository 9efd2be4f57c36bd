#pragma once

#include <QString>
#include <QStringList>

/** The parts of a desktop entry's command line that the launch needs. */
namespace desktopexec {

/** The path between the double quotes the lookup is given; a quote is taken off either
    end that has one. */
QString unquoted(const QString &quotedPath);

/** From a command line already split into words (the program first), the arguments that go
    before the file: the words after the program up to the first file or URL field code
    (%f %F %u %U). Other field codes are dropped, "%%" is a plain "%". */
QStringList argumentsBeforeFile(const QStringList &words);

} // namespace desktopexec
