#include "app/edit_control_win32.hpp"

#include <algorithm>

namespace korvane {

Text EditControl::GetText() const {
  const int length = GetWindowTextLengthA(control_);
  if (length <= 0) return Text();
  // The length may be an overestimate for double-byte text; the copy says
  // how much it really wrote.
  Text text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(control_, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::clamp(copied, 0, length)));
  return text;
}

void EditControl::SetText(const Text& text) { SetWindowTextA(control_, text.c_str()); }

}  // namespace korvane
