#include "tests/oracle/ScriptGenerator.h"

#include <array>
#include <cstdio>
#include <random>
#include <string_view>
#include <vector>

// The scripts keep to what llvm-rc-19 reads as rc.exe does, so they leave out:
// - '*' and '/' (llvm-rc-19 has no such operators, so no division by zero either);
// - one unary operator straight after another ("- -1", "~~1", "NOT ~1"): llvm-rc
//   and rc.exe compute these differently;
// - NOT outside control styles (llvm-rc takes it as 0 there, the value dropped);
// - U suffixes and numbers beyond 32 bits (llvm-rc rejects them), decimal
//   numbers with a leading zero (octal for llvm-rc, 0o-prefixed in rc.exe);
// - coordinates outside 16 bits and identifiers above 16 bits in a DIALOG or a
//   MENU (llvm-rc rejects them);
// - empty pop-ups: their templates cannot tell their items from the next ones;
// - MENUITEM SEPARATOR in a MENUEX and texts made of adjacent strings (llvm-rc
//   rejects them), \" in texts (llvm-rc ends the string there), upper-case
//   escapes such as \T, non-ASCII bytes outside escapes, and escapes that give
//   zero (the text would end there);
// - help identifiers of controls in a DIALOG and FONT values beyond two there;
// - STYLE with DS_SETFONT but no FONT (llvm-rc drops the bit);
// - control statements in lower or mixed case (llvm-rc gives them no default
//   style), though other keywords come in any case;
// - resource names in quotes and MENU statements naming an identifier
//   (llvm-rc reads neither).

namespace trellane {
namespace {

// An expression's tokens and its value as llvm-rc computes it, when the
// generator knows it (it does not for the Windows headers' constants).
struct Expression {
  std::vector<std::string> tokens;
  std::uint32_t value = 0;
  bool known = true;
};

enum class Use {
  Number,  // the value matters: it must fit its field
  Flags,   // any value; the Windows headers' constants may stand in it
  Style,   // as Flags, and NOT as well
};

constexpr std::array<std::string_view, 24> StyleConstants{
    "WS_CHILD",        "WS_VISIBLE",  "WS_TABSTOP",     "WS_GROUP",     "WS_BORDER",   "WS_DISABLED",
    "WS_VSCROLL",      "WS_HSCROLL",  "SS_LEFT",        "SS_CENTER",    "SS_NOTIFY",   "BS_PUSHBUTTON",
    "BS_AUTOCHECKBOX", "BS_GROUPBOX", "ES_AUTOHSCROLL", "ES_MULTILINE", "ES_READONLY", "CBS_DROPDOWNLIST",
    "CBS_SORT",        "LBS_NOTIFY",  "LBS_SORT",       "SBS_VERT",     "SS_ICON",     "BS_DEFPUSHBUTTON",
};
constexpr std::array<std::string_view, 6> DialogStyleConstants{"WS_POPUP",      "WS_CAPTION", "WS_SYSMENU",
                                                               "DS_MODALFRAME", "DS_CENTER",  "WS_THICKFRAME"};
constexpr std::array<std::string_view, 5> ExStyleConstants{"WS_EX_CLIENTEDGE", "WS_EX_TRANSPARENT", "WS_EX_STATICEDGE",
                                                           "WS_EX_TOOLWINDOW", "WS_EX_CONTROLPARENT"};
constexpr std::array<std::string_view, 4> MenuTypeConstants{"MFT_STRING", "MFT_RIGHTJUSTIFY", "MFT_RADIOCHECK",
                                                            "MFT_MENUBARBREAK"};
constexpr std::array<std::string_view, 4> MenuStateConstants{"MFS_CHECKED", "MFS_GRAYED", "MFS_DEFAULT", "MFS_HILITE"};
constexpr std::array<std::string_view, 6> MenuOptions{"CHECKED",      "GRAYED",    "INACTIVE",
                                                      "MENUBARBREAK", "MENUBREAK", "HELP"};
constexpr std::array<std::string_view, 8> ControlClasses{"Button",    "Edit",     "Static",        "ListBox",
                                                         "scrollbar", "COMBOBOX", "SysListView32", "msctls_progress32"};
constexpr std::array<std::string_view, 4> FontFaces{"MS Shell Dlg", "Tahoma", "Segoe UI", "MS Sans Serif"};
constexpr std::array<std::string_view, 5> WideCharacters{"00E9", "263A", "4E2D", "00C5", "20AC"};

// The short control statements: whether each has a text before its identifier.
struct ShortStatement {
  std::string_view keyword;
  bool hasText;
};
constexpr std::array<ShortStatement, 18> ShortStatements{{
    {"LTEXT", true},
    {"RTEXT", true},
    {"CTEXT", true},
    {"PUSHBUTTON", true},
    {"DEFPUSHBUTTON", true},
    {"PUSHBOX", true},
    {"CHECKBOX", true},
    {"AUTOCHECKBOX", true},
    {"STATE3", true},
    {"AUTO3STATE", true},
    {"RADIOBUTTON", true},
    {"AUTORADIOBUTTON", true},
    {"GROUPBOX", true},
    {"EDITTEXT", false},
    {"COMBOBOX", false},
    {"LISTBOX", false},
    {"SCROLLBAR", false},
    {"ICON", true},
}};

class ScriptWriter {
 public:
  explicit ScriptWriter(std::uint32_t seed) : random(seed) {}

