// Creates every dialog of resource DLLs with the dialog manager and prints its
// geometry, one line per window (UTF-8):
//   dialog NAME LANGUAGE requested W H window W H
//   control INDEX CLASS STYLE requested X Y W H window X Y W H
// NAME is #NUMBER or the text; "requested" is what the dialog manager asked
// CreateWindowEx for, "window" the rectangle the window has afterwards (the
// dialog's outer size, a control's place in the dialog's client area); a
// control that could not be created has "window none".
// A dialog the dialog manager cannot create for a reason that lies in the
// script has "none: WHY" after its language.
// With --capture NAME FILE.png (a Unix path) it shows that dialog and saves
// its picture.
//   trellane-dialog-geometry.exe [--capture NAME FILE.png] RESOURCES.dll...
#include <windows.h>

// After windows.h, whose types it uses.
#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1)
    return {};
  std::string result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
  result.pop_back();  // the terminating zero
  return result;
}

std::wstring Wide(const std::string& text) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
  return result;
}

// The class names a template gives its window and controls, read with every
// bound checked; numbered (predefined) classes are left out.
class TemplateClasses {
 public:
  TemplateClasses(const std::uint8_t* bytes, std::size_t size) : data(bytes), end(size) {}

  bool Read() {
    const bool extended = size() >= 4 && Word(0) == 1 && Word(2) == 0xFFFF;
    // DLGTEMPLATEEX or DLGTEMPLATE: where the style and the control count are.
    const std::size_t headerSize = extended ? 26 : 18;
    if (!Has(headerSize))
      return false;
    const std::uint32_t style = Dword(extended ? 12 : 0);
    const std::uint16_t count = Word(extended ? 16 : 8);
    at = headerSize;
    std::wstring ignored;
    if (!Has(at + 4))
      return false;
    hasMenu = Word(at) != 0;
    menuNumber = Word(at) == 0xFFFF ? Word(at + 2) : 0;
    if (!NameOrNumber(menuName))
      return false;
    dialogClassIsNumber = Has(at + 2) && Word(at) == 0xFFFF;
    if (!NameOrNumber(dialogClass) || !Text())
      return false;
    if (style & DS_SETFONT) {
      at += extended ? 6 : 2;
      if (!Text())
        return false;
    }
    for (std::uint16_t i = 0; i < count; ++i) {
      at = (at + 3) & ~std::size_t{3};
      at += extended ? 24 : 18;
      std::wstring name;
      if (!NameOrNumber(name) || !NameOrNumber(ignored))
        return false;
      if (!Has(at + 2))
        return false;
      at += 2 + Word(at);
      if (!name.empty())
        controlClasses.push_back(name);
    }
    return true;
  }

  bool hasMenu = false;
  std::wstring menuName;  // empty when the menu is a number
  std::uint16_t menuNumber = 0;
  std::wstring dialogClass;
  bool dialogClassIsNumber = false;
  std::vector<std::wstring> controlClasses;

 private:
  std::size_t size() const { return end; }
  bool Has(std::size_t offset) const { return offset <= end; }
  std::uint16_t Word(std::size_t offset) const {
    return static_cast<std::uint16_t>(data[offset] | (data[offset + 1] << 8));
  }
  std::uint32_t Dword(std::size_t offset) const {
    return Word(offset) | (static_cast<std::uint32_t>(Word(offset + 2)) << 16);
  }

  // A zero-terminated UTF-16 text; true when it ends inside the template.
  bool Text(std::wstring* text = nullptr) {
    while (Has(at + 2)) {
      const std::uint16_t unit = Word(at);
      at += 2;
      if (unit == 0)
        return true;
      if (text != nullptr)
        text->push_back(static_cast<wchar_t>(unit));
    }
    return false;
  }

  // 0xFFFF and a number, or a text; the text is what is kept.
  bool NameOrNumber(std::wstring& text) {
    text.clear();
    if (!Has(at + 2))
      return false;
    if (Word(at) == 0xFFFF) {
      at += 4;
      return Has(at);
    }
    return Text(&text);
  }

  const std::uint8_t* data;
  std::size_t end;
  std::size_t at = 0;
};

