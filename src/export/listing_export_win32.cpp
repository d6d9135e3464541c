#include "export/listing_export_win32.hpp"

namespace korvane {

void OnExportClicked(const TreeBox&) {}

void SetExportMessageBox(ExportMessageBoxFn) noexcept {}

}  // namespace korvane
