#pragma once
// The Scintilla messages and values the editor wrapper sends. Their numbers
// are Scintilla's stable interface, the same for every build of the
// control; each window's adapter checks the whole list against its own
// Scintilla headers at compile time:
//   #define CHECK(ours, theirs) static_assert(sci::ours == theirs);
//   VANTREL_SCI_MESSAGES(CHECK)
#include <cstdint>

#define VANTREL_SCI_MESSAGES(X)                                        \
  X(kAddText, SCI_ADDTEXT, 2001)                                       \
  X(kAllocate, SCI_ALLOCATE, 2446)                                     \
  X(kGetStyleAt, SCI_GETSTYLEAT, 2010)                                 \
  X(kGetEndStyled, SCI_GETENDSTYLED, 2028)                             \
  X(kStartStyling, SCI_STARTSTYLING, 2032)                             \
  X(kGetFirstVisibleLine, SCI_GETFIRSTVISIBLELINE, 2152)               \
  X(kDocLineFromVisible, SCI_DOCLINEFROMVISIBLE, 2221)                 \
  X(kLinesOnScreen, SCI_LINESONSCREEN, 2370)                           \
  X(kColourise, SCI_COLOURISE, 4003)                                   \
  X(kGetCurrentPos, SCI_GETCURRENTPOS, 2008)                           \
  X(kGotoLine, SCI_GOTOLINE, 2024)                                     \
  X(kMarkerDefine, SCI_MARKERDEFINE, 2040)                             \
  X(kMarkerSetFore, SCI_MARKERSETFORE, 2041)                           \
  X(kMarkerSetBack, SCI_MARKERSETBACK, 2042)                           \
  X(kMarkerAdd, SCI_MARKERADD, 2043)                                   \
  X(kMarkerDeleteAll, SCI_MARKERDELETEALL, 2045)                       \
  X(kMarkerNext, SCI_MARKERNEXT, 2047)                                 \
  X(kGetLineEndPosition, SCI_GETLINEENDPOSITION, 2136)                 \
  X(kGetLineCount, SCI_GETLINECOUNT, 2154)                             \
  X(kLineFromPosition, SCI_LINEFROMPOSITION, 2166)                     \
  X(kPositionFromLine, SCI_POSITIONFROMLINE, 2167)                     \
  X(kGetFoldLevel, SCI_GETFOLDLEVEL, 2223)                             \
  X(kGetFoldParent, SCI_GETFOLDPARENT, 2225)                           \
  X(kGetLineVisible, SCI_GETLINEVISIBLE, 2228)                         \
  X(kGetFoldExpanded, SCI_GETFOLDEXPANDED, 2230)                       \
  X(kSetFoldFlags, SCI_SETFOLDFLAGS, 2233)                             \
  X(kEnsureVisibleEnforcePolicy, SCI_ENSUREVISIBLEENFORCEPOLICY, 2234) \
  X(kFoldLine, SCI_FOLDLINE, 2237)                                     \
  X(kSetMarginTypeN, SCI_SETMARGINTYPEN, 2240)                         \
  X(kSetMarginWidthN, SCI_SETMARGINWIDTHN, 2242)                       \
  X(kGetMarginWidthN, SCI_GETMARGINWIDTHN, 2243)                       \
  X(kSetMarginMaskN, SCI_SETMARGINMASKN, 2244)                         \
  X(kSetMarginSensitiveN, SCI_SETMARGINSENSITIVEN, 2246)               \
  X(kTextWidth, SCI_TEXTWIDTH, 2276)                                   \
  X(kFoldAll, SCI_FOLDALL, 2662)                                       \
  X(kSetAutomaticFold, SCI_SETAUTOMATICFOLD, 2663)                     \
  X(kPositionRelative, SCI_POSITIONRELATIVE, 2670)                     \
  X(kSetIdleStyling, SCI_SETIDLESTYLING, 2692)                         \
  X(kSetProperty, SCI_SETPROPERTY, 4004)                               \
  X(kClearAll, SCI_CLEARALL, 2004)                                     \
  X(kGetLength, SCI_GETLENGTH, 2006)                                   \
  X(kRedo, SCI_REDO, 2011)                                             \
  X(kSetUndoCollection, SCI_SETUNDOCOLLECTION, 2012)                   \
  X(kSetSavePoint, SCI_SETSAVEPOINT, 2014)                             \
  X(kCanRedo, SCI_CANREDO, 2016)                                       \
  X(kGotoPos, SCI_GOTOPOS, 2025)                                       \
  X(kSetEolMode, SCI_SETEOLMODE, 2031)                                 \
  X(kSetCodePage, SCI_SETCODEPAGE, 2037)                               \
  X(kSetWordChars, SCI_SETWORDCHARS, 2077)                             \
  X(kBeginUndoAction, SCI_BEGINUNDOACTION, 2078)                       \
  X(kEndUndoAction, SCI_ENDUNDOACTION, 2079)                           \
  X(kGetReadOnly, SCI_GETREADONLY, 2140)                               \
  X(kGetSelectionStart, SCI_GETSELECTIONSTART, 2143)                   \
  X(kGetSelectionEnd, SCI_GETSELECTIONEND, 2145)                       \
  X(kGetModify, SCI_GETMODIFY, 2159)                                   \
  X(kSetSel, SCI_SETSEL, 2160)                                         \
  X(kHideSelection, SCI_HIDESELECTION, 2163)                           \
  X(kSetReadOnly, SCI_SETREADONLY, 2171)                               \
  X(kCanUndo, SCI_CANUNDO, 2174)                                       \
  X(kEmptyUndoBuffer, SCI_EMPTYUNDOBUFFER, 2175)                       \
  X(kUndo, SCI_UNDO, 2176)                                             \
  X(kReplaceTarget, SCI_REPLACETARGET, 2194)                           \
  X(kSetWrapMode, SCI_SETWRAPMODE, 2268)                               \
  X(kSetViewEol, SCI_SETVIEWEOL, 2356)                                 \
  X(kSetModEventMask, SCI_SETMODEVENTMASK, 2359)                       \
  X(kGetModEventMask, SCI_GETMODEVENTMASK, 2378)                       \
  X(kGetCharacterPointer, SCI_GETCHARACTERPOINTER, 2520)               \
  X(kScrollRange, SCI_SCROLLRANGE, 2569)                               \
  X(kSetTargetRange, SCI_SETTARGETRANGE, 2686)                         \
  X(kSetDocPointer, SCI_SETDOCPOINTER, 2358)                           \
  X(kCreateDocument, SCI_CREATEDOCUMENT, 2375)                         \
  X(kReleaseDocument, SCI_RELEASEDOCUMENT, 2377)                       \
  X(kGetRangePointer, SCI_GETRANGEPOINTER, 2643)                       \
  X(kIndicSetStyle, SCI_INDICSETSTYLE, 2080)                           \
  X(kIndicSetFore, SCI_INDICSETFORE, 2082)                             \
  X(kSetIndicatorCurrent, SCI_SETINDICATORCURRENT, 2500)               \
  X(kIndicatorFillRange, SCI_INDICATORFILLRANGE, 2504)                 \
  X(kIndicatorClearRange, SCI_INDICATORCLEARRANGE, 2505)               \
  X(kIndicatorValueAt, SCI_INDICATORVALUEAT, 2507)                     \
  X(kSetFoldLevel, SCI_SETFOLDLEVEL, 2222)                             \
  X(kToggleFold, SCI_TOGGLEFOLD, 2231)

