// The parts the Windows editor is built from, checked in a real Win32
// process: Scintilla's control (registered from the static library, in a
// hidden window), Lexilla's XML lexer, and the executable's resources
// (manifest, icon, version).

#include <windows.h>
// After windows.h, whose types they use.
#include <commctrl.h>
#include <shlwapi.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "ILexer.h"
#include "Lexilla.h"
#include "SciLexer.h"
#include "Scintilla.h"
#include "ui/win32/resources.h"

namespace {

using namespace std::string_view_literals;

// German, CR LF line ends, bytes that are not UTF-8 and a NUL: all of it
// must come back byte for byte.
constexpr std::string_view kDocument =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    "<cDisplayName>M\xC3\xBCnchen</cDisplayName>\r\n"
    "<Raw>\xFF\x80\xC3 \0 end</Raw>\r\n"sv;

// A Scintilla control in a hidden top-level window, driven through its
// direct function as the editor will be, and through SendMessage.
class ScintillaControl : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static const bool registered = Scintilla_RegisterClasses(GetModuleHandleW(nullptr)) != 0;
    ASSERT_TRUE(registered);
  }

  void SetUp() override {
    host_ = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(host_, nullptr) << "no window, error " << GetLastError()
                              << " (under Wine: is DISPLAY set to a running X server?)";
    editor_ = CreateWindowExW(0, L"Scintilla", L"", WS_CHILD | WS_VISIBLE, 0, 0, 600, 400, host_,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(editor_, nullptr) << "error " << GetLastError();
    direct_ = reinterpret_cast<SciFnDirect>(SendMessageW(editor_, SCI_GETDIRECTFUNCTION, 0, 0));
    pointer_ = static_cast<sptr_t>(SendMessageW(editor_, SCI_GETDIRECTPOINTER, 0, 0));
    ASSERT_NE(direct_, nullptr);
    ASSERT_NE(pointer_, 0);
  }

  void TearDown() override {
    if (host_) DestroyWindow(host_);  // takes the control with it
  }

  sptr_t call(unsigned int message, uptr_t wParam = 0, sptr_t lParam = 0) {
    return direct_(pointer_, message, wParam, lParam);
  }

  void loadUtf8Xml(std::string_view text) {
    call(SCI_SETCODEPAGE, SC_CP_UTF8);
    Scintilla::ILexer5* lexer = CreateLexer("xml");
    ASSERT_NE(lexer, nullptr);
    call(SCI_SETILEXER, 0, reinterpret_cast<sptr_t>(lexer));  // the control owns it now
    call(SCI_ADDTEXT, text.size(), reinterpret_cast<sptr_t>(text.data()));
  }

  std::string textThroughSendMessage() {
    auto length = static_cast<std::size_t>(SendMessageW(editor_, SCI_GETLENGTH, 0, 0));
    std::string text(length + 1, '?');
    auto copied = SendMessageW(editor_, SCI_GETTEXT, length, reinterpret_cast<LPARAM>(text.data()));
    EXPECT_EQ(static_cast<std::size_t>(copied), length);
    EXPECT_EQ(text[length], '\0');
    text.resize(length);
    return text;
  }

  std::string_view textInPlace() {
    auto data = reinterpret_cast<const char*>(call(SCI_GETCHARACTERPOINTER));
    return {data, static_cast<std::size_t>(call(SCI_GETLENGTH))};
  }

  sptr_t positionOf(std::string_view needle) {
    auto at = kDocument.find(needle);
    EXPECT_NE(at, std::string_view::npos) << needle;
    return static_cast<sptr_t>(at);
  }

  HWND host_ = nullptr;
  HWND editor_ = nullptr;
  SciFnDirect direct_ = nullptr;
  sptr_t pointer_ = 0;
};

TEST_F(ScintillaControl, TextComesBackByteForByte) {
  loadUtf8Xml(kDocument);
  EXPECT_EQ(call(SCI_GETCODEPAGE), SC_CP_UTF8);
  EXPECT_EQ(textInPlace(), kDocument);
  EXPECT_EQ(textThroughSendMessage(), kDocument);
  // CR LF is one line end; "ü" is one character of two bytes; a byte that is
  // not UTF-8 is a character of its own.
  EXPECT_EQ(call(SCI_GETLINECOUNT), 4);
  EXPECT_EQ(call(SCI_POSITIONAFTER, positionOf("\xC3\xBC")), positionOf("\xC3\xBC") + 2);
  EXPECT_EQ(call(SCI_POSITIONAFTER, positionOf("\xFF")), positionOf("\xFF") + 1);
  EXPECT_EQ(call(SCI_POSITIONAFTER, positionOf("\xC3 ")), positionOf("\xC3 ") + 1);
}

