#pragma once

#include <QByteArray>
#include <QString>

/** The settings Start.ini has no line for, in a file of their own beside it: Start.ini
    keeps the bytes a Windows copy of the program reads. */
namespace options {

/** The file's name, in the folder of Start.ini. */
inline const QString fileName = QStringLiteral("Snipdeck.ini");

struct Options
{
    bool clickPaste = false; ///< a press of a snippet button pastes where the user was typing
    /** What the desktop's consent to pasting left, so that it does not ask again; one line
        of printable ASCII, empty for none. */
    QByteArray restoreToken;
    bool operator==(const Options &) const = default;
};

/** The file's lines "key=value"; an unknown key, a line without "=" or a missing file
    leaves the defaults. The restore token's line is there only when there is one. */
Options parse(const QByteArray &bytes);
QByteArray encode(const Options &options);

} // namespace options
