#pragma once
// EditControl: the EditBox contract on a Win32 edit control.
#include <windows.h>

#include "listing/edit_box.hpp"

namespace korvane {

class EditControl final : public EditBox {
 public:
  explicit EditControl(HWND control) noexcept : control_(control) {}

  HWND Control() const noexcept { return control_; }

  // The whole text, however long.
  Text GetText() const override;
  // Replaces the whole text.
  void SetText(const Text& text) override;

 private:
  HWND control_;
};

}  // namespace korvane
