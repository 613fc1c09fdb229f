#pragma once
// Modal results shared by the dialogs that a caller runs and then asks how
// they ended.

namespace nuvask::modal {

inline constexpr int kOk = 1;     // accepted / confirmed
inline constexpr int kClosed = 2; // closed through the title bar
inline constexpr int kCancel = 3; // the cancel button or Esc

} // namespace nuvask::modal
