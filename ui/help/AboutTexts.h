#pragma once
// Every text of the about box, and the maker's addresses the about box and
// the contact text share. The addresses are fictitious placeholders under
// example.com until the program has a home of its own.
// A text is a function: the Japanese source text through Qt's translation
// (context "AboutBox"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>
#include <QString>

namespace nuvask::aboutText {

inline QString CaptionDesign() { return QCoreApplication::translate("AboutBox", "バージョン情報"); }
inline QString CaptionSuffix() { return QCoreApplication::translate("AboutBox", " バージョン情報"); }
inline const QString FontFamily = QStringLiteral("System");
inline constexpr int FontPixels = 13;

inline QString HintPanel() { return QCoreApplication::translate("AboutBox", "バージョン情報"); }
inline QString HintIcon() { return QCoreApplication::translate("AboutBox", "アイコン"); }
inline QString HintProduct() { return QCoreApplication::translate("AboutBox", "よろしくね☆"); }
inline QString HintVersion() { return QCoreApplication::translate("AboutBox", "バージョン番号"); }
inline QString HintCopyright() { return QCoreApplication::translate("AboutBox", "制作者"); }
inline const QString Comments = QStringLiteral("Comments");
inline const QString VersionPrefix = QStringLiteral("Version ");
inline const QString CopyrightPrefix = QStringLiteral("Copyright ");

inline const QString HomeCaption = QStringLiteral("HOME PAGE");
inline QString HomeHint() { return QCoreApplication::translate("AboutBox", "ホームページへアクセスする"); }
inline QString MailCaption() { return QCoreApplication::translate("AboutBox", "by KELDOSOFT 宛メール"); }
inline QString MailHint() { return QCoreApplication::translate("AboutBox", "製作者へ、メールを出す"); }
inline QString OkCaption() { return QCoreApplication::translate("AboutBox", "Ｏ Ｋ"); }
inline QString OkHint() { return QCoreApplication::translate("AboutBox", "バージョン情報の終了"); }

inline QString AskHomeHead() { return QCoreApplication::translate("AboutBox", "ホームページ\n"); }
inline QString AskHomeTail() { return QCoreApplication::translate("AboutBox", "\nへアクセスしますか？"); }
inline QString NoBrowser() { return QCoreApplication::translate("AboutBox", "インターネットアクセスツールが、設定されていません・・・"); }
inline QString NoMailer() { return QCoreApplication::translate("AboutBox", "インターネットメールソフトが設定されていません・・・"); }

} // namespace nuvask::aboutText

namespace nuvask::maker {

// The home page, its mirror, and the maker's overview page (contact text only).
inline const QString HomePage1 = QStringLiteral("https://www.example.com/keldosoft/nuvask/");
inline const QString HomePage2 = QStringLiteral("https://mirror.example.com/keldosoft/nuvask/");
inline const QString HomePage3 = QStringLiteral("https://www.example.com/keldosoft/");
inline const QString Mail = QStringLiteral("nuvask-support@example.com");

} // namespace nuvask::maker
