#pragma once
#include <cstddef>
#include <string_view>

// Fold levels from the layout of the text, for documents too large for the
// XML lexer: the converter writes each element's children one step deeper
// than the element's start and end tags, so a line's indentation is its
// depth. A line is a fold header when the next line that is not blank is
// indented deeper; an end tag at the depth of its start tag belongs to the
// element's fold, and a blank line stays with the line above it. The levels
// are Scintilla's: a number from kFoldBase, with header and white flags.
namespace vantrel::platform {

inline constexpr int kFoldBase = 0x400;
inline constexpr int kFoldWhiteFlag = 0x1000;
inline constexpr int kFoldHeaderFlag = 0x2000;
inline constexpr int kFoldNumberMask = 0x0FFF;
// How far ahead the next line that is not blank is looked for: a header
// followed by more blank lines than this folds nothing. A change of the
// text changes the levels of at most this many lines above it.
inline constexpr int kFoldLookAhead = 256;

struct LineLayout {
  int indent = 0;  // columns; a tab reaches the next multiple of 4
  bool blank = true;
  bool closes = false;  // starts with an end tag
};

// The layout of one line, given without or with its line end.
LineLayout lineLayout(std::string_view line);

// Reads levels off a text held elsewhere (the editor's own buffer), a line
// at a time, from the offset of a line's start.
class IndentFolds {
 public:
  explicit IndentFolds(std::string_view text) : text_(text) {}

  // Offset of the start of the line after the one at offset (the text's
  // size after the last line).
  std::size_t nextLine(std::size_t offset) const;
  LineLayout layoutAt(std::size_t offset) const;
  // The level of the line at offset, whose line above has the level above
  // (kFoldBase for the first line).
  int levelAt(std::size_t offset, int above) const;

 private:
  std::string_view text_;
};

inline int foldNumber(int level) { return level & kFoldNumberMask; }

}  // namespace vantrel::platform
