#pragma once
// Texts of the text input box.
//
// Every text the text input box shows of its own.
// A text is a function: the Japanese source text through Qt's translation
// (context "SNBox"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>

namespace nuvask::snbox_texts {

inline QString kColon() { return QCoreApplication::translate("SNBox", "："); }
inline QString kAccept() { return QCoreApplication::translate("SNBox", "登録"); }
inline QString kStop() { return QCoreApplication::translate("SNBox", "中止"); }
inline QString kHistory() { return QCoreApplication::translate("SNBox", "H"); }
inline QString kHistoryHint() { return QCoreApplication::translate("SNBox", "ヒストリーの表示"); }
inline QString kOff() { return QCoreApplication::translate("SNBox", "off"); }
inline QString kOffHint() { return QCoreApplication::translate("SNBox", "ヒストリーを選択せずに閉じる"); }
inline QString kListHint() { return QCoreApplication::translate("SNBox", "ヒストリーの選択"); }

} // namespace nuvask::snbox_texts
