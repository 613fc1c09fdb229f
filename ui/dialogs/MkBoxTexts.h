#pragma once
// Texts of the message box.
//
// Every text the message box shows of its own.
// A text is a function: the Japanese source text through Qt's translation
// (context "MkBox"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>

namespace nuvask::mkbox_texts {

inline QString kOk() { return QCoreApplication::translate("MkBox", "ＯＫ"); }
inline QString kYes() { return QCoreApplication::translate("MkBox", "はい"); }
inline QString kNo() { return QCoreApplication::translate("MkBox", "いいえ"); }
inline QString kPause() { return QCoreApplication::translate("MkBox", "一時停止"); }
inline QString kResume() { return QCoreApplication::translate("MkBox", "ｶｳﾝﾄ再開"); }
inline QString kSeconds() { return QCoreApplication::translate("MkBox", "秒"); }
inline QString kMemoHint() { return QCoreApplication::translate("MkBox", "右クリックで、コピーできます☆"); }
inline QString kDefaultBarHint() { return QCoreApplication::translate("MkBox", "タイムアウト、デフォルト値"); }

} // namespace nuvask::mkbox_texts
