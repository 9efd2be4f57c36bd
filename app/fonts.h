#pragma once

#include <QFont>
#include <QString>

/** The Japanese fonts the windows ask for, with fallbacks to what Debian installs. */
namespace fonts {

/** "ＭＳ ゴシック" (monospace), falling back to an installed Japanese monospace font. */
QFont gothic(int pointSize);

/** "ＭＳ Ｐゴシック" (proportional), falling back to an installed Japanese font. */
QFont pGothic(int pointSize);

/** The text with its Japanese lines breaking only between phrases: after 、。？！ or a space,
    and where kana give way to kanji or katakana (ﾌｧｲﾙの|内容は|失われます。|新規作成しますか？),
    never inside a word, never before a mark that may not begin a line. A word joiner, which
    shows nothing, holds the characters of a phrase together. */
QString phrased(const QString &text);

} // namespace fonts
