#pragma once
// The load rule's cases as one table, shared by the tests of the in-memory
// tree and of the TreeView box: both must load every content to the same tree.
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "common/byte_buffer.hpp"
#include "treebox/tree_content.hpp"

namespace korvane::treebox_cases {

struct InRecord {
  std::string text;
  std::int32_t level;
  std::int32_t flags = 0;
};

struct OutItem {
  std::string text;
  int depth;
  int parent;
};

struct LoadCase {
  const char* name;
  std::vector<InRecord> records;
  std::string tail;  // raw bytes after the records: a damaged record
  std::vector<OutItem> items;
};

inline ByteBuffer BuildContent(const std::vector<InRecord>& records, const std::string& tail = {}) {
  ByteBuffer content;
  for (const InRecord& record : records) {
    TreeItemRecord out;
    out.ItemText = record.text;
    out.Flags = record.flags;
    out.IndentLevel = record.level;
    AppendRecord(content, out);
  }
  AppendBytes(content, tail);
  return content;
}

inline std::vector<LoadCase> LoadRuleCases() {
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  // Five bytes of the fixed fields and no more.
  const std::string cutInFields("E\0\1\0\0\0\2", 7);
  return {
      {"EmptyContent", {}, "", {}},
      {"Levels1_2_3_2_1",
       {{"A", 1}, {"B", 2}, {"C", 3}, {"D", 2}, {"E", 1}},
       "",
       {{"A", 1, -1}, {"B", 2, 0}, {"C", 3, 1}, {"D", 2, 0}, {"E", 1, -1}}},
      {"Levels2_5_3", {{"A", 2}, {"B", 5}, {"C", 3}}, "", {{"A", 1, -1}, {"B", 2, 0}, {"C", 2, 0}}},
      {"Levels3_3_2_3EndAtTheShallowerRecord",
       {{"A", 3}, {"B", 3}, {"C", 2}, {"D", 3}},
       "",
       {{"A", 1, -1}, {"B", 1, -1}}},
      {"TopItemFromLevel4ReportsDepth1", {{"A", 4}}, "", {{"A", 1, -1}}},
      {"DeeperBySeveralLevelsIsStillAChild",
       {{"A", 1}, {"B", 7}, {"C", 7}, {"D", 9}, {"E", 1}},
       "",
       {{"A", 1, -1}, {"B", 2, 0}, {"C", 2, 0}, {"D", 3, 2}, {"E", 1, -1}}},
      {"ListingAppendedToAnEarlierOne",
       {{"b", 3}, {"x.txt", 4}, {"c", 3}, {"1.txt", 3}, {"2.txt", 3}, {"r.txt", 4}},
       "",
       {{"b", 1, -1}, {"x.txt", 2, 0}, {"c", 1, -1}, {"1.txt", 1, -1}, {"2.txt", 1, -1}, {"r.txt", 2, 4}}},
      {"ListingAboveTheFirstIsNotShown", {{"r.txt", 4}, {"b", 3}, {"x.txt", 4}}, "", {{"r.txt", 1, -1}}},
      {"NegativeLevelsAreComparedLikeAnyOther",
       {{"A", -1}, {"B", 0}, {"C", -1}, {"D", -2}},
       "",
       {{"A", 1, -1}, {"B", 2, 0}, {"C", 1, -1}}},
      {"ExtremeLevels", {{"A", kMin}, {"B", kMax}, {"C", kMin}}, "", {{"A", 1, -1}, {"B", 2, 0}, {"C", 1, -1}}},
      {"EmptyTexts", {{"", 1}, {"", 2}}, "", {{"", 1, -1}, {"", 2, 0}}},
      {"DamagedTextWithoutZeroStopsThere", {{"A", 1}, {"B", 2}}, "C-without-end", {{"A", 1, -1}, {"B", 2, 0}}},
      {"DamagedFixedFieldsStopThere",
       {{"A", 1}, {"B", 2}, {"C", 2}},
       cutInFields,
       {{"A", 1, -1}, {"B", 2, 0}, {"C", 2, 0}}},
      {"OnlyAZeroByte", {}, std::string(1, '\0'), {}},
  };
}

}  // namespace korvane::treebox_cases
