#pragma once
// The Scintilla messages and values the editor wrapper sends. Their numbers
// are Scintilla's stable interface, the same for every build of the
// control; each window's adapter checks the whole list against its own
// Scintilla headers at compile time:
//   #define CHECK(ours, theirs) static_assert(sci::ours == theirs);
//   VANTREL_SCI_MESSAGES(CHECK)
#define VANTREL_SCI_MESSAGES(X)                          \
  X(kAddText, SCI_ADDTEXT, 2001)                         \
  X(kClearAll, SCI_CLEARALL, 2004)                       \
  X(kGetLength, SCI_GETLENGTH, 2006)                     \
  X(kRedo, SCI_REDO, 2011)                               \
  X(kSetUndoCollection, SCI_SETUNDOCOLLECTION, 2012)     \
  X(kSetSavePoint, SCI_SETSAVEPOINT, 2014)               \
  X(kCanRedo, SCI_CANREDO, 2016)                         \
  X(kGotoPos, SCI_GOTOPOS, 2025)                         \
  X(kSetEolMode, SCI_SETEOLMODE, 2031)                   \
  X(kSetCodePage, SCI_SETCODEPAGE, 2037)                 \
  X(kSetWordChars, SCI_SETWORDCHARS, 2077)               \
  X(kBeginUndoAction, SCI_BEGINUNDOACTION, 2078)         \
  X(kEndUndoAction, SCI_ENDUNDOACTION, 2079)             \
  X(kGetReadOnly, SCI_GETREADONLY, 2140)                 \
  X(kGetSelectionStart, SCI_GETSELECTIONSTART, 2143)     \
  X(kGetSelectionEnd, SCI_GETSELECTIONEND, 2145)         \
  X(kGetModify, SCI_GETMODIFY, 2159)                     \
  X(kSetSel, SCI_SETSEL, 2160)                           \
  X(kHideSelection, SCI_HIDESELECTION, 2163)             \
  X(kSetReadOnly, SCI_SETREADONLY, 2171)                 \
  X(kCanUndo, SCI_CANUNDO, 2174)                         \
  X(kEmptyUndoBuffer, SCI_EMPTYUNDOBUFFER, 2175)         \
  X(kUndo, SCI_UNDO, 2176)                               \
  X(kReplaceTarget, SCI_REPLACETARGET, 2194)             \
  X(kSetWrapMode, SCI_SETWRAPMODE, 2268)                 \
  X(kSetViewEol, SCI_SETVIEWEOL, 2356)                   \
  X(kSetModEventMask, SCI_SETMODEVENTMASK, 2359)         \
  X(kGetModEventMask, SCI_GETMODEVENTMASK, 2378)         \
  X(kGetCharacterPointer, SCI_GETCHARACTERPOINTER, 2520) \
  X(kScrollRange, SCI_SCROLLRANGE, 2569)                 \
  X(kSetTargetRange, SCI_SETTARGETRANGE, 2686)

namespace vantrel::platform::sci {

#define VANTREL_SCI_CONSTANT(ours, theirs, number) inline constexpr unsigned ours = number;
VANTREL_SCI_MESSAGES(VANTREL_SCI_CONSTANT)
#undef VANTREL_SCI_CONSTANT

inline constexpr int kEolCrLf = 0;
inline constexpr int kWrapNone = 0;
inline constexpr int kCodePageUtf8 = 65001;

}  // namespace vantrel::platform::sci
