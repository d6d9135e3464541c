// The drop hook over many random DROPFILES blocks, ANSI and wide, with random
// offsets of the path list and random path lengths (up to well past 999
// bytes): the paths handed to the callback must be the block's paths read
// plainly, in order, up to the empty one that ends the list, the wide ones
// in the ANSI code page.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "drop/file_drop_hook_win32.hpp"

namespace korvane {
namespace {

std::vector<std::string> g_received;
void Collect(void* /*context*/, const Text& path, std::wstring_view /*widePath*/) { g_received.push_back(path); }

std::string Ansi(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), length, &bytes[0], size, nullptr, nullptr);
  return bytes;
}

struct Block {
  bool wide = false;
  std::size_t gap = 0;              // bytes between the header and the path list
  std::vector<std::wstring> paths;  // an ANSI block holds them in the ANSI code page
};

// The block as the shell lays it out: header, gap, the zero-terminated paths
// (wide, or in the ANSI code page) and one more zero.
HDROP Build(const Block& block) {
  std::string list;  // the paths, their terminators and the one ending the list
  for (const std::wstring& path : block.paths) {
    if (block.wide) {
      list.append(reinterpret_cast<const char*>(path.c_str()), (path.size() + 1) * sizeof(wchar_t));
    } else {
      list += Ansi(path);
      list += '\0';
    }
  }
  list.append(block.wide ? sizeof(wchar_t) : 1, '\0');
  const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + block.gap + list.size());
  if (memory == nullptr) return nullptr;
  auto* bytes = static_cast<char*>(GlobalLock(memory));
  auto* header = reinterpret_cast<DROPFILES*>(bytes);
  header->pFiles = static_cast<DWORD>(sizeof(DROPFILES) + block.gap);
  header->fWide = block.wide;
  std::memset(bytes + sizeof(DROPFILES), 'G', block.gap);
  std::memcpy(bytes + header->pFiles, list.data(), list.size());
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

std::string Describe(const Block& block) {
  std::string text = block.wide ? "wide" : "ANSI";
  text += " block, gap " + std::to_string(block.gap) + ", path lengths";
  for (const std::wstring& path : block.paths) text += " " + std::to_string(path.size());
  return text;
}

std::vector<std::string> PlainReading(const Block& block) {
  std::vector<std::string> paths;
  for (const std::wstring& path : block.paths) {
    if (path.empty()) break;  // two zeros in a row end the list
    paths.push_back(Ansi(path));
  }
  return paths;
}

Block RandomBlock(std::mt19937& random) {
  auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  Block block;
  block.wide = pick(0, 1) == 1;
  block.gap = static_cast<std::size_t>(pick(0, 3) == 0 ? pick(0, 64) : 0);
  // A shell drops at least one path. (Wine reads past a block that holds
  // none: it counts one path there, not the none that Windows counts.)
  const int count = pick(1, 5);
  for (int p = 0; p < count; ++p) {
    // Mostly ordinary lengths, sometimes far past what a path may hold; after
    // the first, seldom empty, which ends the list early.
    const int length = pick(0, 4) == 0 ? pick(p == 0 ? 1 : 0, 3000) : pick(1, 120);
    std::wstring path;
    for (int i = 0; i < length; ++i) {
      // Chinese and ASCII, as names are; a wide block also any unit at all.
      int u = pick(0, 2) == 0 ? pick(0x4E00, 0x9FA5) : pick(0x20, 0x7E);
      if (block.wide && pick(0, 9) == 0) u = pick(1, 0xFFFF);
      path += static_cast<wchar_t>(u);
    }
    block.paths.push_back(path);
  }
  return block;
}

TEST(DropBlockProperty, EveryPathOfARandomBlockArrivesWholeAndInOrder) {
  std::mt19937 random(20261211);
  for (int round = 0; round < 1500; ++round) {
    const Block block = RandomBlock(random);
    FileDropHook* hook = CreateFileDropHook();
    hook->Callback = &Collect;
    g_received.clear();
    const HDROP drop = Build(block);
    ASSERT_NE(drop, nullptr);
    hook->HookProc(&hook, nullptr, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    delete hook;
    const std::vector<std::string> expected = PlainReading(block);
    ASSERT_EQ(g_received.size(), expected.size()) << "round " << round << ", " << Describe(block);
    for (std::size_t i = 0; i < expected.size(); ++i) {
      ASSERT_EQ(g_received[i], expected[i])
          << "round " << round << ", path " << i << " of " << expected[i].size() << " bytes, " << Describe(block);
    }
  }
}

}  // namespace
}  // namespace korvane