// Classes the template names that nobody registered become plain windows
// that keep the size they are given, as RadASM's user-defined controls.
void RegisterMissingClasses(const TemplateClasses& classes) {
  WNDCLASSEXW known{};
  known.cbSize = sizeof known;
  for (const std::wstring& name : classes.controlClasses) {
    if (GetClassInfoExW(nullptr, name.c_str(), &known))
      continue;
    WNDCLASSEXW added{};
    added.cbSize = sizeof added;
    added.style = CS_GLOBALCLASS;
    added.lpfnWndProc = DefWindowProcW;
    added.hInstance = GetModuleHandleW(nullptr);
    added.lpszClassName = name.c_str();
    RegisterClassExW(&added);
  }
  if (!classes.dialogClass.empty() && !GetClassInfoExW(nullptr, classes.dialogClass.c_str(), &known)) {
    WNDCLASSEXW added{};
    added.cbSize = sizeof added;
    added.style = CS_GLOBALCLASS;
    added.lpfnWndProc = DefDlgProcW;
    added.cbWndExtra = DLGWINDOWEXTRA;
    added.hInstance = GetModuleHandleW(nullptr);
    added.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    added.lpszClassName = classes.dialogClass.c_str();
    RegisterClassExW(&added);
  }
}

struct Creation {
  HWND window;
  HWND parent;
  RECT requested;
};

std::vector<Creation>* creations = nullptr;

// Notes what the dialog manager asks CreateWindowEx for, before a control
// can change its own size.
LRESULT CALLBACK NoteCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && creations != nullptr) {
    const CREATESTRUCTW& create = *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
    creations->push_back({reinterpret_cast<HWND>(wParam),
                          create.hwndParent,
                          {create.x, create.y, create.x + create.cx, create.y + create.cy}});
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

void PrintRect(const char* label, const RECT& rect, bool withPlace) {
  if (withPlace)
    std::printf(" %s %ld %ld %ld %ld", label, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  else
    std::printf(" %s %ld %ld", label, rect.right - rect.left, rect.bottom - rect.top);
}

std::string ResourceName(const wchar_t* name) {
  if (IS_INTRESOURCE(name))
    return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name));
  return Utf8(name);
}

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Saves the X screen under a window as a PNG file through ImageMagick's
// import, which reads what the X server shows; waits until the file is there.
bool SaveWindowPicture(HWND window, const std::string& unixFile) {
  RECT rect;
  GetWindowRect(window, &rect);
  char crop[64];
  std::snprintf(crop, sizeof crop, "%ldx%ld+%ld+%ld", rect.right - rect.left, rect.bottom - rect.top, rect.left,
                rect.top);
  const std::string partial = unixFile + ".part.png";
  std::string command = "Z:\\bin\\sh -c \"import -window root -crop " + std::string(crop) + " +repage '" + partial +
                        "' && mv '" + partial + "' '" + unixFile + "'\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // A Unix process gives Wine no handle to wait on: wait for the file.
  std::string windowsFile = "Z:" + unixFile;
  for (char& c : windowsFile) {
    if (c == '/')
      c = '\\';
  }
  for (int waited = 0; waited < 3000; ++waited) {
    if (GetFileAttributesA(windowsFile.c_str()) != INVALID_FILE_ATTRIBUTES)
      return true;
    Sleep(10);
  }
  return false;
}

struct Capture {
  std::string name;
  std::string file;  // a Unix path
  bool done = false;
};

// Creates one dialog, prints its geometry and, when asked, its picture.
// A hidden window that owns every dialog, so that a dialog with WS_CHILD has
// the parent it needs.
HWND host = nullptr;

