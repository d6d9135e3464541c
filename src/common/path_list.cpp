#include "common/path_list.hpp"

#include <algorithm>
#include <cstring>

namespace korvane {

void PathList::Append(std::string_view path) {
  const std::size_t need = path.size() + 1;
  if (need > room_) {
    // A path longer than a block gets a block of its own size.
    const std::size_t grown = std::clamp(blockBytes_ / 4, kFirstBlockBytes, kLargestBlockBytes);
    const std::size_t size = std::max(grown, need);
    // Not zeroed: every byte handed out is written first, and zeroing a
    // fresh block cost the scan of a large tree a fifth of its time.
    blocks_.push_back(std::unique_ptr<char[]>(new char[size]));
    blockBytes_ += size;
    free_ = blocks_.back().get();
    room_ = size;
  }
  if (!path.empty()) std::memcpy(free_, path.data(), path.size());
  free_[path.size()] = '\0';
  starts_.push_back(free_);
  free_ += need;
  room_ -= need;
  if (observer_ != nullptr && --untilObserved_ == 0) {
    untilObserved_ = observeEvery_;
    observer_(observerContext_, *this);
  }
}

void PathList::ObserveAppends(AppendObserver observer, void* context, std::size_t every) noexcept {
  observer_ = every > 0 ? observer : nullptr;
  observerContext_ = context;
  observeEvery_ = every;
  untilObserved_ = every;
}

std::string_view PathList::At(std::size_t index) const noexcept {
  if (index >= starts_.size()) return {};
  // A Text holds no zero byte, so the terminator marks the end.
  return std::string_view(starts_[index]);
}

std::size_t PathList::MemoryBytes() const noexcept {
  return blockBytes_ + starts_.capacity() * sizeof(const char*) + blocks_.capacity() * sizeof(blocks_[0]);
}

}  // namespace korvane
