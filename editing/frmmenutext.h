#pragma once

#include <QString>

/** Every caption of the two pop-up menus, exactly as they are shown. */
namespace frmmenutext {

inline const QString windowCaption = QStringLiteral("ﾌﾟﾛｸﾞﾗﾑ実行時には表示されません。(ﾒﾆｭｰ用)");

inline const QString mouseMenu = QStringLiteral("ﾒﾆｭｰ（&1)");
inline const QString button = QStringLiteral("ﾎﾞﾀﾝ(&B)");
inline const QString display = QStringLiteral("ﾎﾞﾀﾝ内容表示(&D)");
inline const QString buttonNameChange = QStringLiteral("ﾎﾞﾀﾝ名変更(&C)");
inline const QString buttonEdit = QStringLiteral("ﾎﾞﾀﾝ内容の編集(&E)");
inline const QString clipBoard = QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ(&C)");
inline const QString kakunin = QStringLiteral("内容確認(&K)");
inline const QString deleteClip = QStringLiteral("ﾃﾞｰﾀの削除(&D)");
inline const QString allways = QStringLiteral("常に最前面に表示(&T)");
inline const QString controlButton = QStringLiteral("ｺﾝﾄﾛｰﾙﾎﾞﾀﾝを隠す(&H)");
inline const QString file = QStringLiteral("ｸﾘｯﾌﾟﾌｧｲﾙ(&F)");
inline const QString newFile = QStringLiteral("新規作成(&N)");
inline const QString edit = QStringLiteral("編集(&E)");
inline const QString updateFile = QStringLiteral("更新(&U)");
inline const QString reread = QStringLiteral("再読込(&R)");
inline const QString about = QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ(&A)");
inline const QString exitProgram = QStringLiteral("終了(&X)");
inline const QString clickPaste = QStringLiteral("ｸﾘｯｸで貼り付け(&P)");
/** The same item where no other program's window can be reached. */
inline const QString clickPasteUnavailable = QStringLiteral("ｸﾘｯｸで貼り付け(&P)（Waylandでは使えません）");
inline const QString clickPasteUnavailableTip =
        QStringLiteral("Waylandのｾｯｼｮﾝでは、ほかのﾌﾟﾛｸﾞﾗﾑのｳｨﾝﾄﾞｳに貼り付けられません");
inline const QString startAtLogin = QStringLiteral("ﾛｸﾞｲﾝ時に起動(&L)");
/** The same item where no autostart entry could start the program from its folder. */
inline const QString startAtLoginUnavailable = QStringLiteral("ﾛｸﾞｲﾝ時に起動(&L)（このﾌｫﾙﾀﾞからは使えません）");
inline const QString startAtLoginUnavailableTip =
        QStringLiteral("ﾌｫﾙﾀﾞかﾌﾟﾛｸﾞﾗﾑのﾊﾟｽに、ﾛｸﾞｲﾝ時の起動に書けない文字があります");
inline const QString optionsUnwritable = QStringLiteral("設定ﾌｧｲﾙを保存できません");
inline const QString autostartUnwritable = QStringLiteral("ﾛｸﾞｲﾝ時の起動を設定できません");

inline const QString mouseMenu2 = QStringLiteral("ﾒﾆｭｰ(&2)");
inline const QString listUp = QStringLiteral("上へ(&U)");
inline const QString listDown = QStringLiteral("下へ(&D)");
inline const QString listButtonNameChange = QStringLiteral("ﾎﾞﾀﾝ名変更(&C)");
inline const QString listInsert = QStringLiteral("挿入(&I)");
inline const QString listDelete = QStringLiteral("ﾃﾞｰﾀ削除(&D)");
inline const QString listKill = QStringLiteral("ﾎﾞﾀﾝ削除(&K)");

inline const QString noContent = QStringLiteral("内容が存在しません");
/** Before the new-file command empties a file that holds something. */
inline const QString replaceQuestion = QStringLiteral("ﾌｧｲﾙの内容は失われます。新規作成しますか？");

} // namespace frmmenutext
