#include "app/fonts.h"

#include <QStringList>

namespace fonts {

QFont gothic(int pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                      QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("VL Gothic"),
                      QStringLiteral("monospace")});
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(pointSize);
    return font;
}

QFont pGothic(int pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic"),
                      QStringLiteral("sans-serif")});
    font.setPointSize(pointSize);
    return font;
}

} // namespace fonts
