#pragma once
// Every text of the help window.

#include <QString>

namespace nuvask::helpText {

inline const QString Caption = QStringLiteral("nuvASK ヘルプ");
inline const QString ContentsTab = QStringLiteral("目次");
inline const QString KeywordTab = QStringLiteral("キーワード");
inline const QString KeywordPrompt = QStringLiteral("調べたい言葉を入力してください：");
inline const QString ShowTopic = QStringLiteral("表示(&D)");
inline const QString Back = QStringLiteral("戻る(&B)");
inline const QString Forward = QStringLiteral("進む(&F)");
inline const QString HelpOnHelp = QStringLiteral("ヘルプの使い方");
inline const QString Missing = QStringLiteral("ヘルプファイルが見つかりません：\n");
inline const QString Unreadable = QStringLiteral("ヘルプファイルを読めません：\n");

// The topic the help-on-help command opens.
inline const QString HelpOnHelpId = QStringLiteral("helponhelp");

} // namespace nuvask::helpText
