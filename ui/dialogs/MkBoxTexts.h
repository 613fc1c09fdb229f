#pragma once
// Texts of the message box.
//
// Every text the message box shows of its own.

namespace nuvask::mkbox_texts {

inline constexpr char kOk[] = "ＯＫ";
inline constexpr char kYes[] = "はい";
inline constexpr char kNo[] = "いいえ";
inline constexpr char kPause[] = "一時停止";
inline constexpr char kResume[] = "ｶｳﾝﾄ再開";
inline constexpr char kSeconds[] = "秒";
inline constexpr char kMemoHint[] = "右クリックで、コピーできます☆";
inline constexpr char kDefaultBarHint[] = "タイムアウト、デフォルト値";

} // namespace nuvask::mkbox_texts
