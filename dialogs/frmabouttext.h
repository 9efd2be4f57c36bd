#pragma once

#include <QString>

/** Every text the version box shows. */
namespace frmabouttext {

inline const QString title = QStringLiteral("Snipdeck");
inline const QString captionSuffix = QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報");
inline const QString versionPrefix = QStringLiteral("ﾊﾞｰｼﾞｮﾝ ");
inline const QString request =
        QStringLiteral("動作中の不具合、異常または、改修の依頼は以下へお願いします。");
inline const QString ok = QStringLiteral("OK");

/** "ﾊﾞｰｼﾞｮﾝ " and the three parts of the version as plain decimal digits. */
inline QString versionText(int major, int minor, int revision)
{
    return versionPrefix + QString::number(major) + QLatin1Char('.') + QString::number(minor)
            + QLatin1Char('.') + QString::number(revision);
}

} // namespace frmabouttext
