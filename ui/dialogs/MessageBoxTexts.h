#pragma once
// Texts of the message box.
//
// Every text the message box shows of its own.
// A text is a function: the Japanese source text through Qt's translation
// (context "MessageBox"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>

namespace nuvask::message_box_texts {

inline QString kOk() { return QCoreApplication::translate("MessageBox", "ＯＫ"); }
inline QString kYes() { return QCoreApplication::translate("MessageBox", "はい"); }
inline QString kNo() { return QCoreApplication::translate("MessageBox", "いいえ"); }
inline QString kPause() { return QCoreApplication::translate("MessageBox", "一時停止"); }
inline QString kResume() { return QCoreApplication::translate("MessageBox", "ｶｳﾝﾄ再開"); }
inline QString kSeconds() { return QCoreApplication::translate("MessageBox", "秒"); }
inline QString kMemoHint() { return QCoreApplication::translate("MessageBox", "右クリックで、コピーできます☆"); }
inline QString kDefaultBarHint() { return QCoreApplication::translate("MessageBox", "タイムアウト、デフォルト値"); }

} // namespace nuvask::message_box_texts
