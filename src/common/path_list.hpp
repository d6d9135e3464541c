#pragma once
// PathList: the ordered list of every path the folder scans have found since
// start-up. It only grows. The paths lie back to back, each with its
// terminating zero, in blocks of fixed size that are never moved: a million
// paths cost their bytes plus one pointer each, rather than a heap block
// each, and growing never copies what is there or doubles the memory held.
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace korvane {

class PathList {
 public:
  // Adds a copy of path at the end.
  void Append(std::string_view path);

  std::size_t Count() const noexcept { return starts_.size(); }

  // The path at a 0-based position (empty past the end). Stays valid as long
  // as the list, and is followed by a zero byte.
  std::string_view At(std::size_t index) const noexcept;

  // Bytes held, for the memory figures of the benchmarks.
  std::size_t MemoryBytes() const noexcept;

  // A long scan's progress: observer(context, *this) runs after every
  // `every` appends (counted from this call) until it is set to nullptr.
  using AppendObserver = void (*)(void* context, const PathList& paths);
  void ObserveAppends(AppendObserver observer, void* context, std::size_t every) noexcept;

 private:
  // Each new block is a quarter of what the list holds, within these bounds:
  // a short list holds no large block, and at most a quarter of the memory
  // (or one largest block) is ever unused.
  static constexpr std::size_t kFirstBlockBytes = 4 * 1024;
  static constexpr std::size_t kLargestBlockBytes = 256 * 1024;

  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t blockBytes_ = 0;  // all blocks together
  char* free_ = nullptr;        // next free byte of the last block
  std::size_t room_ = 0;        // free bytes left in the last block
  std::vector<const char*> starts_;
  AppendObserver observer_ = nullptr;
  void* observerContext_ = nullptr;
  std::size_t observeEvery_ = 0;
  std::size_t untilObserved_ = 0;
};

}  // namespace korvane
