#include "ui/win32/ScintillaControl.h"

#include "ILexer.h"
#include "Lexilla.h"
#include "SciLexer.h"
#include "Scintilla.h"
#include "platform/core/WideText.h"
#include "platform/editor/SciMessages.h"
#include "ui/win32/Fonts.h"
#include "ui/win32/Win32Dialogs.h"

namespace vantrel::win32 {

namespace sci = platform::sci;

// The core's message numbers are Scintilla's own.
#define VANTREL_CHECK_SCI(ours, theirs, number) static_assert(sci::ours == theirs);
VANTREL_SCI_MESSAGES(VANTREL_CHECK_SCI)
#undef VANTREL_CHECK_SCI
static_assert(sci::kCodePageUtf8 == SC_CP_UTF8);
static_assert(sci::kAllocateLines == SCI_ALLOCATELINES);

namespace {

constexpr int kEditorFontPoints = 12;

// Colours as 0xBBGGRR.
constexpr COLORREF rgb(int r, int g, int b) { return RGB(r, g, b); }

// The selection looks the same whether the editor has the focus or not, so
// a match found from the find box stays plainly visible. Scintilla takes
// element colours with an alpha byte on top.
constexpr std::intptr_t kSelectionBack = 0xff000000 | rgb(0x00, 0x78, 0xd7);
constexpr std::intptr_t kSelectionText = 0xff000000 | rgb(0xff, 0xff, 0xff);

struct StyleColour {
  int style;
  COLORREF colour;
};
// The XML lexer's styles, in the colours XML editors commonly use.
constexpr StyleColour kXmlColours[] = {
    {SCE_H_TAG, rgb(0x00, 0x00, 0x80)},          {SCE_H_TAGUNKNOWN, rgb(0x00, 0x00, 0x80)},
    {SCE_H_ATTRIBUTE, rgb(0x00, 0x80, 0x80)},    {SCE_H_ATTRIBUTEUNKNOWN, rgb(0x00, 0x80, 0x80)},
    {SCE_H_NUMBER, rgb(0x00, 0x7f, 0x7f)},       {SCE_H_DOUBLESTRING, rgb(0x7f, 0x00, 0x7f)},
    {SCE_H_SINGLESTRING, rgb(0x7f, 0x00, 0x7f)}, {SCE_H_OTHER, rgb(0x80, 0x00, 0x80)},
    {SCE_H_COMMENT, rgb(0x00, 0x7f, 0x00)},      {SCE_H_ENTITY, rgb(0x80, 0x00, 0x80)},
    {SCE_H_TAGEND, rgb(0x00, 0x00, 0x80)},       {SCE_H_XMLSTART, rgb(0x00, 0x00, 0xff)},
    {SCE_H_XMLEND, rgb(0x00, 0x00, 0xff)},       {SCE_H_CDATA, rgb(0x80, 0x40, 0x00)},
    {SCE_H_VALUE, rgb(0x60, 0x80, 0x60)},        {SCE_H_SGML_DEFAULT, rgb(0x00, 0x00, 0x80)},
};

}  // namespace

ScintillaControl::ScintillaControl(HWND parent, int id) {
  hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"Scintilla", L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  platform::ScintillaLink link;
  if (hwnd_ != nullptr) {
    link.function = reinterpret_cast<platform::ScintillaLink::Function>(
        SendMessageW(hwnd_, SCI_GETDIRECTFUNCTION, 0, 0));
    link.pointer = static_cast<std::intptr_t>(SendMessageW(hwnd_, SCI_GETDIRECTPOINTER, 0, 0));
  }
  if (link.function == nullptr) {
    // Without its class nothing else can work; say so where it is visible.
    MessageBoxW(parent, L"The editor control could not be created.", applicationCaption().c_str(),
                MB_OK | MB_ICONSTOP);
    ExitProcess(1);
  }
  setUpLook();
  platform::EditorHooks hooks;
  hooks.xmlColouring = [this] { useXmlColouring(); };
  editor_ = std::make_unique<platform::Editor>(link, std::move(hooks));
}

ScintillaControl::~ScintillaControl() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

std::intptr_t ScintillaControl::send(unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam) const {
  return SendMessageW(hwnd_, message, wParam, lParam);
}

void ScintillaControl::setUpLook() {
  // Nobody listens to the per-edit notices (change commands, SCN_MODIFIED);
  // leaving them out spares a message per insert and delete. The save-point
  // notices still come.
  send(SCI_SETCOMMANDEVENTS, 0);
  send(SCI_SETMODEVENTMASK, SC_MOD_NONE);

  const std::string face = platform::wideToUtf8(kSansSerifFace);
  send(SCI_STYLESETFONT, STYLE_DEFAULT, reinterpret_cast<std::intptr_t>(face.c_str()));
  send(SCI_STYLESETSIZE, STYLE_DEFAULT, kEditorFontPoints);
  send(SCI_STYLESETBOLD, STYLE_DEFAULT, 1);
  send(SCI_STYLECLEARALL);  // every style starts from the default one
  for (const StyleColour& c : kXmlColours)
    send(SCI_STYLESETFORE, static_cast<std::uintptr_t>(c.style),
         static_cast<std::intptr_t>(c.colour));

  send(SCI_SETELEMENTCOLOUR, SC_ELEMENT_SELECTION_BACK, kSelectionBack);
  send(SCI_SETELEMENTCOLOUR, SC_ELEMENT_SELECTION_INACTIVE_BACK, kSelectionBack);
  send(SCI_SETELEMENTCOLOUR, SC_ELEMENT_SELECTION_TEXT, kSelectionText);
  send(SCI_SETELEMENTCOLOUR, SC_ELEMENT_SELECTION_INACTIVE_TEXT, kSelectionText);
}

void ScintillaControl::useXmlColouring() {
  send(SCI_SETILEXER, 0,
       reinterpret_cast<std::intptr_t>(CreateLexer("xml")));  // the control owns it
}

void ScintillaControl::notified(const NMHDR& header) {
  if (header.hwndFrom != hwnd_) return;
  if (header.code == SCN_UPDATEUI) editor_->viewUpdated();
  if (header.code == SCN_MARGINCLICK) {
    const auto& click = reinterpret_cast<const SCNotification&>(header);
    editor_->marginClicked(static_cast<long>(click.position), click.margin);
  }
}

void ScintillaControl::showBusyCursor(bool busy) {
  send(SCI_SETCURSOR, static_cast<std::uintptr_t>(busy ? SC_CURSORWAIT : SC_CURSORNORMAL));
}

int ScintillaControl::fontPoints() const {
  return static_cast<int>(send(SCI_STYLEGETSIZE, STYLE_DEFAULT));
}

bool ScintillaControl::fontBold() const { return send(SCI_STYLEGETBOLD, STYLE_DEFAULT) != 0; }

}  // namespace vantrel::win32
