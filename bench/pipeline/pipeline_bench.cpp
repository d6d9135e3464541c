// bench_pipeline FOLDER [OUTPUT-FILE]
// Runs what one drop and one export do, stage by stage, and prints one line:
//   entries=N path_bytes=B bare_walk=s scan=s content=s load=s export_text=s export_write=s memory=B
//   memory_paths=B memory_content=B memory_tree=B
// (times in seconds). bare_walk is the floor for the scan: the platform's
// folder search reading every folder once and storing nothing; it runs
// before the scan and after it, and the two runs are averaged, so that a
// cache warmed or a machine loaded meanwhile weighs on both sides alike.
// The listing's edit box and the desktop are left out: they cost nothing
// next to the stages.
#include <chrono>
#include <cstdio>
#include <string>

#include "bare_walk.hpp"
#include "common/path_list.hpp"
#include "export/export_text.hpp"
#include "listing/folder_scan.hpp"
#include "listing/listing_loader.hpp"
#include "tree_box_factory.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_pipeline FOLDER [OUTPUT-FILE]\n");
    return 2;
  }
  auto tree = korvane::bench::MakeTreeBox();
  korvane::PathList paths;

  auto start = Clock::now();
  const korvane::bench::WalkCount bare = korvane::bench::BareWalk(argv[1]);
  double bareWalk = Since(start);

  start = Clock::now();
  korvane::Text folder = argv[1];
  korvane::ScanFolder(folder, paths);
  const double scan = Since(start);

  start = Clock::now();
  (void)korvane::bench::BareWalk(argv[1]);
  bareWalk = (bareWalk + Since(start)) / 2;

  start = Clock::now();
  const korvane::ByteBuffer content = korvane::BuildListingContent(paths, paths.Count());
  const double build = Since(start);

  start = Clock::now();
  tree->WriteContent(content);
  const double load = Since(start);

  start = Clock::now();
  const korvane::Text text = korvane::BuildExportText(*tree);
  const double exportText = Since(start);

  start = Clock::now();
  if (argc > 2) {
    if (std::FILE* out = std::fopen(argv[2], "wb")) {
      std::fwrite(text.data(), 1, text.size(), out);
      std::fclose(out);
    }
  }
  const double exportWrite = Since(start);

  std::size_t pathBytes = 0;
  for (std::size_t i = 0; i < paths.Count(); ++i) pathBytes += paths.At(i).size();
  const std::size_t treeMemory = korvane::bench::TreeBoxMemoryBytes(*tree);
  const std::size_t memory = paths.MemoryBytes() + content.capacity() + treeMemory;
  std::printf(
      "entries=%zu path_bytes=%zu bare_walk=%.6f scan=%.6f content=%.6f load=%.6f export_text=%.6f export_write=%.6f "
      "memory=%zu memory_paths=%zu memory_content=%zu memory_tree=%zu\n",
      paths.Count(), pathBytes, bareWalk, scan, build, load, exportText, exportWrite, memory, paths.MemoryBytes(),
      content.capacity(), treeMemory);
  const bool whole = korvane::bench::ScanIsWhole(bare, paths.Count());
  if (!whole)
    std::fprintf(stderr, "bench_pipeline: the scan found %zu, the bare walk %zu\n", paths.Count(), bare.entries);
  return whole && tree->ItemCount() == static_cast<int>(paths.Count()) ? 0 : 1;
}
