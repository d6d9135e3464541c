#pragma once
// PathList: the ordered list of every path the folder scans have found since
// start-up. It only grows. The paths are kept back to back in one block, each
// with its terminating zero, so a million paths cost their bytes plus one
// offset each rather than a heap block each.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

class PathList {
 public:
  // Adds a copy of path at the end.
  void Append(std::string_view path);

  std::size_t Count() const noexcept { return ends_.size(); }

  // The path at a 0-based position; valid until the next Append.
  std::string_view At(std::size_t index) const noexcept;

  // Room for this many more paths of this many bytes in all, so that a scan
  // of known size does not grow the block step by step.
  void Reserve(std::size_t paths, std::size_t bytes);

  // Bytes held, for the memory figures of the benchmarks.
  std::size_t MemoryBytes() const noexcept;

 private:
  std::string bytes_;              // every path followed by one zero byte
  std::vector<std::size_t> ends_;  // offset just past each path's zero byte
};

}  // namespace korvane
