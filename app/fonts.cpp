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

namespace {

bool isJapanese(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x30ff) || (u >= 0x3400 && u <= 0x9fff) || (u >= 0xff00 && u <= 0xffef);
}

bool isKana(QChar c)
{
    return c.unicode() >= 0x3041 && c.unicode() <= 0x309f;
}

bool endsPhrase(QChar c)
{
    return c.isSpace() || QStringView(u"、。，．？！､｡").contains(c);
}

/** Marks, closing brackets and small kana, which never begin a line. */
bool beginsNoLine(QChar c)
{
    return QStringView(u"、。，．・：；？！ー～」』）］｝】〕〉》ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ"
                       u"､｡｣ｧｨｩｪｫｬｭｮｯｰﾞﾟ)]}.,:;?!").contains(c);
}

} // namespace

QString phrased(const QString &text)
{
    QString joined;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (i > 0) {
            const QChar before = text[i - 1];
            // お and ご before kanji are the polite prefix of the word (お願い, ご不便).
            const bool afterKana = isKana(before) && !QStringView(u"おご").contains(before);
            const bool phraseStarts = !beginsNoLine(c)
                    && (endsPhrase(before) || (afterKana && isJapanese(c) && !isKana(c)));
            if ((isJapanese(before) || isJapanese(c)) && !phraseStarts)
                joined += QChar(0x2060); // WORD JOINER
        }
        joined += c;
    }
    return joined;
}

} // namespace fonts
