// The special folder lookup and its conversion over many random answers of
// the shell and random wide buffers, each checked against the conversion
// read plainly: the units before the first zero, one backslash added unless
// the last one is a backslash, converted with an explicit length. The answers
// mix ASCII, backslashes, zeros, Chinese characters, unpaired surrogates and
// lengths up to the whole 260-unit buffer, with or without a terminator.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/declared_functions_win32.hpp"
#include "export/special_folder_win32.hpp"

namespace korvane {
namespace {

std::string Converted(const std::wstring& units) {
  if (units.empty()) return std::string();
  const int length = static_cast<int>(units.size());
  const int size = WideCharToMultiByte(936, 0, units.data(), length, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(936, 0, units.data(), length, &bytes[0], size, nullptr, nullptr);
  return bytes;
}

wchar_t RandomUnit(std::mt19937& random) {
  static const wchar_t kSpecial[] = {L'\\', L'\0', L'/', L':', L'.', 0xD800, 0xDC00, 0xFFFF, 0x00E9, 0x20AC};
  switch (std::uniform_int_distribution<int>(0, 3)(random)) {
    case 0:
      return static_cast<wchar_t>(std::uniform_int_distribution<int>(0x20, 0x7E)(random));
    case 1:
      return static_cast<wchar_t>(std::uniform_int_distribution<int>(0x4E00, 0x9FA5)(random));
    case 2:
      return kSpecial[std::uniform_int_distribution<std::size_t>(0, std::size(kSpecial) - 1)(random)];
    default:
      return static_cast<wchar_t>(std::uniform_int_distribution<int>(1, 0xFFFF)(random));
  }
}

// Mostly a path and its terminator, sometimes a buffer filled to the end.
std::wstring RandomAnswer(std::mt19937& random) {
  const std::size_t length = std::uniform_int_distribution<std::size_t>(0, MAX_PATH)(random);
  std::wstring units;
  for (std::size_t i = 0; i < length; ++i) {
    wchar_t unit = RandomUnit(random);
    if (unit == 0 && std::uniform_int_distribution<int>(0, 3)(random) != 0) unit = L'x';  // few inner zeros
    units += unit;
  }
  if (std::uniform_int_distribution<int>(0, 1)(random) == 0 && length > 0) units.back() = L'\\';
  return units;
}

std::string Printable(const std::wstring& units) {
  std::ostringstream out;
  out << units.size() << " units:";
  for (const wchar_t unit : units) out << ' ' << std::hex << static_cast<unsigned>(unit);
  return out.str();
}

struct ShellAnswer {
  BOOL result = TRUE;
  std::wstring units;  // written into the buffer, at most MAX_PATH of them
};
ShellAnswer g_answer;

BOOL WINAPI AnsweringShell(HWND, LPWSTR path, int, BOOL) {
  std::copy_n(g_answer.units.begin(), std::min<std::size_t>(g_answer.units.size(), MAX_PATH), path);
  return g_answer.result;
}

// The stand-in answers while the object lives, also when a check fails.
struct ShellStandIn {
  ShellStandIn() { declared::SHGetSpecialFolderPathW.Override(&AnsweringShell); }
  ~ShellStandIn() { declared::SHGetSpecialFolderPathW.Override(nullptr); }
};

TEST(SpecialFolderProperty, AnyShellAnswerGivesThePlainConversion) {
  std::mt19937 random(20261211);
  const ShellStandIn standIn;
  for (int round = 0; round < 4000; ++round) {
    g_answer.result = std::uniform_int_distribution<int>(0, 9)(random) != 0;
    g_answer.units = RandomAnswer(random);
    // The plain reading of the buffer (zero-filled past the answer): nothing
    // for a failure, an unterminated buffer or an empty path.
    std::wstring buffer = g_answer.units;
    buffer.resize(MAX_PATH, L'\0');
    const std::size_t zero = buffer.find(L'\0');
    std::string expected;
    if (g_answer.result && zero != std::wstring::npos && zero > 0) {
      std::wstring path = buffer.substr(0, zero);
      if (path.back() != L'\\') path += L'\\';
      expected = Converted(path);
    }
    ASSERT_EQ(GetSpecialFolderPath(kDesktopFolderKind), expected)
        << "shell " << (g_answer.result ? "succeeds" : "fails") << " with " << Printable(g_answer.units);
  }
}

// Any bytes as a wide path, odd lengths and missing terminators included:
// the units (a last odd byte is a unit of its own) up to the first zero one.
TEST(SpecialFolderProperty, AnyWideBufferConvertsUpToItsFirstZeroUnit) {
  std::mt19937 random(1211);
  for (int round = 0; round < 4000; ++round) {
    const std::wstring source = RandomAnswer(random);
    ByteBuffer wide;
    for (const wchar_t unit : source) {
      wide.push_back(static_cast<std::uint8_t>(unit & 0xFF));
      wide.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    if (!wide.empty() && std::uniform_int_distribution<int>(0, 3)(random) == 0) wide.pop_back();
    std::wstring units;
    for (std::size_t i = 0; i < wide.size(); i += 2) {
      const wchar_t unit = static_cast<wchar_t>(wide[i] | (i + 1 < wide.size() ? wide[i + 1] << 8 : 0));
      if (unit == 0) break;
      units += unit;
    }
    ASSERT_EQ(WideToText(wide, 936), Converted(units)) << wide.size() << " bytes from " << Printable(source);
  }
}

}  // namespace
}  // namespace korvane
