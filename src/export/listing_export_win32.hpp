#pragma once
// The export button: the tree's items become "目录生成.txt" on the user's
// desktop, and a task-modal message box tells how it went.
#include <windows.h>

#include "treebox/tree_box.hpp"

namespace korvane {

// Writes the export text of tree to the desktop file, replacing an earlier
// file only once every byte of the new one is written, then shows the
// outcome: "导出成功！文件在桌面", or "导出失败！无法写入文件：" and the file
// name. Returns when the box is closed.
void OnExportClicked(const TreeBox& tree);

// Test seam: the function that shows the export's message box (same
// arguments as MessageBoxA). nullptr restores MessageBoxA.
using ExportMessageBoxFn = int(WINAPI*)(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
void SetExportMessageBox(ExportMessageBoxFn show) noexcept;

}  // namespace korvane
