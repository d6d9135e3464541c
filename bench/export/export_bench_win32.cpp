#include <windows.h>

#include "common/unique_handles_win32.hpp"
#include "export/replace_file_win32.hpp"
#include "export_bench_platform.hpp"
#include "support/windowed_tree_box_win32.hpp"

namespace korvane::bench {

std::unique_ptr<TreeBox> MakeBenchTree() { return std::make_unique<WindowedTreeBox>("export bench"); }
const char* BenchTreeName() { return "TreeView box"; }

bool WriteInOnePiece(const std::string& name, std::string_view bytes) {
  UniqueFileHandle file(
      CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool HasProgramWrite() { return true; }
bool WriteAsTheProgramDoes(const std::string& name, std::string_view bytes) { return ReplaceFileContent(name, bytes); }

}  // namespace korvane::bench