TEST_F(ScintillaControl, TypedTextIsUtf8AndEnterTypesCrLf) {
  loadUtf8Xml("<a/>");
  call(SCI_SETEOLMODE, SC_EOL_CRLF);
  call(SCI_DOCUMENTEND);
  call(SCI_NEWLINE);
  call(SCI_REPLACESEL, 0, reinterpret_cast<sptr_t>("\xC3\xBC"));
  EXPECT_EQ(textInPlace(), "<a/>\r\n\xC3\xBC"sv);
  EXPECT_EQ(textThroughSendMessage(), "<a/>\r\n\xC3\xBC");
}

TEST_F(ScintillaControl, XmlLexerStylesTheDocument) {
  loadUtf8Xml(kDocument);
  EXPECT_EQ(call(SCI_GETLEXER), SCLEX_XML);
  char language[16] = {};
  call(SCI_GETLEXERLANGUAGE, 0, reinterpret_cast<sptr_t>(language));
  EXPECT_STREQ(language, "xml");

  call(SCI_COLOURISE, 0, -1);
  struct Case {
    std::string_view at;
    int style;
  };
  const Case cases[] = {
      {"<?xml", SCE_H_XMLSTART},     {"version", SCE_H_ATTRIBUTE}, {"\"1.0\"", SCE_H_DOUBLESTRING},
      {"<cDisplayName>", SCE_H_TAG}, {"M\xC3\xBC", SCE_H_DEFAULT},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(call(SCI_GETSTYLEAT, positionOf(c.at)), c.style) << c.at;
  }
}

TEST(LexillaXmlCatalogue, OffersTheLexersOfLexHtmlOnly) {
  EXPECT_EQ(GetLexerCount(), 3);
  char name[16];
  std::vector<std::string> names;
  for (int i = 0; i < GetLexerCount(); ++i) {
    GetLexerName(static_cast<unsigned>(i), name, sizeof name);
    names.emplace_back(name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"hypertext", "xml", "phpscript"}));
  EXPECT_EQ(CreateLexer("cpp"), nullptr);
  EXPECT_EQ(CreateLexer(nullptr), nullptr);
  EXPECT_EQ(GetLexerFactory(3), nullptr);
  Scintilla::ILexer5* xml = CreateLexer("xml");
  ASSERT_NE(xml, nullptr);
  EXPECT_EQ(xml->GetIdentifier(), SCLEX_XML);
  xml->Release();
}

// --- resources

std::wstring versionString(const std::vector<char>& info, const wchar_t* name) {
  std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(info.data(), path.c_str(), &value, &length) || length == 0)
    return L"<missing>";
  return static_cast<const wchar_t*>(value);
}

TEST(WindowsResources, VersionResourceReadsBack) {
  wchar_t exe[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(exe, &handle);
  ASSERT_GT(size, 0u) << "no version resource, error " << GetLastError();
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe, 0, size, info.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));  // 1.0
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(8, 0));  // .0.8
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  EXPECT_EQ(versionString(info, L"ProductName"), L"Vantrel_BIN_Editor");
  EXPECT_EQ(versionString(info, L"FileVersion"), L"1.00.0008");
  EXPECT_EQ(versionString(info, L"ProductVersion"), L"1.0.8");
  EXPECT_EQ(versionString(info, L"OriginalFilename"), L"Vantrel_BIN_Editor.exe");
}

TEST(WindowsResources, IconLoadsInEverySize) {
  for (int size : {16, 24, 32, 48, 64}) {
    HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(VANTREL_IDI_APPLICATION),
                             IMAGE_ICON, size, size, 0);
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO parts{};
    ASSERT_TRUE(GetIconInfo(static_cast<HICON>(icon), &parts));
    BITMAP colour{};
    GetObjectW(parts.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, size);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    DestroyIcon(static_cast<HICON>(icon));
  }
}

// The manifest is embedded and in effect: the process gets per-monitor DPI
// awareness and the side-by-side Common Controls 6 from it. (Wine's copy of
// version 6 reports 5 from DllGetVersion, so its folder is what tells.)
TEST(WindowsResources, ManifestTakesEffect) {
  HRSRC manifest =
      FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  ASSERT_NE(manifest, nullptr);

  EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()),
            DPI_AWARENESS_PER_MONITOR_AWARE);

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&controls));
  HMODULE comctl = nullptr;
  ASSERT_TRUE(GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(&InitCommonControlsEx)), &comctl));
  wchar_t path[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(comctl, path, MAX_PATH), 0u);
  EXPECT_NE(StrStrIW(path, L"\\winsxs\\"), nullptr) << path;
  EXPECT_NE(StrStrIW(path, L"common-controls_6595b64144ccf1df_6."), nullptr) << path;
}

}  // namespace
