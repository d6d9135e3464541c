#include "drop/message_filter_rule.hpp"

namespace korvane {

bool NeedsMessageFilter(std::string_view osProductName) noexcept {
  constexpr std::string_view kWindowsXp = "Windows XP";
  return osProductName.substr(0, kWindowsXp.size()) != kWindowsXp;
}

}  // namespace korvane
