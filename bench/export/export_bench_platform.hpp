#pragma once
// What differs between the native and the Wine build of the export
// benchmark: the tree box under test and how a file is written.
#include <memory>
#include <string>
#include <string_view>

#include "treebox/tree_box.hpp"

namespace korvane::bench {

// The in-memory tree natively; the TreeView box in a window of its own on Windows.
std::unique_ptr<TreeBox> MakeBenchTree();
const char* BenchTreeName();

// The peer: the bytes written in one piece, the way a plain program would
// (fwrite; CreateFileA with CREATE_ALWAYS and one WriteFile). False on failure.
bool WriteInOnePiece(const std::string& name, std::string_view bytes);

// The program's own write of the export file (a temporary file, flushed, then
// moved over the old one); false where the program has none (natively).
bool HasProgramWrite();
bool WriteAsTheProgramDoes(const std::string& name, std::string_view bytes);

}  // namespace korvane::bench
