#pragma once

#include "files/clipfile.h"

#include <QList>
#include <QString>

/** The contents the crash helper saves in turn. Every line of every entry names its
    version, so a file made of two versions, or cut short, matches none of them. */
namespace crashversions {

inline constexpr int count = 3;
inline constexpr int textChars = 64 * 1024; ///< per entry; 30 entries make about 4 MiB

inline QList<ClipEntry> entries(int version)
{
    const int v = version % count;
    QList<ClipEntry> result;
    for (int i = 0; i < clipfile::maxEntries; ++i) {
        QString text;
        text.reserve(textChars + 64);
        for (int line = 0; text.size() < textChars; ++line)
            text += QStringLiteral("版%1 項目%2 行%3 いろはにほへと ｲﾛﾊ 漢字テキスト\r\n").arg(v).arg(i).arg(line);
        result.append({QStringLiteral("版%1の%2").arg(v).arg(i), text});
    }
    return result;
}

} // namespace crashversions
