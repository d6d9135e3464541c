// Tree box benchmark: writes listing-shaped contents of 10k, 100k and 1M
// items into a tree box and reads every item back by index. Prints each
// step's time per item, next to the cost of building the content itself (a
// peer the listing pays anyway) and, on Windows, the control's own costs.
//
//   bench_treebox [sizes...]      default 10000 100000 1000000
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_box.hpp"
#include "bench_content.hpp"

namespace korvane::bench {
namespace {

constexpr int kRepetitions = 3;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Steps {
  double content = 0, write = 0, read = 0, clear = 0;
};

// Reads what the export reads, and the parent besides, for every item.
long long ReadEverything(const TreeBox& box) {
  long long sum = 0;
  const int count = box.ItemCount();
  for (int i = 0; i < count; ++i) {
    sum += box.IndentLevel(i) + box.ParentIndex(i) + static_cast<long long>(box.ItemText(i).size());
  }
  return sum;
}

using LevelsFn = std::vector<std::int32_t> (*)(int count, std::uint64_t seed);

void RunSize(TreeBox& box, LevelsFn shape, int count) {
  const std::vector<std::int32_t> levels = shape(count, 20261211u + static_cast<unsigned>(count));
  const Names names = ListingNames(levels.size(), 7u + static_cast<unsigned>(count));
  int topLevel = 0;
  for (const std::int32_t level : levels) topLevel += level == levels[0] ? 1 : 0;
  const int deepest = *std::max_element(levels.begin(), levels.end()) - levels[0] + 1;

  std::vector<double> content, write, read, clear;
  long long checksum = 0;
  std::size_t memory = 0, contentBytes = 0;
  for (int rep = -1; rep < kRepetitions; ++rep) {  // the first run warms the heap up and is not counted
    auto start = std::chrono::steady_clock::now();
    const ByteBuffer bytes = BuildContent(names, levels);
    content.push_back(SecondsSince(start));

    start = std::chrono::steady_clock::now();
    box.WriteContent(bytes);
    write.push_back(SecondsSince(start));
    if (box.ItemCount() != count || box.CurrentItem() != 0) {
      std::fprintf(stderr, "bench: the box holds %d items, current %d; expected %d, 0\n", box.ItemCount(),
                   box.CurrentItem(), count);
      std::exit(1);
    }

    memory = BenchBoxMemoryBytes(box);
    contentBytes = bytes.size();

    start = std::chrono::steady_clock::now();
    checksum += ReadEverything(box);
    read.push_back(SecondsSince(start));

    start = std::chrono::steady_clock::now();
    box.Clear();
    clear.push_back(SecondsSince(start));
    if (rep < 0) content.clear(), write.clear(), read.clear(), clear.clear();
  }
  const double perItem = 1e9 / count;
  const double c = Median(content), w = Median(write), r = Median(read), k = Median(clear);
  char memoryText[64] = "-";
  if (memory > 0) {
    std::snprintf(memoryText, sizeof memoryText, "%.1f (content %.1f)", static_cast<double>(memory) / count,
                  static_cast<double>(contentBytes) / count);
  }
  std::printf("| %d | %d | %d | %.0f | %.0f | %.0f | %.0f | %.2f | %.2f | %.3f | %s |\n", count, topLevel, deepest,
              c * perItem, w * perItem, r * perItem, k * perItem, w / c, (w + r) / c, w + r, memoryText);

  for (const PeerTime& peer : MeasureControlPeers(names, levels)) {
    std::printf("|   peer: %s | | | | %.0f ns/item (%.2f x content) | | | | | | |\n", peer.name.c_str(),
                peer.secondsPerItem * 1e9, peer.secondsPerItem * count / c);
  }
  std::fflush(stdout);
  if (checksum == 42) std::printf("\n");  // keeps the reads from being optimised away
}

}  // namespace
}  // namespace korvane::bench

int main(int argc, char** argv) {
  using namespace korvane::bench;
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {10000, 100000, 1000000};

  const auto box = MakeBenchBox();
  std::printf("tree box: %s; medians of %d runs; times in ns per item\n", BenchBoxName(), kRepetitions);
  const struct {
    const char* name;
    LevelsFn levels;
  } shapes[] = {
      {"folder tree (a few dozen top-level entries; 4 sub-folders and 5-44 files per folder)", FolderTreeLevels},
      {"wide listing (about a sixth of the items at the top, nesting up to 15 deep)", WideLevels}};
  for (const auto& shape : shapes) {
    std::printf("\n%s\n\n", shape.name);
    std::printf(
        "| items | top-level | depth | content | write | read | clear | write / content | "
        "(write+read) / content | write+read s | memory B/item |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const int size : sizes) {
      if (size > 0) RunSize(*box, shape.levels, size);
    }
  }
  return 0;
}
