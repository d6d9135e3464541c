#include <cstdio>

#include "export_bench_platform.hpp"
#include "treebox/tree_model.hpp"

namespace korvane::bench {

std::unique_ptr<TreeBox> MakeBenchTree() { return std::make_unique<TreeModel>(); }
const char* BenchTreeName() { return "in-memory tree"; }

bool WriteInOnePiece(const std::string& name, std::string_view bytes) {
  std::FILE* file = std::fopen(name.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

bool HasProgramWrite() { return false; }
bool WriteAsTheProgramDoes(const std::string&, std::string_view) { return false; }

}  // namespace korvane::bench
