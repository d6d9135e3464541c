#include "export/special_folder_win32.hpp"

namespace korvane {

Text GetSpecialFolderPath(std::int32_t kind, std::optional<std::int32_t> folderId) {
  return WideToText(GetSpecialFolderPathWide(kind, folderId), kExportCodePage);
}

ByteBuffer GetSpecialFolderPathWide(std::int32_t, std::optional<std::int32_t>) { return ByteBuffer(); }

Text WideToText(const ByteBuffer&, std::uint32_t) { return Text(); }

}  // namespace korvane
