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
void Collect(const Text& path) { g_received.push_back(path); }

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
  std::vector<std::wstring> paths;  // for an ANSI block each unit is one byte
};

// The block as the shell lays it out: header, gap, the zero-terminated paths
// and one more zero.
HDROP Build(const Block& block) {
  const std::size_t unit = block.wide ? sizeof(wchar_t) : 1;
  std::size_t size = sizeof(DROPFILES) + block.gap + unit;
  for (const std::wstring& path : block.paths) size += (path.size() + 1) * unit;
  const HGLOBAL memory = GlobalAlloc(GHND, size);
  if (memory == nullptr) return nullptr;
  auto* bytes = static_cast<std::uint8_t*>(GlobalLock(memory));
  auto* header = reinterpret_cast<DROPFILES*>(bytes);
  header->pFiles = static_cast<DWORD>(sizeof(DROPFILES) + block.gap);
  header->fWide = block.wide;
  std::memset(bytes + sizeof(DROPFILES), 'G', block.gap);
  std::uint8_t* out = bytes + header->pFiles;
  for (const std::wstring& path : block.paths) {
    for (const wchar_t u : path) {
      if (block.wide) {
        std::memcpy(out, &u, sizeof u);
      } else {
        *out = static_cast<std::uint8_t>(u);
      }
      out += unit;
    }
    out += unit;  // the terminator, zero from GHND
  }
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

std::vector<std::string> PlainReading(const Block& block) {
  std::vector<std::string> paths;
  for (const std::wstring& path : block.paths) {
    if (path.empty()) break;  // two zeros in a row end the list
    if (block.wide) {
      paths.push_back(Ansi(path));
    } else {
      std::string bytes;
      for (const wchar_t u : path) bytes += static_cast<char>(u);
      paths.push_back(bytes);
    }
  }
  return paths;
}

Block RandomBlock(std::mt19937& random) {
  auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  Block block;
  block.wide = pick(0, 1) == 1;
  block.gap = static_cast<std::size_t>(pick(0, 3) == 0 ? pick(0, 64) : 0);
  const int count = pick(0, 5);
  for (int p = 0; p < count; ++p) {
    // Mostly ordinary lengths, sometimes far past what a path may hold, seldom empty.
    const int length = pick(0, 4) == 0 ? pick(0, 3000) : pick(1, 120);
    std::wstring path;
    for (int i = 0; i < length; ++i) {
      int u = 0;
      if (block.wide) {
        u = pick(0, 2) == 0 ? pick(0x4E00, 0x9FA5) : (pick(0, 9) == 0 ? pick(1, 0xFFFF) : pick(0x20, 0x7E));
      } else {
        u = pick(0, 2) == 0 ? pick(0x80, 0xFF) : pick(1, 0x7F);
      }
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
    ASSERT_EQ(g_received.size(), expected.size()) << "round " << round << (block.wide ? ", wide" : ", ANSI");
    for (std::size_t i = 0; i < expected.size(); ++i) {
      ASSERT_EQ(g_received[i], expected[i]) << "round " << round << ", path " << i << " of " << expected[i].size()
                                            << " bytes" << (block.wide ? ", wide" : ", ANSI");
    }
  }
}

}  // namespace
}  // namespace korvane