namespace vantrel::platform::sci {

#define VANTREL_SCI_CONSTANT(ours, theirs, number) inline constexpr unsigned ours = number;
VANTREL_SCI_MESSAGES(VANTREL_SCI_CONSTANT)
#undef VANTREL_SCI_CONSTANT

// Room for a number of lines in the line index. Scintilla 5 (the Win32
// control) takes it; the older Scintilla under Debian's QScintilla does not
// know the message and ignores it, so it is outside the checked list.
inline constexpr unsigned kAllocateLines = 2089;

inline constexpr int kEolCrLf = 0;
inline constexpr int kWrapNone = 0;
inline constexpr int kCodePageUtf8 = 65001;
inline constexpr int kMarginNumber = 1;
inline constexpr int kMarginSymbol = 0;
inline constexpr int kStyleLineNumber = 33;
inline constexpr std::intptr_t kMaskFolders = static_cast<std::intptr_t>(0xFE000000u);
inline constexpr int kFoldLevelHeaderFlag = 0x2000;
inline constexpr int kFoldActionContract = 0;
inline constexpr int kFoldActionExpand = 1;
inline constexpr int kFoldFlagLineAfterContracted = 0x10;
inline constexpr int kAutomaticFoldShowClickChange = 0x1 | 0x2 | 0x4;
inline constexpr int kAutomaticFoldShowChange = 0x1 | 0x4;
inline constexpr int kAutomaticFoldShow = 0x1;
inline constexpr int kModChangeFold = 0x8;
inline constexpr int kIdleStylingNone = 0;
inline constexpr int kIdleStylingAll = 3;
inline constexpr int kDocumentOptionStylesNone = 0x1;
inline constexpr int kIndicTextFore = 17;
inline constexpr int kMarkBackground = 22;
inline constexpr int kMarkVLine = 9, kMarkLCorner = 10, kMarkTCorner = 11, kMarkBoxPlus = 12,
                     kMarkBoxPlusConnected = 13, kMarkBoxMinus = 14, kMarkBoxMinusConnected = 15;
inline constexpr int kMarkNumFolderEnd = 25, kMarkNumFolderOpenMid = 26, kMarkNumFolderMidTail = 27,
                     kMarkNumFolderTail = 28, kMarkNumFolderSub = 29, kMarkNumFolder = 30,
                     kMarkNumFolderOpen = 31;

}  // namespace vantrel::platform::sci
