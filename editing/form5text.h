#pragma once

#include <QString>

/** Every text the button content editor shows. */
namespace form5text {

inline const QString caption = QStringLiteral("ﾎﾞﾀﾝ内容編集");
inline const QString label1 = QStringLiteral("ﾎﾞﾀﾝ名(&B):");
inline const QString label2 = QStringLiteral("ﾎﾞﾀﾝ内容(&I):");
inline const QString command3 = QStringLiteral("新規ﾎﾞﾀﾝ(&N)");
inline const QString command1 = QStringLiteral("OK");
inline const QString command2 = QStringLiteral("ｷｬﾝｾﾙ");

inline const QString createQuestion = QStringLiteral("ｸﾘｯﾌﾟﾌｧｲﾙを新規作成しますか？");
inline const QString createQuestionTitle = QStringLiteral("ｸﾘｯﾌﾟﾌｧｲﾙがありません");
inline const QString clipFileUnwritable = QStringLiteral("ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙを保存できません");
/** Asked before a save would replace what another program wrote to the file. */
inline const QString overwriteQuestion =
        QStringLiteral("ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙに他の内容が保存されています。上書きしますか？");

} // namespace form5text
