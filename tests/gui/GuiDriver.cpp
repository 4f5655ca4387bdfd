// Works trellane-gui.exe as a person would: through its windows and control
// identifiers, the real open-file dialog and the keyboard, and compares the
// files it writes with those of trellane.exe. Meant to run under Wine on an
// X display; each step leaves a screenshot in the artifacts folder.
//
// trellane-gui-driver --gui GUI.exe --cli trellane.exe --scripts DIR --work DIR --artifacts DIR
// (folders as Unix paths; the programs as paths Wine can start)
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr auto WaitLimit = std::chrono::seconds(30);
constexpr char MainCaption[] = "Trellane   [by Quorvin]";
constexpr char DialogClass[] = "#32770";

struct Options {
  std::string gui;
  std::string cli;
  std::string scripts;    // Unix path of the test scripts
  std::string work;       // Unix path of an empty work folder
  std::string artifacts;  // Unix path for the screenshots
};

// A folder or file that Wine shows as drive Z:.
std::string WindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path) {
    if (c == '/')
      c = '\\';
  }
  return path;
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// One control as its template must give it, in template order.
struct ControlRow {
  int id;
  const char* className;
  std::uint32_t style;
  std::uint32_t exStyle;
  const char* text;
  short left, top, width, height;
};

struct TemplateRows {
  int id;
  const char* caption;
  std::uint32_t style;
  std::uint32_t exStyle;
  short left, top, width, height;
  int pointSize;
  std::vector<ControlRow> controls;
};

constexpr std::uint32_t ChildStyle = WS_CHILD | WS_VISIBLE;
constexpr std::uint32_t WindowStyle =
    WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE | DS_SETFONT;

const TemplateRows MainTemplate{
    1000,
    MainCaption,
    WindowStyle | DS_CENTER,
    WS_EX_TOOLWINDOW | WS_EX_APPWINDOW,
    0,
    0,
    170,
    68,
    9,
    {
        {1004, "Button", ChildStyle | WS_TABSTOP | BS_PUSHBUTTON, WS_EX_STATICEDGE, "..", 154, 20, 12, 14},
        {1001, "Edit", ChildStyle | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_STATICEDGE, "C:\\something.rc", 3, 20, 149, 12},
        {1002, "Edit", ChildStyle | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_STATICEDGE, "C:\\something.mnu", 3, 36, 149, 12},
        {1003, "Button", ChildStyle | WS_TABSTOP | BS_PUSHBUTTON, WS_EX_STATICEDGE, "convert", 94, 52, 36, 14},
        {1005, "Static", ChildStyle | SS_LEFT, 0, "", 3, 54, 86, 10},
        {1006, "Button", ChildStyle | WS_TABSTOP | BS_AUTORADIOBUTTON, 0, "MENUEX", 3, 6, 38, 8},
        {1007, "Button", ChildStyle | WS_TABSTOP | BS_AUTORADIOBUTTON, 0, "DIALOGEX", 46, 6, 45, 8},
        {1008, "Button", ChildStyle | WS_TABSTOP | BS_PUSHBUTTON, WS_EX_STATICEDGE, "about", 132, 52, 36, 14},
    }};

const TemplateRows AboutTemplate{
    2000,
    "About...",
    WindowStyle | DS_CENTER,
    WS_EX_TOOLWINDOW,
    0,
    0,
    94,
    74,
    9,
    {
        {2001, "Button", ChildStyle | BS_GROUPBOX, 0, "Info", 3, 2, 89, 54},
        {2002, "Static", ChildStyle | SS_LEFT, 0,
         "This program is used to convert RC file that contains only MENUEX resource to MNU (RadASM) format.", 6, 12,
         82, 40},
        {2003, "Button", ChildStyle | WS_TABSTOP | BS_PUSHBUTTON, WS_EX_STATICEDGE, "Peace", 3, 58, 29, 14},
    }};

const TemplateRows PromptTemplate{
    3000,
    "MENU detected",
    WindowStyle,
    WS_EX_TOOLWINDOW,
    5,
    6,
    128,
    37,
    10,
    {
        {3001, "Static", ChildStyle | SS_CENTER | SS_SUNKEN, 0,
         "Please provide name of RadASM menu file, eg. \"menu.mnu\"", 3, 3, 123, 17},
        {3002, "Edit", ChildStyle | WS_TABSTOP, WS_EX_STATICEDGE, "", 3, 22, 98, 12},
        {3003, "Button", ChildStyle | WS_TABSTOP | BS_PUSHBUTTON, WS_EX_STATICEDGE, "OK", 102, 22, 24, 12},
    }};

// Dialog units to pixels as the dialog manager converts them for a font.
struct BaseUnits {
  int x = 0;
  int y = 0;
};

