#pragma once
// The Scintilla messages and values the editor wrapper sends. Their numbers
// are Scintilla's stable interface, the same for every build of the
// control; each window's adapter checks them against its own Scintilla
// headers at compile time.
namespace vantrel::platform::sci {

inline constexpr unsigned kAddText = 2001;
inline constexpr unsigned kClearAll = 2004;
inline constexpr unsigned kRedo = 2011;
inline constexpr unsigned kGetLength = 2006;
inline constexpr unsigned kSetUndoCollection = 2012;
inline constexpr unsigned kSetSavePoint = 2014;
inline constexpr unsigned kCanRedo = 2016;
inline constexpr unsigned kGotoPos = 2025;
inline constexpr unsigned kSetEolMode = 2031;
inline constexpr unsigned kSetCodePage = 2037;
inline constexpr unsigned kSetWordChars = 2077;
inline constexpr unsigned kBeginUndoAction = 2078;
inline constexpr unsigned kEndUndoAction = 2079;
inline constexpr unsigned kGetReadOnly = 2140;
inline constexpr unsigned kGetSelectionStart = 2143;
inline constexpr unsigned kGetSelectionEnd = 2145;
inline constexpr unsigned kGetLineCount = 2154;
inline constexpr unsigned kGetModify = 2159;
inline constexpr unsigned kSetSel = 2160;
inline constexpr unsigned kHideSelection = 2163;
inline constexpr unsigned kSetReadOnly = 2171;
inline constexpr unsigned kCanUndo = 2174;
inline constexpr unsigned kEmptyUndoBuffer = 2175;
inline constexpr unsigned kUndo = 2176;
inline constexpr unsigned kGetDirectFunction = 2184;
inline constexpr unsigned kGetDirectPointer = 2185;
inline constexpr unsigned kReplaceTarget = 2194;
inline constexpr unsigned kSetWrapMode = 2268;
inline constexpr unsigned kSetViewEol = 2356;
inline constexpr unsigned kSetModEventMask = 2359;
inline constexpr unsigned kGetModEventMask = 2378;
inline constexpr unsigned kPositionBefore = 2417;
inline constexpr unsigned kPositionAfter = 2418;
inline constexpr unsigned kGetCharacterPointer = 2520;
inline constexpr unsigned kScrollRange = 2569;
inline constexpr unsigned kSetTargetRange = 2686;

inline constexpr int kEolCrLf = 0;
inline constexpr int kWrapNone = 0;
inline constexpr int kCodePageUtf8 = 65001;

}  // namespace vantrel::platform::sci
