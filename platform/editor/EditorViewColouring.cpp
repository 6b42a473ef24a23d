// Documents coloured a view at a time: held without style bytes, coloured
// by text-colour indicators over the lines in view, folded by indentation.
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/editor/Editor.h"
#include "platform/editor/IndentFolds.h"
#include "platform/editor/SciMessages.h"
#include "platform/editor/XmlLineColours.h"

namespace vantrel::platform {

namespace {

// One indicator per colour, from Scintilla's first indicator for the
// program's own use.
constexpr int kFirstColourIndicator = 8;
// Colours as 0xBBGGRR, the XML lexer's colours.
constexpr std::intptr_t kIndicatorColours[kXmlColourCount] = {
    0x800000,  // Tag: dark blue
    0x808000,  // Attribute: teal
    0x7F007F,  // Value: purple
    0x007F00,  // Comment: green
    0x800080,  // Entity
    0xFF0000,  // Declaration: blue
    0x004080,  // CData: brown
};
// Lines read past the last one in view, to tell whether it is a fold header.
constexpr long kLinesReadAhead = 8;

std::uintptr_t indicatorNumber(int colour) {
  return static_cast<std::uintptr_t>(kFirstColourIndicator + colour);
}

std::uintptr_t indicatorOf(XmlColour colour) { return indicatorNumber(static_cast<int>(colour)); }

constexpr std::uint64_t kHashStart = 0xcbf29ce484222325ULL;

std::uint64_t hashed(std::uint64_t hash, std::string_view bytes) {
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
  return hash;
}

std::uint64_t hashed(std::uint64_t hash, long number) {
  return hashed(hash, std::string_view(reinterpret_cast<const char*>(&number), sizeof number));
}

std::string_view withoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

}  // namespace

void Editor::setUpViewColours() {
  for (int colour = 0; colour < kXmlColourCount; ++colour) {
    sci(sci::kIndicSetStyle, indicatorNumber(colour), sci::kIndicTextFore);
    sci(sci::kIndicSetFore, indicatorNumber(colour), kIndicatorColours[colour]);
  }
}

void Editor::useDocumentFor(std::size_t size) {
  colouredView_ = 0;
  colouredLines_.clear();
  levelsKnownTo_ = 0;
  const bool byView = size >= viewColouringFrom_;
  if (byView == viewColouring_) return;
  if (byView) {
    const std::intptr_t document = sci(sci::kCreateDocument, 0, sci::kDocumentOptionStylesNone);
    sci(sci::kSetDocPointer, 0, document);
    sci(sci::kReleaseDocument, 0, document);  // the control holds it now
  } else {
    sci(sci::kSetDocPointer, 0, 0);  // a new document with styles
  }
  viewColouring_ = byView;
  // The lexer and the document's settings went with the old document.
  xmlColouring_ = false;
  applyDocumentSettings();
  sci(sci::kSetUndoCollection, 0);
  if (byView) {
    // Nothing styles this document in the background, and a fold click
    // first needs the levels of the clicked element.
    sci(sci::kSetIdleStyling, sci::kIdleStylingNone);
    sci(sci::kSetAutomaticFold, sci::kAutomaticFoldShowChange);
  } else {
    sci(sci::kSetAutomaticFold, sci::kAutomaticFoldShowClickChange);
  }
}

bool Editor::isColoured(long position) const {
  if (!viewColouring_) return styleAt(position) != 0;
  for (int colour = 0; colour < kXmlColourCount; ++colour)
    if (sci(sci::kIndicatorValueAt, indicatorNumber(colour), position) != 0) return true;
  return false;
}

void Editor::markStyled() {
  const long size = length();
  const auto changed = static_cast<long>(sci(sci::kGetEndStyled));
  if (changed < size) {
    const auto line =
        static_cast<long>(sci(sci::kLineFromPosition, static_cast<std::uintptr_t>(changed)));
    levelsKnownTo_ = std::min(levelsKnownTo_, std::max(0L, line - kFoldLookAhead - 1));
  }
  sci(sci::kStartStyling, static_cast<std::uintptr_t>(size), 0);
}

// The lines in view are coloured and given fold levels when what the view
// shows has changed; the colours of lines out of view are dropped, so the
// indicators never hold more than a screen of runs.
void Editor::colourAndFoldView() {
  markStyled();
  const long lines = lineCount();
  const long size = length();
  const auto firstVisible = sci(sci::kGetFirstVisibleLine);
  const auto screen = sci(sci::kLinesOnScreen) + 1;
  // The lines in view as runs of consecutive lines: a folded element
  // between two lines breaks a run.
  std::vector<std::pair<long, long>> runs;
  for (auto visible = firstVisible; visible <= firstVisible + screen; ++visible) {
    const auto line =
        static_cast<long>(sci(sci::kDocLineFromVisible, static_cast<std::uintptr_t>(visible)));
    if (line >= lines || (!runs.empty() && line < runs.back().second)) break;
    if (!runs.empty() && runs.back().second == line)
      ++runs.back().second;
    else
      runs.emplace_back(line, line + 1);
  }
  const auto lineStart = [&](long line) {
    if (line >= lines) return size;
    return static_cast<long>(sci(sci::kPositionFromLine, static_cast<std::uintptr_t>(line)));
  };
  // Each run's text and a few lines after it, read in place: asking for the
  // whole text would move the editing gap, a copy of the text per keystroke.
  struct Piece {
    long firstLine, endLine, start;
    std::string_view text;
  };
  std::vector<Piece> pieces;
  std::uint64_t key = kHashStart;
  for (const auto& [from, to] : runs) {
    const long start = lineStart(from);
    const long end = lineStart(std::min(to + kLinesReadAhead, lines));
    const auto* data = reinterpret_cast<const char*>(
        sci(sci::kGetRangePointer, static_cast<std::uintptr_t>(start), end - start));
    const std::string_view text =
        data != nullptr ? std::string_view(data, static_cast<std::size_t>(end - start))
                        : std::string_view();
    pieces.push_back({from, to, start, text});
    key = hashed(hashed(hashed(key, from), to), text);
  }
  key = hashed(key, size);
  if (key == colouredView_) return;
  colouredView_ = key;

  // Colours outside the view go. A line in view is coloured again only when
  // its text or the context it starts in has changed, or when it has no
  // colours yet, so that a keystroke repaints its own line, not the view.
  long clearedTo = 0;
  const auto clearUpTo = [&](long end) {
    if (end > clearedTo) clearColours(clearedTo, end);
    clearedTo = std::max(clearedTo, end);
  };
  std::vector<std::pair<long, std::uint64_t>> coloured;
  std::vector<XmlColourRun> colours;
  for (const Piece& piece : pieces) {
    clearUpTo(piece.start);
    const IndentFolds folds(piece.text);
    XmlContext context = XmlContext::Text;
    int above = piece.firstLine > 0
                    ? static_cast<int>(
                          sci(sci::kGetFoldLevel, static_cast<std::uintptr_t>(piece.firstLine - 1)))
                    : kFoldBase;
    std::size_t offset = 0;
    for (long line = piece.firstLine; line < piece.endLine; ++line) {
      const std::size_t next = folds.nextLine(offset);
      const std::string_view text = withoutLineEnd(piece.text.substr(offset, next - offset));
      const std::uint64_t lineKey = hashed(hashed(kHashStart, text), static_cast<long>(context));
      colours.clear();
      context = colourXmlLine(text, context, colours);
      const long start = piece.start + static_cast<long>(offset);
      if (!isColouredAlready(line, lineKey, start, colours)) {
        clearColours(start, piece.start + static_cast<long>(next));
        for (const XmlColourRun& run : colours) {
          sci(sci::kSetIndicatorCurrent, indicatorOf(run.colour));
          sci(sci::kIndicatorFillRange, static_cast<std::uintptr_t>(start) + run.start,
              static_cast<std::intptr_t>(run.length));
        }
      }
      coloured.emplace_back(line, lineKey);
      // Scintilla tells of a level only when it changes.
      const int level = folds.levelAt(offset, above);
      sci(sci::kSetFoldLevel, static_cast<std::uintptr_t>(line), level);
      above = level;
      offset = next;
    }
    clearedTo = std::max(clearedTo, piece.start + static_cast<long>(offset));
  }
  clearUpTo(size);
  colouredLines_ = std::move(coloured);
}

void Editor::clearColours(long from, long to) {
  for (int colour = 0; colour < kXmlColourCount; ++colour) {
    sci(sci::kSetIndicatorCurrent, indicatorNumber(colour));
    sci(sci::kIndicatorClearRange, static_cast<std::uintptr_t>(from), to - from);
  }
}

// Colours move with the text they belong to, so a line whose text and
// starting context are what they were when it was last coloured keeps its
// colours, unless it is a line that was out of view then (its colours were
// cleared): the first run tells.
bool Editor::isColouredAlready(long line, std::uint64_t key, long start,
                               const std::vector<XmlColourRun>& colours) const {
  const auto found = std::lower_bound(colouredLines_.begin(), colouredLines_.end(), line,
                                      [](const std::pair<long, std::uint64_t>& entry, long wanted) {
                                        return entry.first < wanted;
                                      });
  if (found == colouredLines_.end() || found->first != line || found->second != key) return false;
  return colours.empty() || sci(sci::kIndicatorValueAt, indicatorOf(colours.front().colour),
                                start + static_cast<long>(colours.front().start)) != 0;
}

void Editor::setIndentLevels(long first, long last, long outsideOf) {
  markStyled();
  // Known levels are not read again; the walk goes on after them.
  int outside = -1;
  if (outsideOf >= 0 && outsideOf < levelsKnownTo_)
    outside = foldNumber(
        static_cast<int>(sci(sci::kGetFoldLevel, static_cast<std::uintptr_t>(outsideOf))));
  const bool extendsKnown = first <= levelsKnownTo_;
  first = std::max(first, levelsKnownTo_);
  if (first >= last) return;
  const std::string_view text = view();
  const IndentFolds folds(text);
  // No notice per changed level, and no automatic fold changes while the
  // levels are written: each new header would walk the lines below it.
  const std::intptr_t events = sci(sci::kGetModEventMask);
  sci(sci::kSetModEventMask, static_cast<std::uintptr_t>(events & ~sci::kModChangeFold));
  sci(sci::kSetAutomaticFold, sci::kAutomaticFoldShow);
  auto offset =
      static_cast<std::size_t>(sci(sci::kPositionFromLine, static_cast<std::uintptr_t>(first)));
  int above =
      first > 0 ? static_cast<int>(sci(sci::kGetFoldLevel, static_cast<std::uintptr_t>(first - 1)))
                : kFoldBase;
  long line = first;
  for (; line < last; ++line) {
    // Scintilla tells of a level only when it changes.
    const int level = folds.levelAt(offset, above);
    sci(sci::kSetFoldLevel, static_cast<std::uintptr_t>(line), level);
    above = level;
    if (line == outsideOf) {
      outside = foldNumber(level);
    } else if (outside >= 0 && (level & kFoldWhiteFlag) == 0 && foldNumber(level) <= outside) {
      ++line;
      break;
    }
    offset = folds.nextLine(offset);
  }
  if (extendsKnown) levelsKnownTo_ = std::max(levelsKnownTo_, line);
  sci(sci::kSetAutomaticFold, sci::kAutomaticFoldShowChange);
  sci(sci::kSetModEventMask, static_cast<std::uintptr_t>(events));
}

// The start line of the element line is in: line itself when it starts an
// element with lines inside, else the nearest line above that is indented
// less (for an end tag: the start tag at its own depth). -1 when none.
long Editor::indentHeaderOf(long line) const {
  const std::string_view text = view();
  const IndentFolds folds(text);
  const auto startOf = [&](long at) {
    return static_cast<std::size_t>(sci(sci::kPositionFromLine, static_cast<std::uintptr_t>(at)));
  };
  while (line > 0 && folds.layoutAt(startOf(line)).blank) --line;
  const LineLayout here = folds.layoutAt(startOf(line));
  if ((folds.levelAt(startOf(line), kFoldBase) & kFoldHeaderFlag) != 0) return line;
  for (long above = line - 1; above >= 0; --above) {
    const LineLayout layout = folds.layoutAt(startOf(above));
    if (layout.blank) continue;
    if (layout.indent < here.indent ||
        (here.closes && layout.indent == here.indent && !layout.closes))
      return above;
  }
  return -1;
}

}  // namespace vantrel::platform
