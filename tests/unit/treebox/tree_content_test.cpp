#include "treebox/tree_content.hpp"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

TEST(TreeItemRecord, FieldsBackToBackLittleEndianWithoutAlignment) {
  ByteBuffer content;
  TreeItemRecord record;
  record.ItemText = "ab";
  record.Image = 1;
  record.SelectedImage = -2;
  record.ItemData = 0x01020304;
  record.Flags = static_cast<std::int32_t>(0xA0000003u);
  record.IndentLevel = 7;
  AppendRecord(content, record);
  const ByteBuffer expected = {'a',  'b',  0,    0x01, 0,    0,    0,    0xFE, 0xFF, 0xFF, 0xFF, 0x04,
                               0x03, 0x02, 0x01, 0x03, 0x00, 0x00, 0xA0, 0x07, 0x00, 0x00, 0x00};
  EXPECT_EQ(content, expected);
}

TEST(TreeItemRecord, ReadsBackEveryField) {
  ByteBuffer content;
  AppendRecord(content, {"", 0, 0, 0, 0, 1});
  AppendRecord(content, {"\xB9\x5C-name", -7, 8, -9, kFlagExpanded | kFlagBold | (5 << kStateImageShift), -3});
  TreeContentReader reader(content);
  TreeItemRecord record;
  ASSERT_TRUE(reader.Next(record));
  EXPECT_EQ(record.ItemText, "");
  EXPECT_EQ(record.IndentLevel, 1);
  ASSERT_TRUE(reader.Next(record));
  EXPECT_EQ(record.ItemText, "\xB9\x5C-name");
  EXPECT_EQ(record.Image, -7);
  EXPECT_EQ(record.SelectedImage, 8);
  EXPECT_EQ(record.ItemData, -9);
  EXPECT_TRUE(IsExpanded(record.Flags));
  EXPECT_TRUE(IsBold(record.Flags));
  EXPECT_EQ(StateImage(record.Flags), 5);
  EXPECT_EQ(record.IndentLevel, -3);
  EXPECT_FALSE(reader.Next(record));
  EXPECT_FALSE(reader.Damaged());
}

// Every cut of a two-record content: the first record is read only when it is
// whole, and the reader reports the cut without reading past the end (the
// cut copy is exactly as long as the cut, so ASan would see any overrun).
TEST(TreeContentReader, EveryCutStopsAtTheDamagedRecord) {
  ByteBuffer whole;
  AppendRecord(whole, {"first", 1, 2, 3, 4, 5});
  const std::size_t firstSize = whole.size();
  AppendRecord(whole, {"second", 6, 7, 8, 9, 10});
  for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
    const ByteBuffer content(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
    TreeContentReader reader(content);
    TreeItemRecord record;
    std::size_t read = 0;
    while (reader.Next(record)) ++read;
    const std::size_t expected = cut == whole.size() ? 2 : cut >= firstSize ? 1 : 0;
    EXPECT_EQ(read, expected) << "cut at " << cut;
    EXPECT_EQ(reader.Damaged(), cut != 0 && cut != firstSize && cut != whole.size()) << "cut at " << cut;
  }
}

}  // namespace
}  // namespace korvane
