#pragma once
// Every text of the about box, and the maker's addresses the about box and
// the contact text share. The addresses are fictitious placeholders under
// example.com until the program has a home of its own.

#include <QString>

namespace nuvask::aboutText {

inline const QString CaptionDesign = QStringLiteral("バージョン情報");
inline const QString CaptionSuffix = QStringLiteral(" バージョン情報");
inline const QString FontFamily = QStringLiteral("System");
inline constexpr int FontPixels = 13;

inline const QString HintPanel = QStringLiteral("バージョン情報");
inline const QString HintIcon = QStringLiteral("アイコン");
inline const QString HintProduct = QStringLiteral("よろしくね☆");
inline const QString HintVersion = QStringLiteral("バージョン番号");
inline const QString HintCopyright = QStringLiteral("制作者");
inline const QString Comments = QStringLiteral("Comments");
inline const QString VersionPrefix = QStringLiteral("Version ");
inline const QString CopyrightPrefix = QStringLiteral("Copyright ");

inline const QString HomeCaption = QStringLiteral("HOME PAGE");
inline const QString HomeHint = QStringLiteral("ホームページへアクセスする");
inline const QString MailCaption = QStringLiteral("by KELDOSOFT 宛メール");
inline const QString MailHint = QStringLiteral("製作者へ、メールを出す");
inline const QString OkCaption = QStringLiteral("Ｏ Ｋ");
inline const QString OkHint = QStringLiteral("バージョン情報の終了");

inline const QString AskHomeHead = QStringLiteral("ホームページ\n");
inline const QString AskHomeTail = QStringLiteral("\nへアクセスしますか？");
inline const QString NoBrowser = QStringLiteral("インターネットアクセスツールが、設定されていません・・・");
inline const QString NoMailer = QStringLiteral("インターネットメールソフトが設定されていません・・・");

} // namespace nuvask::aboutText

namespace nuvask::maker {

// The home page, its mirror, and the maker's overview page (contact text only).
inline const QString HomePage1 = QStringLiteral("https://www.example.com/keldosoft/nuvask/");
inline const QString HomePage2 = QStringLiteral("https://mirror.example.com/keldosoft/nuvask/");
inline const QString HomePage3 = QStringLiteral("https://www.example.com/keldosoft/");
inline const QString Mail = QStringLiteral("nuvask-support@example.com");

} // namespace nuvask::maker
