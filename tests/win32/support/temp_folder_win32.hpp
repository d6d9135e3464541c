#pragma once
// A temporary folder for tests, made through the ANSI functions so that its
// name may hold Chinese (code page 936).
#include <string>

namespace korvane::testing {

// A folder under the temporary-files folder, named for the test and this
// process, removed with everything in it at the end of the scope. Each step
// that fails is reported as a test failure.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  void AddFolder(const std::string& relative) const;
  void AddFile(const std::string& relative) const;

 private:
  std::string path_;
};

}  // namespace korvane::testing
