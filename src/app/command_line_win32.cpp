#include "app/command_line_win32.hpp"

#include <windows.h>
#include <shellapi.h>

#include <memory>

namespace korvane {
namespace {

struct LocalFreeDeleter {
  void operator()(LPWSTR* block) const noexcept { LocalFree(block); }
};

// The ANSI bytes of a wide argument, as a path dropped from the shell comes.
Text ToAnsi(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return Text();
  Text text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.resize(static_cast<std::size_t>(size) - 1);
  return text;
}

}  // namespace

std::vector<DroppedFolder> CommandLineFolders() {
  int count = 0;
  const std::unique_ptr<LPWSTR, LocalFreeDeleter> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<DroppedFolder> folders;
  if (!arguments) return folders;
  // The first argument is the program itself.
  for (int i = 1; i < count; ++i) {
    Text folder = ToAnsi(arguments.get()[i]);
    if (!folder.empty()) folders.push_back({std::move(folder), arguments.get()[i]});
  }
  return folders;
}

}  // namespace korvane
