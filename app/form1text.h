#pragma once

#include <QString>

#include <array>

/** Every text the main window shows. */
namespace form1text {

inline const QString title = QStringLiteral("Snipdeck");
inline const QString unset = QStringLiteral("未設定");

inline const std::array<QString, 5> controlCaptions = {
    QStringLiteral("内容確認(&C)"), QStringLiteral("編集(&E)"), QStringLiteral("再読込(&R)"),
    QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ(&P)"), QStringLiteral("終了(&X)"),
};
inline const std::array<QString, 5> controlTips = {
    QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を確認します"),
    QStringLiteral("現在読み込まれているﾌｧｲﾙの編集を行います"),
    QStringLiteral("ｸﾘｯﾌﾟﾌｧｲﾙの追加、削除、再読込を行います"),
    QStringLiteral("ﾌﾟﾛﾊﾟﾃｨを表示します"),
    QStringLiteral("ﾌﾟﾛｸﾞﾗﾑを終了します"),
};

inline const QString lineBreak = QStringLiteral("\r\n");
inline const QString fileLabel = QStringLiteral("ﾌｧｲﾙ:");
inline const QString buttonLabel = QStringLiteral("ﾎﾞﾀﾝ:");
/** Before the system's own words for why a file could not be written. */
inline const QString reasonLabel = QStringLiteral("原因:");

inline const QString settingsMissing = QStringLiteral("初期化ﾌｧｲﾙが見つかりません");
inline const QString settingsUnwritable = QStringLiteral("初期化ﾌｧｲﾙを保存できません");
inline const QString clipFileMissing = QStringLiteral("ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙが見つかりません");
inline const QString clipFileUnreadable = QStringLiteral("ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙを読み込めません");
/** A file over clipfile::maxFileSize, refused before it is read. */
inline const QString clipFileTooLarge = QStringLiteral("ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙが大きすぎます(64MBまで)");
inline const QString notShiftJis = QStringLiteral("ｼﾌﾄJISで保存できない文字があります");
inline const QString clipboardNotText = QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容がﾃｷｽﾄ形式ではありません");
/** The editor and its list menu, when a 31st entry is asked for. */
inline const QString tooManyButtons = QStringLiteral("ﾎﾞﾀﾝを30個以上登録することは出来ません");
inline const QString clipboardEmpty = QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞに内容が存在しません");

/** A message followed by a labelled value on its own line. */
inline QString withValue(const QString &message, const QString &label, const QString &value)
{
    return message + lineBreak + label + value;
}

/** A file that could not be written: the message, the path and the system's reason. */
inline QString unwritable(const QString &message, const QString &path, const QString &reason)
{
    return withValue(withValue(message, fileLabel, path), reasonLabel, reason);
}

} // namespace form1text
