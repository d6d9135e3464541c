#include "drop/os_facts.hpp"

namespace korvane {

std::string_view RegistryValuePath(OsRegistryValue value) noexcept {
  switch (value) {
    case OsRegistryValue::ProductName:
      return "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProductName";
    case OsRegistryValue::CSDVersion:
      return "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\CSDVersion";
    case OsRegistryValue::CurrentBuild:
      return "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\CurrentBuild";
  }
  return {};
}

bool PlainOsFactSource::ReadVersion(OsVersionFacts& facts) {
  if (!facts_.VersionReadable) return false;
  facts = facts_.Version;
  return true;
}

Text PlainOsFactSource::RegistryText(OsRegistryValue value) {
  switch (value) {
    case OsRegistryValue::ProductName:
      return facts_.ProductName;
    case OsRegistryValue::CSDVersion:
      return facts_.CSDVersion;
    case OsRegistryValue::CurrentBuild:
      return facts_.CurrentBuild;
  }
  return {};
}

}  // namespace korvane
