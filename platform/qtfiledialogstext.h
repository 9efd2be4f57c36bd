#pragma once

#include <QString>

/** Every text the common file dialog shows of the program's own: the two filters, and the
    captions a Japanese desktop's own dialog would carry. */
namespace qtfiledialogstext {

inline const QString allFiles = QStringLiteral("すべてのファイル (*.*)");
inline const QString clipFiles = QStringLiteral("ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙ (*.cdt)");

inline const QString openTitle = QStringLiteral("開く");
inline const QString saveTitle = QStringLiteral("名前を付けて保存");
inline const QString lookIn = QStringLiteral("ファイルの場所(&I):");
inline const QString fileName = QStringLiteral("ファイル名(&N):");
inline const QString fileType = QStringLiteral("ファイルの種類(&T):");
inline const QString open = QStringLiteral("開く(&O)");
inline const QString save = QStringLiteral("保存(&S)");
inline const QString cancel = QStringLiteral("キャンセル");

} // namespace qtfiledialogstext
