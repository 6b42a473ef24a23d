// Colours and fold levels read off single lines, as a large document gets
// them for the lines in view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/editor/IndentFolds.h"
#include "platform/editor/XmlLineColours.h"

using namespace vantrel::platform;

namespace {

// The line with each coloured run replaced by its colour's letter.
std::string colourMap(std::string_view line, XmlContext& context) {
  static constexpr char kLetters[] = "tavcedx";
  std::vector<XmlColourRun> runs;
  context = colourXmlLine(line, context, runs);
  std::string map(line.size(), '.');
  for (const XmlColourRun& run : runs)
    for (std::size_t i = run.start; i < run.start + run.length; ++i)
      map[i] = kLetters[static_cast<int>(run.colour)];
  return map;
}

TEST(XmlLineColours, TagsAttributesValuesAndWhatIsLeftOpenAtTheLineEnd) {
  XmlContext context = XmlContext::Text;
  EXPECT_EQ(colourMap(R"(<?xml version="1.0"?>)", context), "ddddddddddddddddddddd");
  EXPECT_EQ(context, XmlContext::Text);
  EXPECT_EQ(colourMap(R"(	<Name d:type="s">A &amp; B</Name>)", context),
            ".ttttt.aaaaaa.vvvt..eeeee..ttttttt");
  EXPECT_EQ(colourMap(R"(<e a='x'/>)", context), "tt.a.vvvtt");
  EXPECT_EQ(context, XmlContext::Text);

  // A tag, a value and a comment that go on past the line's end.
  EXPECT_EQ(colourMap(R"(<a b="one)", context), "tt.a.vvvv");
  EXPECT_EQ(context, XmlContext::DoubleQuoted);
  EXPECT_EQ(colourMap(R"(two" c)", context), "vvvv.a");
  EXPECT_EQ(context, XmlContext::Tag);
  EXPECT_EQ(colourMap(R"(>x<!-- note)", context), "t.ccccccccc");
  EXPECT_EQ(context, XmlContext::Comment);
  EXPECT_EQ(colourMap(R"(<b> --><![CDATA[<]]>)", context), "cccccccxxxxxxxxxxxxx");
  EXPECT_EQ(context, XmlContext::Text);
  // A stray '&' far from any ';' colours only itself.
  EXPECT_EQ(colourMap("a & b" + std::string(40, ' ') + ";", context).substr(0, 5), "..e..");
}

// Levels of the converter's layout: each element's children one tab in.
TEST(IndentFolds, HeadersEndTagsAndBlankLinesFollowTheIndentation) {
  const std::string text =
      "<a>\r\n"         // 0 header at depth 0
      "\t<b>\r\n"       // 1 header at 4
      "\t\t<c/>\r\n"    // 2 at 8
      "\r\n"            // 3 blank: stays with the line above
      "\t</b>\r\n"      // 4 end tag: inside <b>'s fold
      "\t<d>x</d>\r\n"  // 5 not a header
      "\t<e>\r\n"       // 6 header past two blank lines
      "  \r\n"
      "\r\n"
      "\t    <f/>\r\n"  // 9 a tab and four spaces: two steps in
      "</a>";           // 10 the last line, no line end
  const IndentFolds folds(text);
  std::vector<int> levels;
  int above = kFoldBase;
  for (std::size_t offset = 0; offset < text.size(); offset = folds.nextLine(offset)) {
    above = folds.levelAt(offset, above);
    levels.push_back(above);
  }
  const int b = kFoldBase;
  const std::vector<int> expected = {
      b | kFoldHeaderFlag,
      (b + 4) | kFoldHeaderFlag,
      b + 8,
      (b + 8) | kFoldWhiteFlag,
      b + 5,
      b + 4,
      (b + 4) | kFoldHeaderFlag,
      (b + 5) | kFoldWhiteFlag,
      (b + 5) | kFoldWhiteFlag,
      b + 8,
      b + 1,
  };
  EXPECT_EQ(levels, expected);

  EXPECT_TRUE(lineLayout("").blank);
  EXPECT_TRUE(lineLayout(" \t\r\n").blank);
  EXPECT_EQ(lineLayout("  \t<x>").indent, 4);
  EXPECT_EQ(lineLayout("\t\t</x>").indent, 8);
  EXPECT_TRUE(lineLayout("\t\t</x>").closes);
  // A line indented deeper than levels go is kept at the deepest level.
  EXPECT_LE(lineLayout(std::string(10000, '\t') + "<x>").indent + kFoldBase + 1, kFoldNumberMask);
}

}  // namespace
