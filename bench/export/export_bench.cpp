// Export benchmark: builds the export text of generated trees of growing
// size and measures, in the same run, what it is compared with:
//  - reads: the reads the export makes through the tree box (item count once,
//    then each item's level and text), with nothing built: the floor;
//  - text: the export text (BuildExportText);
//  - copy: the same bytes copied into a new string: making that much text in
//    new memory, with no tree behind it;
//  - fwrite/WriteFile: the text's bytes written to a file in one piece;
//  - program write (Windows): the export's own write through a temporary
//    file, flushed and moved over the old file.
// Prints one line per size and a summary line of key=value pairs.
//
//   bench_export [sizes=10000,100000,1000000] [reps=9] [scratch file]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "export/export_text.hpp"
#include "export_bench_platform.hpp"
#include "treebox/tree_content.hpp"

namespace korvane::bench {
namespace {

// A folder tree like bench/run's: folders ten to a parent, each followed by
// its sub-folders' subtrees and then 90 files; Chinese names (GBK), as a
// listing would hold them.
ByteBuffer GeneratedContent(std::size_t items) {
  const std::size_t folders = std::max<std::size_t>(1, items / 91);
  std::vector<std::vector<std::size_t>> children(folders);
  for (std::size_t i = 1; i < folders; ++i) children[(i - 1) / 10].push_back(i);

  ByteBuffer content;
  content.reserve(items * 40);
  std::size_t made = 0;
  char name[64];
  auto add = [&](const char* text, int level) {
    TreeItemRecord record;
    record.ItemText = text;
    record.IndentLevel = level;
    AppendRecord(content, record);
    ++made;
  };
  // Depth-first from the root folder (not an item itself); its entries are level 1.
  struct Frame {
    std::size_t folder;
    std::size_t next;  // next child folder to go into
    int level;
  };
  std::vector<Frame> stack{{0, 0, 1}};
  while (!stack.empty() && made < items) {
    Frame& frame = stack.back();
    if (frame.next < children[frame.folder].size()) {
      const std::size_t child = children[frame.folder][frame.next++];
      std::snprintf(name, sizeof name, "目录%06zu", child);
      add(name, frame.level);
      stack.push_back(Frame{child, 0, frame.level + 1});
      continue;
    }
    for (int f = 0; f < 90 && made < items; ++f) {
      std::snprintf(name, sizeof name, "文件%02d.txt", f);
      add(name, frame.level);
    }
    stack.pop_back();
  }
  return content;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The median of reps runs; first, if given, gets the first run's time (the
// run that may find its memory not yet mapped).
double Seconds(const std::function<void()>& work, int reps, double* first = nullptr) {
  std::vector<double> runs;
  for (int r = 0; r < reps; ++r) {
    const auto start = std::chrono::steady_clock::now();
    work();
    runs.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  if (first != nullptr) *first = runs.front();
  return Median(runs);
}

std::vector<std::size_t> ParseSizes(const char* text) {
  std::vector<std::size_t> sizes;
  for (const char* p = text; *p != '\0';) {
    char* end = nullptr;
    sizes.push_back(static_cast<std::size_t>(std::strtoull(p, &end, 10)));
    p = *end == ',' ? end + 1 : end;
  }
  return sizes;
}

}  // namespace
}  // namespace korvane::bench

int main(int argc, char** argv) {
  using namespace korvane;
  using namespace korvane::bench;
  const std::vector<std::size_t> sizes = ParseSizes(argc > 1 ? argv[1] : "10000,100000,1000000");
  const int reps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
  const std::string scratch = argc > 3 ? argv[3] : "bench_export.txt";

  std::unique_ptr<TreeBox> tree = MakeBenchTree();
  std::printf("export text over the %s, medians of %d runs, seconds\n", BenchTreeName(), reps);
  std::printf("%10s %12s %9s %9s %9s %9s %9s %9s %8s %9s %9s %8s %12s\n", "items", "bytes", "reads", "text", "1st text",
              "copy", "one-write", "program", "ns/item", "text/read", "text/copy", "text/wr", "prog/one-wr");
  std::string summary;
  for (const std::size_t size : sizes) {
    tree->WriteContent(GeneratedContent(size));
    const int items = tree->ItemCount();

    std::size_t sink = 0;
    const double reads = Seconds(
        [&] {
          const int count = tree->ItemCount();
          for (int i = 0; i < count; ++i)
            sink += static_cast<std::size_t>(tree->IndentLevel(i)) + tree->ItemText(i).size();
        },
        reps);
    Text text;
    double firstBuild = 0;
    const double build = Seconds([&] { text = BuildExportText(*tree); }, reps, &firstBuild);
    // Kept until the next run replaces it, as the text is, so that both ask
    // the allocator for memory in the same pattern.
    std::string copied;
    const double copy = Seconds([&] { copied = std::string(text.data(), text.size()); }, reps);
    bool ok = true;
    const double oneWrite = Seconds([&] { ok = WriteInOnePiece(scratch, text) && ok; }, reps);
    double program = 0;
    if (HasProgramWrite()) program = Seconds([&] { ok = WriteAsTheProgramDoes(scratch, text) && ok; }, reps);
    std::remove(scratch.c_str());
    if (!ok) {
      std::fprintf(stderr, "bench_export: writing %s failed\n", scratch.c_str());
      return 1;
    }

    std::printf("%10d %12zu %9.4f %9.4f %9.4f %9.4f %9.4f %9.4f %8.1f %9.2f %9.2f %8.2f %12.2f\n", items, text.size(),
                reads, build, firstBuild, copy, oneWrite, program, build * 1e9 / std::max(items, 1), build / reads,
                build / copy, build / oneWrite, HasProgramWrite() ? program / oneWrite : 0.0);
    char line[384];
    std::snprintf(line, sizeof line,
                  "items%zu=%d text%zu=%.6f first%zu=%.6f reads%zu=%.6f copy%zu=%.6f write%zu=%.6f program%zu=%.6f ",
                  size, items, size, build, size, firstBuild, size, reads, size, copy, size, oneWrite, size, program);
    summary += line;
    if (sink == 42 || copied.size() == 42) std::printf(" ");  // keeps the reads and copies from being optimised away
  }
  std::printf("%s\n", summary.c_str());
  return 0;
}
