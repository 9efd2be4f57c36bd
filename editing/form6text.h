#pragma once

#include <QString>

/** Every text the rename dialog shows. */
namespace form6text {

inline const QString caption = QStringLiteral("ﾎﾞﾀﾝ名の変更");
inline const QString label1 = QStringLiteral("ﾎﾞﾀﾝ名(&N):");
inline const QString command1 = QStringLiteral("OK");
inline const QString command2 = QStringLiteral("ｷｬﾝｾﾙ");

} // namespace form6text
