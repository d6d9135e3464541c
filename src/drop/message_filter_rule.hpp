#pragma once
// Whether the drop hook lets WM_DROPFILES and its companions through the
// message filter of User Interface Privilege Isolation. Windows XP has no such
// filter (and no ChangeWindowMessageFilter to call); every later system has.
#include <string_view>

namespace korvane {

// False when the system's name begins with "Windows XP" (its first ten
// bytes); true for every other name, the empty one included.
bool NeedsMessageFilter(std::string_view osProductName) noexcept;

}  // namespace korvane