  std::string Write(int resourceCount) {
    withHeaders = Chance(60);
    for (int index = 0; index < resourceCount; ++index) {
      if (Chance(10))
        Statement({Keyword("LANGUAGE"), Number(Between(0, 0x3F)), ",", Number(Between(0, 0x1F))});
      if (Chance(10))
        OtherResource();
      switch (Between(0, 3)) {
        case 0:
          WriteDialog(true);
          break;
        case 1:
          WriteDialog(false);
          break;
        case 2:
          WriteMenu(true);
          break;
        default:
          WriteMenu(false);
          break;
      }
    }
    return Prelude() + body;
  }

 private:
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
  std::uint32_t AnyBits() { return std::uniform_int_distribution<std::uint32_t>()(random); }
  bool Chance(int percent) { return Between(1, 100) <= percent; }

  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& choices) {
    return choices[static_cast<std::size_t>(Between(0, static_cast<int>(N) - 1))];
  }

  std::string Keyword(std::string_view word) {
    std::string spelled(word);
    if (Chance(8)) {
      for (std::size_t i = 1; i < spelled.size(); ++i) {
        if (spelled[i] >= 'A' && spelled[i] <= 'Z')
          spelled[i] = static_cast<char>(spelled[i] - 'A' + 'a');
      }
    }
    return spelled;
  }

  std::string Separator() {
    switch (Between(0, 19)) {
      case 0:
        return "\n    ";
      case 1:
        return " /* note */ ";
      case 2:
        return " // note\n    ";
      case 3:
        return "\t";
      default:
        return " ";
    }
  }

  // One statement of the script: its tokens with spaces, comments or line
  // breaks between them.
  void Statement(const std::vector<std::string>& tokens) {
    body += "  ";
    for (std::size_t i = 0; i < tokens.size(); ++i) {
      if (i > 0)
        body += tokens[i] == "," && Chance(70) ? "" : Separator();
      body += tokens[i];
    }
    body += Chance(10) ? "  // end\n" : "\n";
  }

  static void Append(std::vector<std::string>& tokens, const std::vector<std::string>& more) {
    tokens.insert(tokens.end(), more.begin(), more.end());
  }

  std::string Number(std::uint32_t value) {
    std::string text;
    if (Chance(40)) {
      char hex[16];
      std::snprintf(hex, sizeof hex, Chance(50) ? "%X" : "%x", value);
      text = (Chance(80) ? "0x" : "0X") + std::string(hex);
    } else {
      text = std::to_string(value);
    }
    if (Chance(10))
      text += Chance(50) ? "L" : "l";
    return text;
  }
  std::string Number(int value) { return Number(static_cast<std::uint32_t>(value)); }

