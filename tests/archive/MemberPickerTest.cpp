#include <gtest/gtest.h>

#include "archive/MemberPicker.h"
#include "archive/SizeText.h"

using vantrel::archive::Member;
using vantrel::archive::MemberPicker;
using vantrel::archive::sizeText;
using Move = MemberPicker::Move;

namespace {

MemberPicker picker() {
  return MemberPicker({{"Audio/Horn.bin", 50, 4},
                       {"Scenery/Trees/Oak.bin", 12600, 0},
                       {"Scenery/Trees/Pine.bin", 3 << 20, 1},
                       {"Scenery/Zäune/Holz.bin", 1, 7},
                       {"Networks/Track.dcsv", 2048, 2}});
}

std::vector<std::string> rows(const MemberPicker& p) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < p.rowCount(); ++i) out.push_back(p.row(i).path);
  return out;
}

}  // namespace

TEST(SizeText, BytesThenOneDecimalInUnitsOf1024) {
  EXPECT_EQ(sizeText(0), "0 bytes");
  EXPECT_EQ(sizeText(1), "1 byte");
  EXPECT_EQ(sizeText(1023), "1023 bytes");
  EXPECT_EQ(sizeText(1024), "1.0 KB");
  EXPECT_EQ(sizeText(12600), "12.3 KB");
  EXPECT_EQ(sizeText(1048575), "1.0 MB");  // not "1024.0 KB"
  EXPECT_EQ(sizeText(std::uint64_t{2} << 30), "2.0 GB");
  EXPECT_EQ(sizeText(std::uint64_t{5} << 40), "5.0 TB");
}

TEST(MemberPicker, FilterNarrowsBySubstringInAnyCase) {
  MemberPicker p = picker();
  EXPECT_EQ(p.rowCount(), 5u);
  EXPECT_EQ(p.row(1).sizeText, "12.3 KB");
  p.setFilter("TREES/");
  EXPECT_EQ(rows(p), (std::vector<std::string>{"Scenery/Trees/Oak.bin", "Scenery/Trees/Pine.bin"}));
  p.setFilter("trees/p");  // typing on narrows further
  EXPECT_EQ(rows(p), std::vector<std::string>{"Scenery/Trees/Pine.bin"});
  p.setFilter("tree");  // deleting widens again
  EXPECT_EQ(p.rowCount(), 2u);
  p.setFilter("ZÄUNE");  // beyond ASCII too
  EXPECT_EQ(rows(p), std::vector<std::string>{"Scenery/Zäune/Holz.bin"});
  p.setFilter(".BIN");
  EXPECT_EQ(p.rowCount(), 4u);
  p.setFilter("nothing like it");
  EXPECT_EQ(p.rowCount(), 0u);
  EXPECT_EQ(p.selectedRow(), std::nullopt);
  EXPECT_EQ(p.selectedMember(), nullptr);
  p.move(Move::Down);  // nothing to move over
  p.setFilter("");
  EXPECT_EQ(p.rowCount(), 5u);
  EXPECT_EQ(p.selectedRow(), 0u);
}

// The selected member stays selected while the filter shows it; otherwise
// the first visible row is selected.
TEST(MemberPicker, SelectionFollowsTheMemberThroughFiltering) {
  MemberPicker p = picker();
  p.select(2);
  EXPECT_EQ(p.selectedMember()->index, 1u);
  p.setFilter("scenery");
  EXPECT_EQ(p.selectedRow(), 1u);  // Pine is now the second row
  EXPECT_EQ(p.selectedMember()->path, "Scenery/Trees/Pine.bin");
  p.setFilter("oak");
  EXPECT_EQ(p.selectedMember()->path, "Scenery/Trees/Oak.bin");
  p.setFilter("");
  EXPECT_EQ(p.selectedMember()->path, "Scenery/Trees/Oak.bin");
  p.select(99);
  EXPECT_EQ(p.selectedRow(), 4u);
}

TEST(MemberPicker, KeysMoveTheSelectionWithinTheRows) {
  MemberPicker p = picker();
  const std::pair<Move, std::size_t> steps[] = {
      {Move::Up, 0},   {Move::Down, 1},     {Move::Down, 2},   {Move::PageDown, 4},
      {Move::Down, 4}, {Move::PageUp, 1},   {Move::PageUp, 0}, {Move::End, 4},
      {Move::Home, 0}, {Move::PageDown, 3},
  };
  for (const auto& [move, row] : steps) {
    p.move(move, 3);
    EXPECT_EQ(p.selectedRow(), row) << static_cast<int>(move);
  }
  p.move(Move::PageDown, 0);  // a list too small to show a row still moves by one
  EXPECT_EQ(p.selectedRow(), 4u);
}
