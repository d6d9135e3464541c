#include "common/path_list.hpp"

namespace korvane {

void PathList::Append(std::string_view path) {
  bytes_.append(path);
  bytes_.push_back('\0');
  ends_.push_back(bytes_.size());
}

std::string_view PathList::At(std::size_t index) const noexcept {
  if (index >= ends_.size()) return {};
  const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
  return std::string_view(bytes_.data() + begin, ends_[index] - begin - 1);
}

void PathList::Reserve(std::size_t paths, std::size_t bytes) {
  ends_.reserve(ends_.size() + paths);
  bytes_.reserve(bytes_.size() + bytes + paths);
}

std::size_t PathList::MemoryBytes() const noexcept {
  return bytes_.capacity() + ends_.capacity() * sizeof(std::size_t);
}

}  // namespace korvane
