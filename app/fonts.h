#pragma once

#include <QFont>

/** The Japanese fonts the windows ask for, with fallbacks to what Debian installs. */
namespace fonts {

/** "ＭＳ ゴシック" (monospace), falling back to an installed Japanese monospace font. */
QFont gothic(int pointSize);

/** "ＭＳ Ｐゴシック" (proportional), falling back to an installed Japanese font. */
QFont pGothic(int pointSize);

} // namespace fonts
