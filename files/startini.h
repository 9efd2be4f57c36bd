#pragma once

#include "app/limits.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

/** The start-up settings as `Start.ini` carries them from one run to the next. */
struct StartSettings
{
    int buttonNum = limits::defaultButtonNum;
    int buttonHeight = limits::defaultButtonHeight;
    int buttonWidth = limits::defaultButtonWidth;
    int winZ = 0;
    int controlShowFlag = 0;
    std::optional<double> top;  ///< twips; nothing keeps the window's initial position
    std::optional<double> left; ///< twips
    int savedIndex = -1;
    QStringList paths; ///< the read-file list, empty lines already left out

    bool operator==(const StartSettings &) const = default;
};

/** `Start.ini`: eight number lines, then one clip data file path per line. */
namespace startini {

/** Most snippet buttons the bar has room for. */
inline constexpr int maxButtonNum = limits::maxEntries;

/** Parses decoded file text. A malformed file never fails: a missing or bad value keeps its
    start-up default, a button count above 30 becomes 30, and a width and height whose
    layout would not fit 16-bit twips fall back to the defaults. */
StartSettings parse(QStringView text);

/** One number line as the file holds it: a blank (or the minus sign) before the digits and
    one blank after them. */
QString formatNumber(double value);

struct Encoded
{
    QByteArray bytes;
    QStringList leftOut; ///< paths Shift-JIS cannot hold; they are not in `bytes`
};

/** The file's bytes for `settings`. Paths that Shift-JIS cannot hold are left out, and
    the saved index is moved so that it still names the same file (or none). */
Encoded encode(const StartSettings &settings);

/** Where the selection lands after the listed files that are missing are dropped: the
    saved index less the missing files at or before it; -1 when that fits no entry. */
int resolveIndex(int savedIndex, const QList<bool> &exists);

} // namespace startini
