#pragma once

#include <QString>
#include <QStringList>

/** A desktop entry's command line: the parts the launch needs, and the quoting of one the
    program writes. */
namespace desktopexec {

/** The path between the double quotes the lookup is given; a quote is taken off either
    end that has one. */
QString unquoted(const QString &quotedPath);

/** From a command line already split into words (the program first), the arguments that go
    before the file: the words after the program up to the first file or URL field code
    (%f %F %u %U). Other field codes are dropped, "%%" is a plain "%". */
QStringList argumentsBeforeFile(const QStringList &words);

/** A word of an Exec key: in double quotes when it holds a blank or a character a shell
    would take for its own, with '"', '`', '$' and the backslash escaped inside them; "%"
    doubled, as the reverse of argumentsBeforeFile. Still to be escaped as a value. */
QString execWord(const QString &word);

/** A string value as a desktop entry file holds it: backslash, newline, tab and carriage
    return escaped. */
QString escapedValue(const QString &value);

} // namespace desktopexec
