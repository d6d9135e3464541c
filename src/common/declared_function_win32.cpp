#include "common/declared_function_win32.hpp"

#include <string>

#include "common/fatal_error.hpp"

namespace korvane {

FARPROC DeclaredFunctionBinding::Bind() const noexcept {
  char system[MAX_PATH];
  const UINT length = GetSystemDirectoryA(system, MAX_PATH);
  HMODULE module = nullptr;
  if (length > 0 && length < MAX_PATH) {
    const std::string path = std::string(system, length) + "\\" + dll_;
    module = LoadLibraryA(path.c_str());
  }
  FARPROC address = module != nullptr ? GetProcAddress(module, name_) : nullptr;
  if (address == nullptr) {
    const std::string message = std::string("无法调用 ") + dll_ + " 中的函数 " + name_ + "。";
    FatalError(message.c_str());
  }
  return address;
}

}  // namespace korvane
