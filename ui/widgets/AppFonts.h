#pragma once

namespace nuvask {

// The windows are designed for "ＭＳ Ｐゴシック", which Linux does not have.
// Map it (and its fixed-pitch sibling) to IPA's proportional Gothic so that
// Japanese captions keep their proportions instead of falling back to a
// fixed-width face. Call once after the QApplication exists.
void InstallFontSubstitutions();

} // namespace nuvask
