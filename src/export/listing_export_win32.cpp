#include "export/listing_export_win32.hpp"

#include "export/export_text.hpp"
#include "export/replace_file_win32.hpp"
#include "export/special_folder_win32.hpp"

namespace korvane {
namespace {

constexpr char kExportFileName[] = "目录生成.txt";
constexpr char kCaption[] = "信息：";
constexpr char kSuccessMessage[] = "导出成功！文件在桌面";
constexpr char kFailureMessage[] = "导出失败！无法写入文件：";
// One OK button, no icon; no owner, so task-modal keeps the thread's
// windows from taking input until the box is closed.
constexpr UINT kMessageStyle = MB_OK | MB_TASKMODAL;

ExportMessageBoxFn g_showMessage = nullptr;

}  // namespace

void SetExportMessageBox(ExportMessageBoxFn show) noexcept { g_showMessage = show; }

void OnExportClicked(const TreeBox& tree) {
  const Text content = BuildExportText(tree);
  // An empty desktop path makes the name "\目录生成.txt": the root of the current drive.
  const Text name = EnsureTrailingBackslash(GetSpecialFolderPath(kDesktopFolderKind)) + kExportFileName;
  const bool written = ReplaceFileContent(name, content);
  const Text message = written ? Text(kSuccessMessage) : kFailureMessage + name;
  const ExportMessageBoxFn show = g_showMessage != nullptr ? g_showMessage : &::MessageBoxA;
  show(nullptr, message.c_str(), kCaption, kMessageStyle);
}

}  // namespace korvane
