// bench_listing FOLDER
// Lists FOLDER the way the query button does and prints one line:
//   entries=N bare_walk=s two_pass_walk=s scan=s content=s load=s listing=s second_listing=s
//   content_bytes=B path_bytes=B plain_scan=s progress_scan=s
// (times in seconds).
//   bare_walk       the floor: the platform's search reading every folder
//                   once, nothing stored (FindFirstFileExW on \\?\ paths,
//                   readdir); the mean of a run before the scan and one
//                   after it
//   two_pass_walk   the same with two reads per folder, sub-folders then
//                   files (FindFirstFileA, readdir), as the scan once did
//   scan/content/load  the listing's stages, each on its own
//   listing         RunListing as a whole, on a fresh path list
//   second_listing  the same folder listed once more: the tree box then
//                   loads every entry twice, so a linear listing costs about
//                   one listing plus one more content and load
//   plain_scan, progress_scan  the scan without and with the listing's
//                   progress observer (a clock read every 256 entries, the
//                   label's text made every 100 ms), each the best of three
//                   alternating runs; the window's repaint is not included
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <utility>

#include "app/listing_progress_text.hpp"
#include "bare_walk.hpp"
#include "bench_tree_box.hpp"
#include "common/path_list.hpp"
#include "listing/edit_box.hpp"
#include "listing/folder_scan.hpp"
#include "listing/listing_loader.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// What the program's progress does inside the scan, less the window: look at
// the clock every 256 entries and make the label's text every 100 ms.
struct ProgressObserver {
  Clock::time_point last = Clock::now();
  std::size_t texts = 0;
  std::size_t bytes = 0;

  static void Observe(void* self, const korvane::PathList& paths) {
    auto* progress = static_cast<ProgressObserver*>(self);
    const auto now = Clock::now();
    if (now - progress->last < std::chrono::milliseconds(100)) return;
    progress->last = now;
    const korvane::Text text = korvane::ListingProgressText(paths.Count(), paths.At(paths.Count() - 1),
                                                            [](const korvane::Text& t) { return t.size() <= 60; });
    progress->bytes += text.size();
    ++progress->texts;
  }
};

double TimeScan(const korvane::Text& folder, bool observed) {
  korvane::PathList paths;
  ProgressObserver progress;
  if (observed) paths.ObserveAppends(&ProgressObserver::Observe, &progress, 256);
  korvane::Text path = folder;
  const auto start = Clock::now();
  korvane::ScanFolder(path, paths);
  return Since(start);
}

class FixedEditBox final : public korvane::EditBox {
 public:
  explicit FixedEditBox(korvane::Text text) : text_(std::move(text)) {}
  korvane::Text GetText() const override { return text_; }
  void SetText(const korvane::Text& text) override { text_ = text; }

 private:
  korvane::Text text_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bench_listing FOLDER\n");
    return 2;
  }
  const korvane::Text folder = argv[1];

  auto start = Clock::now();
  const korvane::bench::WalkCount bareCount = korvane::bench::BareWalk(folder);
  double bare = Since(start);
  start = Clock::now();
  (void)korvane::bench::TwoPassWalk(folder);
  const double twoPass = Since(start);

  // The stages one by one.
  std::unique_ptr<korvane::TreeBox> stageTree = korvane::bench::MakeBenchTreeBox();
  korvane::PathList stagePaths;
  start = Clock::now();
  korvane::Text path = folder;
  korvane::ScanFolder(path, stagePaths);
  const double scan = Since(start);
  start = Clock::now();
  (void)korvane::bench::BareWalk(folder);  // once more after the scan: the two runs are averaged
  bare = (bare + Since(start)) / 2;
  start = Clock::now();
  const korvane::ByteBuffer content = korvane::BuildListingContent(stagePaths, stagePaths.Count());
  const double build = Since(start);
  start = Clock::now();
  stageTree->WriteContent(content);
  const double load = Since(start);
  std::size_t pathBytes = 0;
  for (std::size_t i = 0; i < stagePaths.Count(); ++i) pathBytes += stagePaths.At(i).size();

  // The whole listing, then the same folder again.
  std::unique_ptr<korvane::TreeBox> tree = korvane::bench::MakeBenchTreeBox();
  korvane::PathList paths;
  FixedEditBox edit(folder);
  start = Clock::now();
  korvane::RunListing(edit, *tree, paths);
  const double listing = Since(start);
  start = Clock::now();
  korvane::RunListing(edit, *tree, paths);
  const double second = Since(start);

  // The progress's cost: alternating runs, the best of each.
  double plainScan = 1e30;
  double progressScan = 1e30;
  for (int round = 0; round < 3; ++round) {
    plainScan = std::min(plainScan, TimeScan(folder, false));
    progressScan = std::min(progressScan, TimeScan(folder, true));
  }

  std::printf(
      "entries=%zu bare_walk=%.6f two_pass_walk=%.6f scan=%.6f content=%.6f load=%.6f listing=%.6f "
      "second_listing=%.6f content_bytes=%zu path_bytes=%zu plain_scan=%.6f progress_scan=%.6f\n",
      stagePaths.Count(), bare, twoPass, scan, build, load, listing, second, content.size(), pathBytes, plainScan,
      progressScan);
  // A listing that lost entries is no figure at all. The bare walk enters no
  // link, so where links lead to folders the scan lists more.
  const bool whole = korvane::bench::ScanIsWhole(bareCount, stagePaths.Count()) &&
                     tree->ItemCount() == static_cast<int>(paths.Count()) && paths.Count() == 2 * stagePaths.Count() &&
                     stageTree->ItemCount() == static_cast<int>(stagePaths.Count());
  if (!whole) std::fprintf(stderr, "bench_listing: the entry counts disagree (bare walk %zu)\n", bareCount.entries);
  return whole ? 0 : 1;
}
