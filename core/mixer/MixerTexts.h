#pragma once
// Texts the mixer layer returns as error texts, byte for byte. The ones with
// printf fields are filled by MixerText().
// A text is a function: the Japanese source text through Qt's translation
// (context "MixerLayer"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>

namespace nuvask::MixerTexts {

inline constexpr char NoDevices[] = "No audio mixer devices found.";
// Shown for whichever device failed to open; the device number is not filled in.
inline constexpr char OpenFailed[] = "Error opening mixer DevId = 0";
inline QString LineDataFailed() { return QCoreApplication::translate("MixerLayer", "ラインデータの取得に失敗しました・・・"); }
inline constexpr char NoComponent[] = "Error, component not found!";
inline constexpr char LineInfoFailed[] = "mixerGetLineInfo(lineid=%.08Xh) failed.  rc=%u!";
inline constexpr char ControlsAllocFailed[] = "Unable to allocate memory needed...";
inline constexpr char LineControlsFailed[] = "mixerGetLineControls(ctrlid=%.08Xh) failed.  rc=%u!";
inline constexpr char ControlDisabled[] = "This control (ctrlid=%.08lXh) is disabled.";
inline constexpr char DetailsAllocFailed[] = "Unable to allocate required memory...";

} // namespace nuvask::MixerTexts
