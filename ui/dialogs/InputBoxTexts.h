#pragma once
// Texts of the text input box.
//
// Every text the text input box shows of its own.
// A text is a function: the Japanese source text through Qt's translation
// (context "InputBox"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>

namespace nuvask::input_box_texts {

inline QString kColon() { return QCoreApplication::translate("InputBox", "："); }
inline QString kAccept() { return QCoreApplication::translate("InputBox", "登録"); }
inline QString kStop() { return QCoreApplication::translate("InputBox", "中止"); }
inline QString kHistory() { return QCoreApplication::translate("InputBox", "H"); }
inline QString kHistoryHint() { return QCoreApplication::translate("InputBox", "ヒストリーの表示"); }
inline QString kOff() { return QCoreApplication::translate("InputBox", "off"); }
inline QString kOffHint() { return QCoreApplication::translate("InputBox", "ヒストリーを選択せずに閉じる"); }
inline QString kListHint() { return QCoreApplication::translate("InputBox", "ヒストリーの選択"); }

} // namespace nuvask::input_box_texts
