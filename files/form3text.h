#pragma once

#include <QString>

/** Every text the read-file selection shows. */
namespace form3text {

inline const QString caption = QStringLiteral("読込ﾌｧｲﾙ選択");
inline const QString ok = QStringLiteral("OK");
inline const QString cancel = QStringLiteral("ｷｬﾝｾﾙ");
inline const QString add = QStringLiteral("追加(&A)");
inline const QString remove = QStringLiteral("削除(&D)");

inline const QString messageTitle = QStringLiteral("Snipdeck");
inline const QString nothingToRead = QStringLiteral("読込ﾌｧｲﾙが選択されていません");

} // namespace form3text