  // A term that starts with no unary operator.
  Expression Operand(int depth, Use use) {
    Expression term;
    const int choice = Between(0, depth > 0 ? 9 : 5);
    if (choice <= 2 || (choice == 3 && use == Use::Number)) {
      term.value = use == Use::Number ? static_cast<std::uint32_t>(Between(0, 300)) : AnyBits();
      term.tokens = {Number(term.value)};
    } else if (choice == 3 && withHeaders) {
      term.known = false;
      term.tokens = {std::string(Pick(StyleConstants))};
    } else if (choice <= 5) {
      const int define = Between(0, static_cast<int>(defineValues.size()) - 1);
      term.value = defineValues[static_cast<std::size_t>(define)];
      if (Chance(20))
        term.tokens = {"CAT", "(", "IDV_", ",", std::to_string(define), ")"};
      else
        term.tokens = {"IDV_" + std::to_string(define)};
    } else if (choice <= 7) {
      const bool sum = Chance(50);
      const Expression left = Expr(depth - 1, use);
      const Expression right = Expr(depth - 1, use);
      term.tokens = {sum ? "SUM" : "BITS", "("};
      Append(term.tokens, left.tokens);
      term.tokens.push_back(",");
      Append(term.tokens, right.tokens);
      term.tokens.push_back(")");
      term.value = sum ? left.value + right.value : left.value | right.value;
      term.known = left.known && right.known;
    } else {
      const Expression inner = Expr(depth - 1, use);
      term.tokens = {"("};
      Append(term.tokens, inner.tokens);
      term.tokens.push_back(")");
      term.value = inner.value;
      term.known = inner.known;
    }
    return term;
  }

  Expression Term(int depth, Use use) {
    const int choice = Between(0, 9);
    if (choice >= 3)
      return Operand(depth, use);
    Expression operand = Operand(depth, use);
    if (choice == 0 && use == Use::Style) {
      operand.tokens.insert(operand.tokens.begin(), Keyword("NOT"));
      operand.value = 0;
      operand.known = false;
    } else if (choice == 1) {
      operand.tokens.insert(operand.tokens.begin(), "-");
      operand.value = 0u - operand.value;
    } else {
      operand.tokens.insert(operand.tokens.begin(), "~");
      operand.value = ~operand.value;
    }
    return operand;
  }

  // llvm-rc gives + - | & one precedence and reads them left to right.
  Expression Expr(int depth, Use use) {
    Expression expression = Term(depth, use);
    const int operators = Between(0, depth > 0 ? 3 : 1);
    for (int i = 0; i < operators; ++i) {
      static constexpr std::array<std::string_view, 4> Operators{"+", "-", "|", "&"};
      const std::string_view op = Pick(Operators);
      const Expression next = Term(depth, use);
      expression.tokens.emplace_back(op);
      Append(expression.tokens, next.tokens);
      if (op == "+")
        expression.value += next.value;
      else if (op == "-")
        expression.value -= next.value;
      else if (op == "|")
        expression.value |= next.value;
      else
        expression.value &= next.value;
      expression.known = expression.known && next.known;
    }
    return expression;
  }

  // An expression whose value, read as a signed 32-bit number, lies in
  // [low, high]; a plain number when none turns up.
  std::vector<std::string> NumberIn(std::int64_t low, std::int64_t high) {
    for (int attempt = 0; attempt < 8; ++attempt) {
      const Expression expression = Expr(Between(0, 2), Use::Number);
      const auto value = static_cast<std::int32_t>(expression.value);
      if (expression.known && value >= low && value <= high)
        return expression.tokens;
    }
    return {Number(static_cast<std::uint32_t>(Between(0, static_cast<int>(std::min<std::int64_t>(high, 300)))))};
  }

  std::vector<std::string> Flags(Use use, std::string_view constant = {}) {
    if (Chance(30))
      return {Number(Chance(50) ? AnyBits() : static_cast<std::uint32_t>(Between(0, 15)))};
    Expression expression = Expr(Between(0, 2), use);
    if (!constant.empty() && withHeaders && Chance(50)) {
      expression.tokens.emplace_back("|");
      expression.tokens.emplace_back(constant);
    }
    return expression.tokens;
  }

  std::vector<std::string> Coordinate() { return NumberIn(-300, 1000); }

  std::string Text(bool allowWide = true) {
    const bool wide = allowWide && Chance(20);
    std::string text = wide ? "L\"" : "\"";
    const int length = Between(0, 12);
    for (int i = 0; i < length; ++i) {
      const int choice = Between(0, 39);
      char buffer[16];
      if (choice == 0) {
        text += "\"\"";
      } else if (choice == 1) {
        text += Chance(50) ? "\\t" : "\\n";
      } else if (choice == 2) {
        text += "\\\\";
      } else if (choice == 3) {
        if (wide && Chance(50)) {
          text += "\\x" + std::string(Pick(WideCharacters));
        } else {
          std::snprintf(buffer, sizeof buffer, wide ? "\\x%04X" : "\\x%02x", Between(0x20, 0x7E));
          text += buffer;
        }
      } else if (choice == 4) {
        std::snprintf(buffer, sizeof buffer, "\\%03o", Between(040, 0176));
        text += buffer;
      } else if (choice == 5) {
        text += Chance(50) ? "//" : "/*";
      } else if (choice == 6) {
        text += Chance(50) ? "\\r" : "\\a";
      } else if (choice == 7) {
        text += '&';
      } else {
        char c = static_cast<char>(Between(0x20, 0x7E));
        if (c == '"' || c == '\\')
          c = 'q';
        text += c;
      }
    }
    return text + "\"";
  }

