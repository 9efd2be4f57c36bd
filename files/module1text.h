#pragma once

#include "platform/launcher.h"

#include <QString>

/** Every text the association lookup and the launch show. */
namespace module1text {

inline const QString outOfMemory = QStringLiteral("メモリまたはリソースが足りません。");
inline const QString fileMissing = QStringLiteral("ファイルが見つかりません。");
inline const QString pathMissing = QStringLiteral("パスが見つかりません。");
inline const QString notExecutable = QStringLiteral("不正な形式の実行ファイルです。");
inline const QString noAssociation = QStringLiteral("関連付けが指定されていません。");
inline const QString lookupFailed = QStringLiteral("関連付けを取得できません。");

inline const QString cannotStart = QStringLiteral("ﾌﾟﾛｸﾞﾗﾑを起動できません");

/** The message for a failed lookup. */
inline QString lookupFailure(Association::Status status)
{
    switch (status) {
    case Association::Status::FileMissing:
        return fileMissing;
    case Association::Status::PathMissing:
        return pathMissing;
    case Association::Status::NoAssociation:
        return noAssociation;
    case Association::Status::NotExecutable:
        return notExecutable;
    case Association::Status::OutOfMemory:
        return outOfMemory;
    case Association::Status::Found:
    case Association::Status::Failed:
        break;
    }
    return lookupFailed;
}

} // namespace module1text
