#pragma once

#include <QString>

/** Every text the properties dialog shows. */
namespace form4text {

inline const QString caption = QStringLiteral("Snipdeckのﾌﾟﾛﾊﾟﾃｨ");
inline const QString frame = QStringLiteral("設定(&S)");
inline const QString onTop = QStringLiteral("常に手前に表示(&T)");
inline const QString hideControls = QStringLiteral("ｺﾝﾄﾛｰﾙﾎﾞﾀﾝを隠す(&H)");
inline const QString width = QStringLiteral("ﾒｲﾝｳｨﾝﾄﾞｳ幅(&W)");
inline const QString height = QStringLiteral("ﾎﾞﾀﾝの高さ(&H)");
inline const QString count = QStringLiteral("ﾎﾞﾀﾝの数(&N)");
inline const QString about = QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)");
inline const QString ok = QStringLiteral("OK");
inline const QString cancel = QStringLiteral("ｷｬﾝｾﾙ");

} // namespace form4text