  std::string Face() { return "\"" + std::string(Pick(FontFaces)) + "\""; }

  std::string ResourceName(const char* prefix) {
    const int index = nextName++;
    switch (Between(0, 2)) {
      case 0:
        return std::to_string(100 + index * 7);
      case 1:
        return std::string(Chance(50) ? prefix : "res") + "_" + std::to_string(index);
      default: {
        std::string name = std::string(prefix) + std::to_string(index);
        names.push_back("#define " + name + " " + std::to_string(200 + index * 3));
        return name;
      }
    }
  }

  std::string Begin() { return Chance(20) ? "{" : Keyword("BEGIN"); }
  std::string End(const std::string& begin) { return begin == "{" ? "}" : Keyword("END"); }

  void WriteDialog(bool extended) {
    std::vector<std::string> header{ResourceName("IDD_"), Keyword(extended ? "DIALOGEX" : "DIALOG")};
    if (Chance(10))
      header.push_back(Keyword(Chance(50) ? "DISCARDABLE" : "MOVEABLE"));
    for (int i = 0; i < 4; ++i) {
      if (i > 0)
        header.emplace_back(",");
      Append(header, i < 2 ? Coordinate() : NumberIn(0, 1000));
    }
    if (extended && Chance(30)) {
      header.emplace_back(",");
      Append(header, Flags(Use::Number));
    }
    Statement(header);

    bool font = false;
    const int statements = Between(0, 6);
    for (int i = 0; i < statements; ++i) {
      switch (Between(0, 8)) {
        case 0: {
          std::vector<std::string> style{Keyword("STYLE")};
          Append(style, Flags(Use::Flags, Pick(DialogStyleConstants)));
          // llvm-rc drops DS_SETFONT from a dialog without FONT, and a DIALOG
          // style whose high word is 0xFFFF would read as a DIALOGEX.
          if (!font || !extended)
            Append(style, {"&", "~", Number(static_cast<std::uint32_t>((font ? 0 : 0x40) | (extended ? 0 : 0x10000)))});
          Statement(style);
          break;
        }
        case 1: {
          std::vector<std::string> exStyle{Keyword("EXSTYLE")};
          Append(exStyle, Flags(Use::Flags, Pick(ExStyleConstants)));
          Statement(exStyle);
          break;
        }
        case 2:
          Statement({Keyword("CAPTION"), Text()});
          break;
        case 3:
          if (Chance(50)) {
            Statement({Keyword("CLASS"), Text(false)});
          } else {
            Statement({Keyword("CLASS"), Number(Between(1, 0x7FFF))});
          }
          break;
        case 4: {
          font = true;
          std::vector<std::string> fontStatement{Keyword("FONT")};
          Append(fontStatement, NumberIn(1, 72));
          fontStatement.emplace_back(",");
          fontStatement.push_back(Face());
          const int more = extended ? Between(0, 3) : 0;
          const std::array<std::pair<int, int>, 3> ranges{{{0, 1000}, {0, 1}, {0, 255}}};
          for (std::size_t value = 0; value < static_cast<std::size_t>(more); ++value) {
            fontStatement.emplace_back(",");
            Append(fontStatement, NumberIn(ranges[value].first, ranges[value].second));
          }
          Statement(fontStatement);
          break;
        }
        case 5:
          if (Chance(50)) {
            Statement({Keyword("MENU"), Text(false)});
          } else {
            Statement({Keyword("MENU"), Number(Between(1, 0x7FFF))});
          }
          break;
        case 6:
          Statement({Keyword("LANGUAGE"), Number(Between(0, 0x3F)), ",", Number(Between(0, 0x1F))});
          break;
        case 7: {
          std::vector<std::string> characteristics{Keyword("CHARACTERISTICS")};
          Append(characteristics, Flags(Use::Number));
          Statement(characteristics);
          break;
        }
        default: {
          std::vector<std::string> version{Keyword("VERSION")};
          Append(version, Flags(Use::Number));
          Statement(version);
          break;
        }
      }
    }

    const std::string begin = Begin();
    Statement({begin});
    const int controls = Between(0, 7);
    for (int i = 0; i < controls; ++i) {
      if (Chance(5)) {
        body += "#ifdef NEVER_DEFINED\n  CONTROL \"skipped\", 1, 2\n#else\n";
        WriteControl(extended);
        body += "#endif\n";
      } else {
        WriteControl(extended);
      }
    }
    Statement({End(begin)});
  }