BaseUnits FontBaseUnits(int pointSize) {
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(pointSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
  HFONT font = CreateFontA(height, 0, 0, 0, 400, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, FF_DONTCARE,
                           "Lucida Console");
  HGDIOBJ previous = SelectObject(screen, font);
  TEXTMETRICA metrics{};
  GetTextMetricsA(screen, &metrics);
  SIZE sample{};
  const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  GetTextExtentPoint32A(screen, letters, 52, &sample);
  SelectObject(screen, previous);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  return {static_cast<int>((sample.cx / 26 + 1) / 2), static_cast<int>(metrics.tmHeight)};
}

RECT DialogRect(const BaseUnits& units, short left, short top, short width, short height) {
  RECT rect;
  rect.left = MulDiv(left, units.x, 4);
  rect.top = MulDiv(top, units.y, 8);
  rect.right = rect.left + MulDiv(width, units.x, 4);
  rect.bottom = rect.top + MulDiv(height, units.y, 8);
  return rect;
}

std::string Describe(const RECT& rect) {
  char text[80];
  std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", rect.left, rect.top, rect.right, rect.bottom);
  return text;
}

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// Reads a DLGTEMPLATEEX and its items from the program's resources.
class TemplateReader {
 public:
  TemplateReader(const std::uint8_t* bytes, std::size_t size) : data(bytes), end(bytes + size) {}

  bool AtEnd() const { return data > end; }
  std::uint16_t Word() { return Take<std::uint16_t>(); }
  std::uint32_t Dword() { return Take<std::uint32_t>(); }
  std::uint8_t Byte() { return Take<std::uint8_t>(); }
  short Short() { return static_cast<short>(Word()); }

  // A zero-terminated UTF-16 text, kept to its ASCII bytes.
  std::string Text() {
    std::string text;
    for (std::uint16_t c = Word(); c != 0 && !AtEnd(); c = Word())
      text += static_cast<char>(c);
    return text;
  }

  // A name or an ordinal; the predefined classes come back by name.
  std::string NameOrOrdinal() {
    const std::uint16_t first = Word();
    if (first == 0)
      return {};
    if (first == 0xFFFF) {
      switch (const std::uint16_t ordinal = Word()) {
        case 0x80:
          return "Button";
        case 0x81:
          return "Edit";
        case 0x82:
          return "Static";
        default:
          return "#" + std::to_string(ordinal);
      }
    }
    std::string text(1, static_cast<char>(first));
    return text + Text();
  }

  void AlignToDword(const std::uint8_t* start) {
    while ((data - start) % 4 != 0)
      ++data;
  }

  const std::uint8_t* Position() const { return data; }
  void Skip(std::size_t count) { data += count; }

 private:
  template <class T>
  T Take() {
    T value{};
    if (data + sizeof(T) <= end)
      std::memcpy(&value, data, sizeof(T));
    data += sizeof(T);
    return value;
  }

  const std::uint8_t* data;
  const std::uint8_t* end;
};

class Driver {
 public:
  explicit Driver(Options given) : options(std::move(given)) {}

  int Run() {
    scripts = WindowsPath(options.scripts);
    work = WindowsPath(options.work);
    CopyScripts();

    CheckTemplates();
    StartProgram();
    CheckMainWindowAtStart();
    CheckEscapeAndEnterInMainWindow();
    CheckAboutBox();
    CheckBrowse();
    CheckExtensionChanges();
    CheckConversions();
    CheckMenuNamePrompt();
    CheckFailureStatuses();
    CheckCloseEndsTheProgram();

    std::printf("%d passed, 0 failed\n", passed);
    return 0;
  }

 private:
  // ---- reporting -------------------------------------------------------

  void Pass(const std::string& what) {
    ++passed;
    std::printf("ok   %s\n", what.c_str());
    std::fflush(stdout);
  }

  [[noreturn]] void Fail(const std::string& what) {
    std::printf("FAIL %s\n", what.c_str());
    std::fflush(stdout);
    if (gui.hProcess != nullptr) {
      Screenshot("failure");
      TerminateProcess(gui.hProcess, 1);
    }
    std::printf("%d passed, 1 failed\n", passed);
    std::fflush(stdout);
    ExitProcess(1);
  }

  void Expect(bool condition, const std::string& what, const std::string& detail = {}) {
    if (!condition)
      Fail(what + (detail.empty() ? "" : ": " + detail));
  }

  void ExpectText(const std::string& actual, const std::string& expected, const std::string& what) {
    Expect(actual == expected, what, "got \"" + actual + "\", expected \"" + expected + "\"");
  }

  // Polls condition until it holds; fails after WaitLimit.
  template <class Condition>
  auto WaitFor(const std::string& what, Condition condition) -> decltype(condition()) {
    const auto deadline = std::chrono::steady_clock::now() + WaitLimit;
    for (;;) {
      if (auto result = condition())
        return result;
      if (std::chrono::steady_clock::now() > deadline)
        Fail("timed out waiting for " + what);
      Sleep(10);
    }
  }

  // ---- screenshots -----------------------------------------------------

  // The whole X screen, through ImageMagick; crop (if not empty) keeps a
  // part of it. Waits until the file is complete.
  void Screenshot(const std::string& name, const RECT* crop = nullptr) {
    std::string file = options.artifacts + "/" + name + ".png";
    if (crop == nullptr) {
      char number[8];
      std::snprintf(number, sizeof number, "%02d-", ++shots);
      file = options.artifacts + "/" + number + name + ".png";
    }
    std::string cropping;
    if (crop != nullptr) {
      char geometry[64];
      std::snprintf(geometry, sizeof geometry, " -crop %ldx%ld+%ld+%ld +repage", crop->right - crop->left,
                    crop->bottom - crop->top, crop->left, crop->top);
      cropping = geometry;
    }
    const std::string partial = file + ".part.png";
    const std::string shell =
        "import -window root" + cropping + " '" + partial + "' && mv '" + partial + "' '" + file + "'";
    std::string command = "Z:\\bin\\sh -c " + Quoted(shell);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
      std::printf("note: no screenshot %s (cannot start the shell)\n", name.c_str());
      return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // A Unix process gives Wine no handle to wait on: wait for the file.
    const std::string windowsFile = WindowsPath(file);
    const auto deadline = std::chrono::steady_clock::now() + WaitLimit;
    while (GetFileAttributesA(windowsFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
      if (std::chrono::steady_clock::now() > deadline) {
        std::printf("note: screenshot %s did not appear\n", name.c_str());
        return;
      }
      Sleep(20);
    }
  }

  // A window and the margin around it, for the pictures in the docs.
  void PictureOf(const std::string& name, const RECT& area) {
    RECT crop = area;
    InflateRect(&crop, 12, 12);
    crop.left = crop.left < 0 ? 0 : crop.left;
    crop.top = crop.top < 0 ? 0 : crop.top;
    Screenshot(name, &crop);
  }

  // ---- files -----------------------------------------------------------

  static bool ReadFileBytes(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
      return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
  }

  static void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
  }

  static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  std::string WorkFile(const std::string& name) const { return work + "\\" + name; }

  void CopyScripts() {
    for (const char* name : {"menu.rc", "dialog.rc", "dialog-menu.rc", "plain.rc"}) {
      std::string bytes;
      Expect(ReadFileBytes(scripts + "\\" + name, bytes), std::string("test script ") + name + " is readable");
      WriteFileBytes(WorkFile(name), bytes);
    }
  }

  // Runs trellane.exe and waits for it; returns its exit code.
  DWORD RunCommandLine(const std::string& arguments) {
    std::string command = Quoted(options.cli) + " " + arguments;
    // Nothing to read on its input: it never waits for a typed menu name.
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE nothing =
        CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(nothing);
    Expect(started != 0, "trellane.exe starts", command);
    const DWORD waited = WaitForSingleObject(process.hProcess, static_cast<DWORD>(WaitLimit.count() * 1000));
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Expect(waited == WAIT_OBJECT_0, "trellane.exe ends in time", command);
    return code;
  }

  // ---- the templates ---------------------------------------------------

  void CheckTemplate(HMODULE module, const TemplateRows& rows) {
    const std::string name = "template " + std::to_string(rows.id);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(rows.id), MAKEINTRESOURCEA(5));
    Expect(found != nullptr, name + " is in the program's resources");
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
    TemplateReader reader(bytes, SizeofResource(module, found));

    Expect(reader.Word() == 1 && reader.Word() == 0xFFFF, name + " is a DIALOGEX template");
    reader.Dword();
    const std::uint32_t exStyle = reader.Dword();
    const std::uint32_t style = reader.Dword();
    const std::uint16_t count = reader.Word();
    const short left = reader.Short(), top = reader.Short(), width = reader.Short(), height = reader.Short();
    Expect(style == rows.style, name + " window styles", Hex(style) + ", expected " + Hex(rows.style));
    Expect(exStyle == rows.exStyle, name + " extended styles", Hex(exStyle) + ", expected " + Hex(rows.exStyle));
    Expect(left == rows.left && top == rows.top && width == rows.width && height == rows.height,
           name + " place and size");
    Expect(reader.NameOrOrdinal().empty() && reader.NameOrOrdinal().empty(), name + " has no menu and no own class");
    ExpectText(reader.Text(), rows.caption, name + " caption");
    const int pointSize = reader.Word();
    const int weight = reader.Word();
    const int italic = reader.Byte();
    const int charset = reader.Byte();
    const std::string face = reader.Text();
    Expect(pointSize == rows.pointSize && weight == 400 && italic == 0 && charset == 1 && face == "Lucida Console",
           name + " font", face + " " + std::to_string(pointSize) + " weight " + std::to_string(weight));
    Expect(count == rows.controls.size(), name + " control count", std::to_string(count));

    for (const ControlRow& row : rows.controls) {
      const std::string control = name + " control " + std::to_string(row.id);
      reader.AlignToDword(bytes);
      reader.Dword();
      const std::uint32_t itemExStyle = reader.Dword();
      const std::uint32_t itemStyle = reader.Dword();
      const short x = reader.Short(), y = reader.Short(), cx = reader.Short(), cy = reader.Short();
      const std::uint32_t id = reader.Dword();
      const std::string className = reader.NameOrOrdinal();
      const std::string text = reader.NameOrOrdinal();
      reader.Skip(reader.Word());
      Expect(!reader.AtEnd(), control + " is complete");
      Expect(id == static_cast<std::uint32_t>(row.id), name + " template order",
             "found " + std::to_string(id) + " where " + std::to_string(row.id) + " belongs");
      Expect(lstrcmpiA(className.c_str(), row.className) == 0, control + " kind", className);
      Expect(itemStyle == row.style, control + " styles", Hex(itemStyle) + ", expected " + Hex(row.style));
      Expect(itemExStyle == row.exStyle, control + " extended styles",
             Hex(itemExStyle) + ", expected " + Hex(row.exStyle));
      ExpectText(text, row.text, control + " text");
      Expect(x == row.left && y == row.top && cx == row.width && cy == row.height, control + " place and size");
    }
    Pass(name + " (\"" + rows.caption + "\"): styles, font, controls, texts, places, sizes and order as designed");
  }

  void CheckTemplates() {
    HMODULE module = LoadLibraryExA(options.gui.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    Expect(module != nullptr, "trellane-gui.exe loads as a resource file", options.gui);
    CheckTemplate(module, MainTemplate);
    CheckTemplate(module, AboutTemplate);
    CheckTemplate(module, PromptTemplate);
    Expect(FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16)) != nullptr, "version resource present");
    Expect(FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) == nullptr,
           "no manifest (the program does not declare itself DPI-aware)");
    Pass("version resource present, no manifest");
    FreeLibrary(module);
  }

  // ---- windows of the program -----------------------------------------

  // A visible dialog of the program's thread with this caption.
  HWND FindProgramDialog(const char* caption) {
    struct Search {
      const char* caption;
      HWND found;
    } search{caption, nullptr};
    EnumThreadWindows(
        gui.dwThreadId,
        [](HWND window, LPARAM parameter) -> BOOL {
          auto* wanted = reinterpret_cast<Search*>(parameter);
          char text[256] = {};
          char className[64] = {};
          GetWindowTextA(window, text, sizeof text);
          GetClassNameA(window, className, sizeof className);
          if (IsWindowVisible(window) && std::string(text) == wanted->caption &&
              std::string(className) == DialogClass) {
            wanted->found = window;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  HWND AwaitDialog(const char* caption) {
    return WaitFor(std::string("the window \"") + caption + "\"", [&] { return FindProgramDialog(caption); });
  }

  void AwaitGone(HWND window, const std::string& what) {
    WaitFor(what + " to close", [&] { return !IsWindow(window); });
  }

  // Returns once the program's thread has handled everything sent or posted
  // to it so far and waits for input again.
  void Settle() {
    DWORD_PTR result = 0;
    Expect(SendMessageTimeoutA(mainWindow, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(WaitLimit.count() * 1000),
                               &result) != 0,
           "the program answers");
  }

  std::string Text(HWND window) {
    char text[1024] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
  }

  std::string ItemText(int id) { return Text(GetDlgItem(mainWindow, id)); }

  void SetItemText(HWND dialog, int id, const std::string& text) {
    SendDlgItemMessageA(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }

  bool IsChecked(int id) { return SendDlgItemMessageA(mainWindow, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

  // A click that returns when its command is done.
  void Click(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

  // A click whose command opens a modal window: it is not waited for.
  void ClickLater(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

  HWND FocusOfProgram() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(gui.dwThreadId, &info);
    return info.hwndFocus;
  }

  // Gives the keyboard focus to a control, as a click into it would.
  void FocusControl(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    WaitFor("the focus on control " + std::to_string(id), [&] { return FocusOfProgram() == control; });
  }

  // Presses a key in the window that has the focus, and waits until the
  // program has taken it: a marker posted behind the key must arrive.
  void PressKey(WORD key) {
    HWND focus = FocusOfProgram();
    Expect(focus != nullptr, "a control of the program has the focus");
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    HWND marker = GetDlgItem(mainWindow, 1001);
    const LRESULT limit = SendMessageA(marker, EM_GETLIMITTEXT, 0, 0);
    PostMessageA(marker, EM_SETLIMITTEXT, static_cast<WPARAM>(limit - 1), 0);
    WaitFor("the program to take the key", [&] { return SendMessageA(marker, EM_GETLIMITTEXT, 0, 0) == limit - 1; });
    SendMessageA(marker, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
  }

  RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
  }

  // Checks the live controls of a dialog against its rows: kind, identifier,
  // order, text, styles, and pixel places from the font's base units.
  void CheckLiveControls(HWND dialog, const TemplateRows& rows, const std::string& name) {
    const BaseUnits units = FontBaseUnits(rows.pointSize);
    RECT client{};
    GetClientRect(dialog, &client);
    const RECT expectedClient = DialogRect(units, 0, 0, rows.width, rows.height);
    Expect(client.right == expectedClient.right && client.bottom == expectedClient.bottom, name + " client size",
           Describe(client) + ", expected " + Describe(expectedClient));

    HWND child = GetWindow(dialog, GW_CHILD);
    for (const ControlRow& row : rows.controls) {
      const std::string control = name + " control " + std::to_string(row.id);
      Expect(child != nullptr, control + " exists");
      Expect(GetDlgCtrlID(child) == row.id, name + " child order",
             "found " + std::to_string(GetDlgCtrlID(child)) + " where " + std::to_string(row.id) + " belongs");
      char className[64] = {};
      GetClassNameA(child, className, sizeof className);
      Expect(lstrcmpiA(className, row.className) == 0, control + " kind", className);
      const auto style = static_cast<std::uint32_t>(GetWindowLongA(child, GWL_STYLE));
      Expect((style & row.style) == row.style, control + " styles", Hex(style) + " lacks some of " + Hex(row.style));
      const auto exStyle = static_cast<std::uint32_t>(GetWindowLongA(child, GWL_EXSTYLE));
      Expect((exStyle & row.exStyle) == row.exStyle, control + " extended styles", Hex(exStyle));
      RECT rect = WindowRect(child);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
      const RECT expected = DialogRect(units, row.left, row.top, row.width, row.height);
      Expect(EqualRect(&rect, &expected) != 0, control + " place", Describe(rect) + ", expected " + Describe(expected));
      child = GetWindow(child, GW_HWNDNEXT);
    }
    Expect(child == nullptr, name + " has no further controls");

    const auto style = static_cast<std::uint32_t>(GetWindowLongA(dialog, GWL_STYLE));
    const std::uint32_t windowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE;
    Expect((style & windowStyle) == windowStyle, name + " window styles", Hex(style));
    const auto exStyle = static_cast<std::uint32_t>(GetWindowLongA(dialog, GWL_EXSTYLE));
    Expect((exStyle & rows.exStyle) == rows.exStyle, name + " extended styles", Hex(exStyle));
  }

  void ExpectCentred(HWND window, const std::string& name) {
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const RECT rect = WindowRect(window);
    const long dx = (rect.left - area.left) - (area.right - rect.right);
    const long dy = (rect.top - area.top) - (area.bottom - rect.bottom);
    Expect(dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2, name + " is centred in the work area", Describe(rect));
  }

  // ---- steps -----------------------------------------------------------

  void StartProgram() {
    std::string command = Quoted(options.gui);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    Expect(
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, work.c_str(), &startup, &gui) != 0,
        "trellane-gui.exe starts", options.gui);
    mainWindow = WaitFor("the main window", [&] { return FindProgramDialog(MainCaption); });
    Settle();
    Pass("trellane-gui.exe starts and shows \"Trellane   [by Quorvin]\"");
  }

  void CheckMainWindowAtStart() {
    Screenshot("main-window-at-start");
    CheckLiveControls(mainWindow, MainTemplate, "main window");
    Pass("main window: controls, kinds, identifiers, styles, places and order");
    for (const ControlRow& row : MainTemplate.controls)
      ExpectText(ItemText(row.id), row.text, "main window control " + std::to_string(row.id) + " text");
    Pass("main window: texts at start (status line empty)");
    Expect(IsChecked(1006) && !IsChecked(1007), "radio \"MENUEX\" checked at start, \"DIALOGEX\" not");
    Pass("main window: \"MENUEX\" checked at start");
    Expect(FocusOfProgram() == GetDlgItem(mainWindow, 1004), "the keyboard focus starts on \"..\"");
    Pass("main window: the focus starts on \"..\"");
    Expect(GetWindow(mainWindow, GW_OWNER) == nullptr, "the main window has no owner");
    ExpectCentred(mainWindow, "main window");
    Pass("main window: no owner, centred in the work area");
    PictureOf("main-window", WindowRect(mainWindow));
  }

  void CheckEscapeAndEnterInMainWindow() {
    PressKey(VK_ESCAPE);
    Expect(IsWindow(mainWindow) && IsWindowVisible(mainWindow), "Escape leaves the main window open");
    FocusControl(mainWindow, 1001);
    PressKey(VK_RETURN);
    Expect(IsWindow(mainWindow) && IsWindowVisible(mainWindow), "Enter in the source edit leaves the main window open");
    Expect(FindProgramDialog("Choose file") == nullptr && FindProgramDialog("About...") == nullptr,
           "Enter opens nothing");
    ExpectText(ItemText(1005), "", "status line after Escape and Enter");
    Screenshot("main-window-after-escape-and-enter");
    Pass("main window: Escape and Enter close nothing and change nothing");
  }

  void CheckAboutBox() {
    ClickLater(mainWindow, 1008);
    HWND about = AwaitDialog("About...");
    Settle();
    Expect(GetWindow(about, GW_OWNER) == mainWindow, "the About box is owned by the main window");
    Expect(!IsWindowEnabled(mainWindow), "the main window takes no input while the About box is open");
    CheckLiveControls(about, AboutTemplate, "About box");
    for (const ControlRow& row : AboutTemplate.controls)
      ExpectText(Text(GetDlgItem(about, row.id)), row.text, "About box control " + std::to_string(row.id) + " text");
    ExpectCentred(about, "About box");
    Screenshot("about-box");
    PictureOf("about-box", WindowRect(about));
    Pass("about: the About box opens over the main window with its texts and places");

    PressKey(VK_ESCAPE);
    PressKey(VK_RETURN);
    Expect(IsWindow(about) && IsWindowVisible(about), "Escape and Enter leave the About box open");
    Pass("About box: Escape and Enter close nothing");

    Click(about, 2003);
    AwaitGone(about, "the About box");
    Settle();
    Expect(IsWindowEnabled(mainWindow), "the main window takes input again after \"Peace\"");
    Pass("About box: \"Peace\" closes it");

    ClickLater(mainWindow, 1008);
    about = AwaitDialog("About...");
    PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    AwaitGone(about, "the About box");
    Settle();
    Screenshot("about-box-closed");
    Pass("About box: its close box closes it too");
  }

  // The file-name field of the open-file dialog.
  static HWND FileNameEdit(HWND fileDialog) {
    HWND combo = GetDlgItem(fileDialog, 0x47C);  // cmb13
    if (combo != nullptr) {
      HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
      if (edit == nullptr) {
        HWND inner = FindWindowExA(combo, nullptr, "ComboBox", nullptr);
        edit = inner != nullptr ? FindWindowExA(inner, nullptr, "Edit", nullptr) : nullptr;
      }
      if (edit != nullptr)
        return edit;
    }
    return GetDlgItem(fileDialog, 0x480);  // edt1
  }

  HWND OpenFileDialog() {
    ClickLater(mainWindow, 1004);
    HWND fileDialog = AwaitDialog("Choose file");
    Settle();
    return fileDialog;
  }

  // Browses through the real open-file dialog: types the path and confirms.
  void BrowseTo(const std::string& path, const std::string& picture) {
    HWND fileDialog = OpenFileDialog();
    HWND edit = FileNameEdit(fileDialog);
    Expect(edit != nullptr, "the open-file dialog has a file-name field");
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    Screenshot(picture);
    PostMessageA(GetDlgItem(fileDialog, IDOK), BM_CLICK, 0, 0);
    AwaitGone(fileDialog, "the open-file dialog");
    Settle();
  }

  void CheckBrowse() {
    // Cancel first: nothing may change.
    const std::string source = ItemText(1001);
    const std::string output = ItemText(1002);
    HWND fileDialog = OpenFileDialog();
    Expect(GetWindow(fileDialog, GW_OWNER) == mainWindow, "the open-file dialog is owned by the main window");
    HWND types = GetDlgItem(fileDialog, 0x470);  // cmb1
    Expect(types != nullptr, "the open-file dialog has a file-type list");
    ExpectText(Text(types), "Resource files", "the open-file dialog's file type");
    Screenshot("browse-open-file-dialog");
    PictureOf("open-file-dialog", WindowRect(fileDialog));
    Pass("browse: the open-file dialog \"Choose file\" opens over the main window with the \"Resource files\" filter");
    PostMessageA(GetDlgItem(fileDialog, IDCANCEL), BM_CLICK, 0, 0);
    AwaitGone(fileDialog, "the open-file dialog");
    Settle();
    ExpectText(ItemText(1001), source, "source path after a cancelled browse");
    ExpectText(ItemText(1002), output, "output path after a cancelled browse");
    ExpectText(ItemText(1005), "", "status line after a cancelled browse");
    Expect(IsChecked(1006) && !IsChecked(1007), "radios after a cancelled browse");
    Screenshot("browse-cancelled");
    Pass("browse cancelled: paths, radios and status line stay as they were");

    const std::string menuScript = WorkFile("menu.rc");
    BrowseTo(menuScript, "browse-typed-path");
    ExpectText(ItemText(1001), menuScript, "source path after a browse");
    ExpectText(ItemText(1002), WorkFile("menu.mnu"), "proposed output after a browse in Menu mode");
    ExpectText(ItemText(1005), "Ready to proceed!", "status line after a browse");
    Screenshot("browse-menu-mode");
    Pass("browse (MENUEX checked): source path, output \"menu.mnu\" in its folder, \"Ready to proceed!\"");

    Click(mainWindow, 1007);
    SetItemText(mainWindow, 1005, "");
    BrowseTo(WorkFile("dialog.rc"), "browse-typed-dialog-path");
    ExpectText(ItemText(1001), WorkFile("dialog.rc"), "source path after a browse");
    ExpectText(ItemText(1002), WorkFile("dialog.dlg"), "proposed output after a browse in Dialog mode");
    ExpectText(ItemText(1005), "Ready to proceed!", "status line after a browse");
    Expect(IsChecked(1007) && !IsChecked(1006), "radios after a browse in Dialog mode");
    Screenshot("browse-dialog-mode");
    Pass("browse (DIALOGEX checked): output \"dialog.dlg\" in the script's folder, \"Ready to proceed!\"");
    Click(mainWindow, 1006);
  }

  void ExtensionRow(const std::string& before, int radioBefore, int radio, const std::string& after) {
    Click(mainWindow, radioBefore);
    SetItemText(mainWindow, 1002, before);
    Click(mainWindow, radio);
    const std::string shown =
        before.size() > 40 ? before.substr(0, 20) + "...(" + std::to_string(before.size()) + ")" : before;
    ExpectText(ItemText(1002), after, "radio " + std::to_string(radio) + " on \"" + shown + "\"");
    Expect(IsChecked(radio) && !IsChecked(radio == 1006 ? 1007 : 1006), "radio " + std::to_string(radio) + " checked");
  }

  void CheckExtensionChanges() {
    const std::string source = ItemText(1001);
    const std::string status = ItemText(1005);
    ExtensionRow("D:\\dir\\file.rc", 1007, 1006, "D:\\dir\\file.mnu");
    ExtensionRow("D:\\dir\\file.rc", 1006, 1007, "D:\\dir\\file.dlg");
    ExtensionRow("D:\\my.dir\\file", 1007, 1006, "D:\\my.dir\\file.mnu");
    ExtensionRow("D:\\dir\\", 1007, 1006, "D:\\dir\\.mnu");
    ExtensionRow("archive.tar.rc", 1007, 1006, "archive.tar.mnu");
    ExtensionRow("menu", 1007, 1006, "menu");
    ExtensionRow(".rc", 1006, 1007, ".rc");
    ExtensionRow("", 1007, 1006, "");
    ExtensionRow("", 1006, 1007, "");
    ExtensionRow("x.dlg", 1006, 1006, "x.mnu");
    ExtensionRow("x.mnu", 1007, 1007, "x.dlg");
    // A text beyond 511 characters is cut there before the extension changes.
    const std::string longPath = "D:\\" + std::string(600, 'a');
    ExtensionRow(longPath, 1007, 1006, longPath.substr(0, 511) + ".mnu");
    ExpectText(ItemText(1001), source, "source path after the radio clicks");
    ExpectText(ItemText(1005), status, "status line after the radio clicks");
    SetItemText(mainWindow, 1002, "D:\\dir\\file.rc");
    Click(mainWindow, 1007);
    Screenshot("extension-change-dialog");
    Pass(
        "radios: every extension-change row (.mnu/.dlg, dots in folders, trailing backslash, last dot only, "
        "no dot, leading dot, empty, same radio again, 511-character cut); source and status untouched");
    Click(mainWindow, 1006);
  }

  // Sets the paths and the mode, and converts; returns the status line.
  std::string Convert(const std::string& source, const std::string& output, int radio) {
    Click(mainWindow, radio);
    SetItemText(mainWindow, 1001, source);
    SetItemText(mainWindow, 1002, output);
    Click(mainWindow, 1003);
    Settle();
    return ItemText(1005);
  }

  void ExpectSameFiles(const std::string& guiFile, const std::string& cliFile, const std::string& what) {
    std::string guiBytes;
    std::string cliBytes;
    Expect(ReadFileBytes(guiFile, guiBytes), what + ": trellane-gui.exe wrote " + guiFile);
    Expect(ReadFileBytes(cliFile, cliBytes), what + ": trellane.exe wrote " + cliFile);
    Expect(!guiBytes.empty(), what + ": the written file is not empty");
    Expect(guiBytes == cliBytes, what + ": the two files are identical",
           std::to_string(guiBytes.size()) + " and " + std::to_string(cliBytes.size()) + " bytes");
  }

  void CheckConversions() {
    ExpectText(Convert(WorkFile("menu.rc"), WorkFile("window.mnu"), 1006), "Surgery is over!",
               "status line after a Menu conversion");
    Screenshot("convert-menu");
    Expect(RunCommandLine("menu " + Quoted(WorkFile("menu.rc")) + " -o " + Quoted(WorkFile("command-line.mnu"))) == 0,
           "trellane.exe menu succeeds");
    ExpectSameFiles(WorkFile("window.mnu"), WorkFile("command-line.mnu"), "Menu mode");
    Pass("convert (MENUEX): \"Surgery is over!\", the file is identical to trellane.exe's");

    ExpectText(Convert(WorkFile("dialog.rc"), WorkFile("window.dlg"), 1007), "Surgery is over!",
               "status line after a Dialog conversion");
    Screenshot("convert-dialog");
    Expect(
        RunCommandLine("dialog " + Quoted(WorkFile("dialog.rc")) + " -o " + Quoted(WorkFile("command-line.dlg"))) == 0,
        "trellane.exe dialog succeeds");
    ExpectSameFiles(WorkFile("window.dlg"), WorkFile("command-line.dlg"), "Dialog mode");
    Pass("convert (DIALOGEX): \"Surgery is over!\", the file is identical to trellane.exe's");

    // A script of MENU and DIALOG resources converts in both modes as well.
    ExpectText(Convert(WorkFile("plain.rc"), WorkFile("plain-window.mnu"), 1006), "Surgery is over!",
               "status line after a Menu conversion of a MENU script");
    Expect(RunCommandLine("menu " + Quoted(WorkFile("plain.rc")) + " -o " + Quoted(WorkFile("plain-command.mnu"))) == 0,
           "trellane.exe menu succeeds on a MENU script");
    ExpectSameFiles(WorkFile("plain-window.mnu"), WorkFile("plain-command.mnu"), "Menu mode, MENU script");
    ExpectText(Convert(WorkFile("plain.rc"), WorkFile("plain-window.dlg"), 1007), "Surgery is over!",
               "status line after a Dialog conversion of a DIALOG script");
    Expect(
        RunCommandLine("dialog " + Quoted(WorkFile("plain.rc")) + " -o " + Quoted(WorkFile("plain-command.dlg"))) == 0,
        "trellane.exe dialog succeeds on a DIALOG script");
    ExpectSameFiles(WorkFile("plain-window.dlg"), WorkFile("plain-command.dlg"), "Dialog mode, DIALOG script");
    Pass("convert (MENU and DIALOG): \"Surgery is over!\", the files are identical to trellane.exe's");
  }

  // Starts a Dialog conversion of the script with a MENU statement and
  // returns the prompt it opens.
  HWND ConvertUntilPrompt(const std::string& output) {
    Click(mainWindow, 1007);
    SetItemText(mainWindow, 1001, WorkFile("dialog-menu.rc"));
    SetItemText(mainWindow, 1002, output);
    SetItemText(mainWindow, 1005, "");
    ClickLater(mainWindow, 1003);
    HWND prompt = AwaitDialog("MENU detected");
    Settle();
    return prompt;
  }

  std::string MenuNameSlot(const std::string& file) {
    std::string bytes;
    Expect(ReadFileBytes(file, bytes) && bytes.size() >= 72, "the dialog file holds a header", file);
    return bytes.substr(40, 32);
  }

  void CheckMenuNamePrompt() {
    const std::string named = WorkFile("named.dlg");
    HWND prompt = ConvertUntilPrompt(named);
    Expect(GetWindow(prompt, GW_OWNER) == mainWindow, "the prompt is owned by the main window");
    Expect(!IsWindowEnabled(mainWindow), "the main window takes no input while the prompt is open");
    CheckLiveControls(prompt, PromptTemplate, "prompt");
    for (const ControlRow& row : PromptTemplate.controls)
      ExpectText(Text(GetDlgItem(prompt, row.id)), row.text, "prompt control " + std::to_string(row.id) + " text");
    POINT origin{0, 0};
    ClientToScreen(mainWindow, &origin);
    const BaseUnits units = FontBaseUnits(PromptTemplate.pointSize);
    // As for every dialog, the template's place is that of the client area.
    POINT promptOrigin{0, 0};
    ClientToScreen(prompt, &promptOrigin);
    const long expectedLeft = origin.x + MulDiv(5, units.x, 4);
    const long expectedTop = origin.y + MulDiv(6, units.y, 8);
    Expect(promptOrigin.x == expectedLeft && promptOrigin.y == expectedTop,
           "the prompt opens at 5, 6 of the main window's client area",
           "client area at (" + std::to_string(promptOrigin.x) + "," + std::to_string(promptOrigin.y) +
               "), expected (" + std::to_string(expectedLeft) + "," + std::to_string(expectedTop) + ")");
    const RECT place = WindowRect(prompt);
    Pass("\"MENU detected\": opens over the main window at 5, 6 of its client area with its controls and texts");

    SetItemText(prompt, 3002, "mainmenu.mnu");
    Screenshot("menu-prompt");
    RECT both = WindowRect(mainWindow);
    UnionRect(&both, &both, &place);
    PictureOf("menu-prompt", both);
    PressKey(VK_ESCAPE);
    FocusControl(prompt, 3002);
    PressKey(VK_RETURN);
    Expect(IsWindow(prompt) && IsWindowVisible(prompt), "Escape and Enter leave the prompt open");
    Pass("\"MENU detected\": Escape and Enter close nothing");
    Click(prompt, 3003);
    AwaitGone(prompt, "the prompt");
    Settle();
    ExpectText(ItemText(1005), "Surgery is over!", "status line after a conversion with a menu name");
    const std::string slot = MenuNameSlot(named);
    ExpectText(slot.substr(0, slot.find('\0')), "mainmenu.mnu", "menuName at offset 40");
    Expect(slot.find_first_not_of('\0', 12) == std::string::npos, "menuName is zero after the name");
    Expect(RunCommandLine("dialog " + Quoted(WorkFile("dialog-menu.rc")) + " --menu-name mainmenu.mnu -o " +
                          Quoted(WorkFile("named-command-line.dlg"))) == 0,
           "trellane.exe dialog --menu-name succeeds");
    ExpectSameFiles(named, WorkFile("named-command-line.dlg"), "Dialog mode with a menu name");
    Screenshot("menu-prompt-ok");
    Pass("\"MENU detected\": \"OK\" puts the typed name into menuName (offset 40); file identical to trellane.exe's");

    const std::string unnamed = WorkFile("unnamed.dlg");
    prompt = ConvertUntilPrompt(unnamed);
    SetItemText(prompt, 3002, "typed-but-not-taken.mnu");
    PostMessageA(prompt, WM_SYSCOMMAND, SC_CLOSE, 0);
    AwaitGone(prompt, "the prompt");
    Settle();
    ExpectText(ItemText(1005), "Surgery is over!", "status line after a conversion without a menu name");
    Expect(MenuNameSlot(unnamed) == std::string(32, '\0'), "menuName stays zero when the prompt is closed");
    Expect(RunCommandLine("dialog " + Quoted(WorkFile("dialog-menu.rc")) + " -o " +
                          Quoted(WorkFile("unnamed-command-line.dlg"))) == 0,
           "trellane.exe dialog succeeds");
    ExpectSameFiles(unnamed, WorkFile("unnamed-command-line.dlg"), "Dialog mode without a menu name");
    Screenshot("menu-prompt-closed");
    Pass("\"MENU detected\": its close box takes nothing, menuName stays zero, the file is still written");
  }

  void CheckFailureStatuses() {
    ExpectText(Convert(WorkFile("menu.rc"), WorkFile("again.mnu"), 1006), "Surgery is over!", "a conversion first");
    const std::string neverWritten = WorkFile("never.mnu");
    ExpectText(Convert(WorkFile("missing.rc"), neverWritten, 1006), "Cannot open the script!",
               "status line for a missing script");
    Expect(!Exists(neverWritten), "no output for a missing script");
    Screenshot("failure-missing-script");
    Pass("convert, missing script: \"Cannot open the script!\" replaces \"Surgery is over!\", nothing written");

    const std::string kept = WorkFile("kept.mnu");
    const std::string keptBytes = "bytes that must stay";
    WriteFileBytes(kept, keptBytes);
    ExpectText(Convert(WorkFile("dialog.rc"), kept, 1006), "No MENUEX resource found!",
               "status line for a script without MENUEX");
    std::string after;
    Expect(ReadFileBytes(kept, after) && after == keptBytes, "an existing output keeps its bytes");
    Screenshot("failure-no-menuex");
    ExpectText(Convert(WorkFile("menu.rc"), kept, 1007), "No DIALOGEX resource found!",
               "status line for a script without DIALOGEX");
    Expect(ReadFileBytes(kept, after) && after == keptBytes, "an existing output keeps its bytes");
    Screenshot("failure-no-dialogex");
    Pass("convert, script without the keyword: \"No MENUEX/DIALOGEX resource found!\", existing output kept");

    std::string script;
    Expect(ReadFileBytes(WorkFile("menu.rc"), script), "the script is readable");
    ExpectText(Convert(WorkFile("menu.rc"), WorkFile("menu.rc"), 1006), "Cannot write the output!",
               "status line for an output equal to the script");
    Expect(ReadFileBytes(WorkFile("menu.rc"), after) && after == script, "the script is left unchanged");
    Screenshot("failure-output-is-script");
    Pass("convert, output equal to the script: \"Cannot write the output!\", the script unchanged");
  }

  void CheckCloseEndsTheProgram() {
    PostMessageA(mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    Expect(WaitForSingleObject(gui.hProcess, static_cast<DWORD>(WaitLimit.count() * 1000)) == WAIT_OBJECT_0,
           "the program ends when its window closes");
    DWORD code = 1;
    GetExitCodeProcess(gui.hProcess, &code);
    Expect(code == 0, "exit code 0", std::to_string(code));
    Pass("close box: the program ends with exit code 0");
  }

  Options options;
  std::string scripts;
  std::string work;
  PROCESS_INFORMATION gui{};
  HWND mainWindow = nullptr;
  int passed = 0;
  int shots = 0;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const std::string value = argv[i + 1];
    if (name == "--gui")
      options.gui = value;
    else if (name == "--cli")
      options.cli = value;
    else if (name == "--scripts")
      options.scripts = value;
    else if (name == "--work")
      options.work = value;
    else if (name == "--artifacts")
      options.artifacts = value;
    else
      return false;
  }
  return argc % 2 == 1 && !options.gui.empty() && !options.cli.empty() && !options.scripts.empty() &&
         !options.work.empty() && !options.artifacts.empty();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(
        stderr,
        "usage: trellane-gui-driver --gui GUI.exe --cli trellane.exe --scripts DIR --work DIR --artifacts DIR\n");
    return 2;
  }
  return Driver(std::move(options)).Run();
}
