#include "ui/win32/WindowClass.h"

#include "ui/win32/resources.h"

namespace vantrel::win32 {

void registerWindowClass(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &existing)) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  // The icon is in the program's resources; test programs go without.
  windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(VANTREL_IDI_APPLICATION));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageW(windowClass.hInstance, MAKEINTRESOURCEW(VANTREL_IDI_APPLICATION), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
}

}  // namespace vantrel::win32