  void WriteControl(bool extended) {
    // A DIALOG holds 16-bit identifiers; llvm-rc takes -1 as 0xFFFF.
    const std::vector<std::string> id =
        extended || Chance(90) ? NumberIn(-1, extended ? 0x7FFFFFFF : 0xFFFF) : std::vector<std::string>{"-", "1"};
    const bool isControl = Chance(30);
    std::vector<std::string> tokens;
    int optional = 0;
    if (isControl) {
      tokens = {"CONTROL"};
      if (Chance(15)) {
        tokens.push_back(Number(Between(0, 0xFFFF)));
      } else {
        tokens.push_back(Chance(10) ? "STR(word)" : Text());
      }
      tokens.emplace_back(",");
      Append(tokens, id);
      tokens.emplace_back(",");
      tokens.push_back("\"" + std::string(Pick(ControlClasses)) + "\"");
      tokens.emplace_back(",");
      Append(tokens, Flags(Use::Style, Pick(StyleConstants)));
      optional = Between(0, extended ? 2 : 1);
    } else {
      const ShortStatement& statement = Pick(ShortStatements);
      tokens = {std::string(statement.keyword)};
      if (statement.hasText) {
        if (statement.keyword == "ICON" && Chance(50))
          tokens.push_back(Number(Between(1, 0x7FFF)));
        else
          tokens.push_back(Text());
        tokens.emplace_back(",");
      }
      Append(tokens, id);
      optional = Between(0, extended ? 3 : 2);
    }
    for (int i = 0; i < 4; ++i) {
      tokens.emplace_back(",");
      Append(tokens, i < 2 ? Coordinate() : NumberIn(0, 500));
    }
    for (int i = 0; i < optional; ++i) {
      tokens.emplace_back(",");
      const bool style = !isControl && i == 0;
      const bool exStyle = isControl ? i == 0 : i == 1;
      if (style)
        Append(tokens, Flags(Use::Style, Pick(StyleConstants)));
      else if (exStyle)
        Append(tokens, Flags(Use::Flags, Pick(ExStyleConstants)));
      else
        Append(tokens, Flags(Use::Number));
    }
    Statement(tokens);
  }

  void WriteMenu(bool extended) {
    std::vector<std::string> header{ResourceName("IDR_"), Keyword(extended ? "MENUEX" : "MENU")};
    if (Chance(10))
      header.push_back(Keyword("DISCARDABLE"));
    Statement(header);
    if (!extended && Chance(20))
      Statement({Keyword("LANGUAGE"), Number(Between(0, 0x3F)), ",", Number(Between(0, 0x1F))});
    WriteMenuItems(extended, 0);
  }

  void WriteMenuItems(bool extended, int depth) {
    const std::string begin = Begin();
    Statement({begin});
    const int count = Between(1, 4);
    for (int i = 0; i < count; ++i) {
      const bool popup = depth < 3 && Chance(depth == 0 ? 50 : 25);
      if (extended)
        WriteMenuExItem(popup, depth);
      else
        WriteMenuItem(popup, depth);
    }
    Statement({End(begin)});
  }

  void WriteMenuItem(bool popup, int depth) {
    if (!popup && Chance(15)) {
      Statement({Keyword("MENUITEM"), Keyword("SEPARATOR")});
      return;
    }
    std::vector<std::string> tokens{Keyword(popup ? "POPUP" : "MENUITEM"), Text()};
    if (!popup) {
      tokens.emplace_back(",");
      Append(tokens, NumberIn(-1, 0xFFFF));
    }
    const int options = Chance(60) ? 0 : Between(1, 3);
    for (int i = 0; i < options; ++i) {
      tokens.emplace_back(",");
      tokens.push_back(Keyword(Pick(MenuOptions)));
    }
    Statement(tokens);
    if (popup)
      WriteMenuItems(false, depth + 1);
  }

