#pragma once
// Texts of the text input box.
//
// Every text the text input box shows of its own.

namespace nuvask::snbox_texts {

inline constexpr char kColon[] = "：";
inline constexpr char kAccept[] = "登録";
inline constexpr char kStop[] = "中止";
inline constexpr char kHistory[] = "H";
inline constexpr char kHistoryHint[] = "ヒストリーの表示";
inline constexpr char kOff[] = "off";
inline constexpr char kOffHint[] = "ヒストリーを選択せずに閉じる";
inline constexpr char kListHint[] = "ヒストリーの選択";

} // namespace nuvask::snbox_texts
