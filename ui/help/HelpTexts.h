#pragma once
// Every text of the help window.
// A text is a function: the Japanese source text through Qt's translation
// (context "HelpWindow"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>
#include <QString>

namespace nuvask::helpText {

inline QString Caption() { return QCoreApplication::translate("HelpWindow", "nuvASK ヘルプ"); }
inline QString ContentsTab() { return QCoreApplication::translate("HelpWindow", "目次"); }
inline QString KeywordTab() { return QCoreApplication::translate("HelpWindow", "キーワード"); }
inline QString KeywordPrompt() { return QCoreApplication::translate("HelpWindow", "調べたい言葉を入力してください："); }
inline QString ShowTopic() { return QCoreApplication::translate("HelpWindow", "表示(&D)"); }
inline QString Back() { return QCoreApplication::translate("HelpWindow", "戻る(&B)"); }
inline QString Forward() { return QCoreApplication::translate("HelpWindow", "進む(&F)"); }
inline QString HelpOnHelp() { return QCoreApplication::translate("HelpWindow", "ヘルプの使い方"); }
inline QString Missing() { return QCoreApplication::translate("HelpWindow", "ヘルプファイルが見つかりません：\n"); }
inline QString Unreadable() { return QCoreApplication::translate("HelpWindow", "ヘルプファイルを読めません：\n"); }

// A keyword of several topics, once per topic: %1 the keyword, %2 the topic.
inline QString KeywordTopic() { return QCoreApplication::translate("HelpWindow", "%1（%2）"); }
// The topic the help-on-help command opens.
inline const QString HelpOnHelpId = QStringLiteral("helponhelp");

} // namespace nuvask::helpText