  void WriteMenuExItem(bool popup, int depth) {
    std::vector<std::string> tokens{Keyword(popup ? "POPUP" : "MENUITEM"), Text()};
    // id, type, state and, for a pop-up, help id; a field may be left empty
    // when one after it is given.
    const int fields = Between(0, popup ? 4 : 3);
    for (int i = 0; i < fields; ++i) {
      tokens.emplace_back(",");
      if (i < fields - 1 && Chance(25))
        continue;
      if (i == 1)
        Append(tokens, Flags(Use::Flags, Pick(MenuTypeConstants)));
      else if (i == 2)
        Append(tokens, Flags(Use::Flags, Pick(MenuStateConstants)));
      else
        Append(tokens, Flags(Use::Number));
    }
    Statement(tokens);
    if (popup)
      WriteMenuItems(true, depth + 1);
  }

  void OtherResource() {
    const int index = nextName++;
    const std::string begin = Begin();
    switch (Between(0, 3)) {
      case 0:
        Statement({Keyword("STRINGTABLE"), begin, std::to_string(1000 + index), Text(), End(begin)});
        break;
      case 1:
        Statement(
            {"data_" + std::to_string(index), Keyword("RCDATA"), begin, "1", ",", "2L", ",", "\"abc\"", End(begin)});
        break;
      case 2:
        Statement({"keys_" + std::to_string(index), Keyword("ACCELERATORS"), begin, "\"A\"", ",", "10", ",", "VIRTKEY",
                   ",", "CONTROL", End(begin)});
        break;
      default:
        Statement({std::to_string(300 + index), "MYDATA", begin, "0x1234", ",", "\"x\"", End(begin)});
        break;
    }
  }

  std::string Prelude() {
    std::string prelude = "// generated\n";
    if (withHeaders)
      prelude += Chance(50) ? "#include <windows.h>\n" : "#include \"winres.h\"\n";
    prelude +=
        "#define SUM(a, b) ((a) + (b))\n"
        "#define BITS(a, b) ((a) | (b))\n"
        "#define CAT(a, b) a##b\n"
        "#define STR(x) #x\n";
    for (std::size_t i = 0; i < defineValues.size(); ++i)
      prelude += "#define IDV_" + std::to_string(i) + " " + defineTexts[i] + "\n";
    for (const std::string& name : names)
      prelude += name + "\n";
    return prelude;
  }

 public:
  // The defines the expressions draw on, chosen before the body: some through
  // #if/#elif/#else.
  void ChooseDefines() {
    const int count = Between(2, 6);
    for (int i = 0; i < count; ++i) {
      const auto value = static_cast<std::uint32_t>(Between(0, 200));
      defineValues.push_back(value);
      if (Chance(30)) {
        const auto half = static_cast<std::uint32_t>(Between(0, static_cast<int>(value)));
        defineTexts.push_back("(" + std::to_string(half) + " + " + std::to_string(value - half) + ")");
      } else {
        defineTexts.push_back(std::to_string(value));
      }
    }
    const int mode = Between(0, 2);
    const auto chosen = static_cast<std::uint32_t>(Between(0, 50));
    std::string conditional = "#define MODE " + std::to_string(mode) + "\n";
    for (int branch = 0; branch < 3; ++branch) {
      conditional += branch == 0 ? "#if MODE == 0\n" : branch == 1 ? "#elif defined(MODE) && MODE == 1\n" : "#else\n";
      conditional += "#define IDV_CHOSEN " + std::to_string(branch == mode ? chosen : chosen + 1000) + "\n";
    }
    conditional += "#endif";
    defineValues.push_back(chosen);
    defineTexts.push_back("IDV_CHOSEN");
    names.push_back(conditional);
  }

 private:
  std::mt19937 random;
  bool withHeaders = false;
  int nextName = 0;
  std::vector<std::uint32_t> defineValues;
  std::vector<std::string> defineTexts;
  std::vector<std::string> names;  // #define lines and conditionals, written after the IDV_ defines
  std::string body;
};

}  // namespace

std::string GenerateResourceScript(std::uint32_t seed, int resourceCount) {
  ScriptWriter writer(seed);
  writer.ChooseDefines();
  return writer.Write(resourceCount);
}

}  // namespace trellane
