#include "drop/os_registry_text_win32.hpp"

#include <cstring>

#include "common/unique_handles_win32.hpp"

namespace korvane {
namespace {

using RegistryKey = UniqueRegistryKey;

// The stored bytes up to the first zero: a value need not be terminated.
Text UpToFirstZero(const Text& bytes) { return Text(bytes.c_str(), std::strlen(bytes.c_str())); }

Text ExpandEnvironmentReferences(const Text& text) {
  Text expanded;
  DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  // The environment may change between the calls; try again with the new size.
  for (int attempt = 0; attempt < 3 && size != 0; ++attempt) {
    expanded.assign(size, '\0');
    const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), size);
    if (needed == 0) return {};
    if (needed <= size) return UpToFirstZero(expanded);
    size = needed;
  }
  return {};
}

}  // namespace

Text ReadRegistryText(HKEY root, std::string_view valuePath) {
  const std::size_t cut = valuePath.rfind('\\');
  if (cut == std::string_view::npos) return {};
  const Text keyPath(valuePath.substr(0, cut));
  const Text valueName(valuePath.substr(cut + 1));

  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return {};
  const RegistryKey key(opened);

  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  Text bytes;
  // The value may grow between the calls; then its new size is asked again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
    bytes.assign(std::size_t{size} + 1, '\0');  // room for a terminator the value may lack
    DWORD got = size;
    const LONG status =
        RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &got);
    if (status == ERROR_MORE_DATA) {
      size = got;
      continue;
    }
    if (status != ERROR_SUCCESS) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
    bytes.resize(got);
    const Text text = UpToFirstZero(bytes);
    return type == REG_EXPAND_SZ ? ExpandEnvironmentReferences(text) : text;
  }
  return {};
}

}  // namespace korvane
