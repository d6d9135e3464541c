#pragma once
// EditBox: a control whose text is written and read back whole. The listing
// hands the folder path through the main window's edit box.
#include "common/text.hpp"

namespace korvane {

class EditBox {
 public:
  virtual ~EditBox() = default;
  virtual Text GetText() const = 0;
  virtual void SetText(const Text& text) = 0;
};

}  // namespace korvane