bool MeasureDialog(HMODULE module, const wchar_t* name, WORD language, Capture& capture) {
  HRSRC found = FindResourceExW(module, MAKEINTRESOURCEW(5), name, language);  // RT_DIALOG
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) {
    std::printf("error: cannot load dialog %s\n", ResourceName(name).c_str());
    return false;
  }
  const std::string printedName = ResourceName(name);
  TemplateClasses classes(static_cast<const std::uint8_t*>(bytes), SizeofResource(module, found));
  if (!classes.Read()) {
    std::printf("error: dialog %s has a broken template\n", printedName.c_str());
    return false;
  }
  if (classes.dialogClassIsNumber) {
    // A class atom no program registered: Windows cannot create it either.
    std::printf("dialog %s %u none: its CLASS is a number, which names no window class\n", printedName.c_str(),
                language);
    return true;
  }
  if (classes.hasMenu) {
    HMENU menu =
        LoadMenuW(module, classes.menuName.empty() ? MAKEINTRESOURCEW(classes.menuNumber) : classes.menuName.c_str());
    if (menu == nullptr) {
      std::printf("dialog %s %u none: its MENU names no menu of the script\n", printedName.c_str(), language);
      return true;
    }
    DestroyMenu(menu);
  }
  RegisterMissingClasses(classes);

  std::vector<Creation> seen;
  creations = &seen;
  HHOOK hook = SetWindowsHookExW(WH_CBT, NoteCreation, nullptr, GetCurrentThreadId());
  HWND dialog = CreateDialogIndirectParamW(module, static_cast<LPCDLGTEMPLATEW>(bytes), host, PlainDialog, 0);
  UnhookWindowsHookEx(hook);
  creations = nullptr;
  if (dialog == nullptr) {
    std::printf("error: the dialog manager cannot create dialog %s (error %lu)\n", printedName.c_str(), GetLastError());
    return false;
  }

  std::printf("dialog %s %u", printedName.c_str(), language);
  RECT outer;
  GetWindowRect(dialog, &outer);
  for (const Creation& creation : seen) {
    if (creation.window == dialog)
      PrintRect("requested", creation.requested, false);
  }
  PrintRect("window", outer, false);
  std::printf("\n");

  int index = 0;
  for (const Creation& creation : seen) {
    if (creation.parent != dialog)
      continue;
    wchar_t className[256] = L"?";
    std::printf("control %d", index++);
    if (!IsWindow(creation.window)) {
      PrintRect("requested", creation.requested, true);
      std::printf(" window none\n");
      continue;
    }
    GetClassNameW(creation.window, className, 256);
    const auto style = static_cast<unsigned long>(GetWindowLongW(creation.window, GWL_STYLE));
    std::printf(" %s %08lx", Utf8(className).c_str(), style);
    PrintRect("requested", creation.requested, true);
    RECT placed;
    GetWindowRect(creation.window, &placed);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&placed), 2);
    PrintRect("window", placed, true);
    std::printf("\n");
  }

  if (!capture.done && _stricmp(capture.name.c_str(), printedName.c_str()) == 0) {
    SetWindowPos(dialog, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(dialog);
    for (int i = 0; i < 50; ++i) {
      Pump();
      Sleep(20);
    }
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    capture.done = true;
    if (!SaveWindowPicture(dialog, capture.file))
      std::printf("error: cannot write %s\n", capture.file.c_str());
  }
  DestroyWindow(dialog);
  Pump();
  return true;
}

struct DialogName {
  std::wstring text;  // empty for a number
  WORD number = 0;
  const wchar_t* Resource() const { return text.empty() ? MAKEINTRESOURCEW(number) : text.c_str(); }
};

BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
  DialogName added;
  if (IS_INTRESOURCE(name))
    added.number = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name));
  else
    added.text = name;
  reinterpret_cast<std::vector<DialogName>*>(names)->push_back(added);
  return TRUE;
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
  reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
  return TRUE;
}

bool MeasureModule(const std::string& path, Capture& capture) {
  HMODULE module = LoadLibraryExW(Wide(path).c_str(), nullptr, 0);
  if (module == nullptr) {
    std::printf("error: cannot load %s (error %lu)\n", path.c_str(), GetLastError());
    return false;
  }
  std::printf("module %s\n", path.c_str());
  std::vector<DialogName> names;
  EnumResourceNamesW(module, MAKEINTRESOURCEW(5), AddName, reinterpret_cast<LONG_PTR>(&names));
  bool ok = true;
  for (const DialogName& name : names) {
    std::vector<WORD> languages;
    EnumResourceLanguagesW(module, MAKEINTRESOURCEW(5), name.Resource(), AddLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    for (const WORD language : languages)
      ok = MeasureDialog(module, name.Resource(), language, capture) && ok;
  }
  FreeLibrary(module);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                                                     ICC_COOL_CLASSES | ICC_INTERNET_CLASSES | ICC_PAGESCROLLER_CLASS |
                                                     ICC_NATIVEFNTCTL_CLASS | ICC_LINK_CLASS};
  InitCommonControlsEx(&controls);
  for (const wchar_t* library : {L"riched20.dll", L"riched32.dll", L"msftedit.dll"})
    LoadLibraryW(library);
  host = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1024, 768, nullptr, nullptr, nullptr, nullptr);

  Capture capture;
  bool ok = true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--capture") == 0 && i + 2 < argc) {
      capture.name = argv[i + 1];
      capture.file = argv[i + 2];
      i += 2;
      continue;
    }
    ok = MeasureModule(argv[i], capture) && ok;
  }
  if (!capture.name.empty() && !capture.done) {
    std::printf("error: no dialog %s to capture\n", capture.name.c_str());
    ok = false;
  }
  std::fflush(stdout);
  return ok ? 0 : 1;
}
