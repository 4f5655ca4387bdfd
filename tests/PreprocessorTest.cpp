#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "script/Lexer.h"
#include "script/Preprocessor.h"
#include "script/WindowsHeaders.h"

namespace trellane {
namespace {

// Include files held in memory; a file's text "FAIL:why" makes reading it fail.
class MemoryIncludes final : public IncludeFileReader {
 public:
  MemoryIncludes() = default;
  MemoryIncludes(std::initializer_list<std::pair<const std::string, std::string>> texts) : files(texts) {}

  IncludeFile Read(const std::string& path) override {
    asked.push_back(path);
    IncludeFile file;
    const auto found = files.find(std::filesystem::path(path).lexically_normal().generic_string());
    if (found == files.end())
      return file;
    if (found->second.rfind("FAIL:", 0) == 0) {
      file.status = IncludeStatus::Failed;
      file.problem = found->second.substr(5);
      return file;
    }
    file.status = IncludeStatus::Read;
    file.bytes = found->second;
    return file;
  }

  std::map<std::string, std::string> files;
  std::vector<std::string> asked;
};

struct Reading {
  std::string tokens;  // spellings joined by single spaces
  std::vector<Token> all;
  Diagnostics diagnostics;
  bool failed = false;
  // The tokens view the files and the preprocessor's own texts.
  std::unique_ptr<SourceFiles> files = std::make_unique<SourceFiles>();
  std::unique_ptr<Diagnostics> reported = std::make_unique<Diagnostics>();
  std::unique_ptr<Preprocessor> preprocessor;

  std::string Error() const {
    for (const Diagnostic& diagnostic : diagnostics) {
      if (diagnostic.severity == Severity::Error)
        return diagnostic.message;
    }
    return {};
  }
};

Reading Preprocess(const std::string& script, MemoryIncludes& includes, const PreprocessorOptions& options = {},
                   const std::string& path = "app.rc") {
  Reading reading;
  reading.preprocessor = std::make_unique<Preprocessor>(*reading.files, options, includes, *reading.reported);
  reading.preprocessor->Start(path, script);
  for (;;) {
    Token token;  // a fresh token each time; NextSetsEveryFieldOfTheCallersToken reuses one
    if (!reading.preprocessor->Next(token))
      break;
    reading.tokens += (reading.tokens.empty() ? "" : " ") + std::string(token.text);
    reading.all.push_back(token);
  }
  reading.failed = reading.preprocessor->Failed();
  reading.diagnostics = *reading.reported;
  return reading;
}

Reading Preprocess(const std::string& script) {
  MemoryIncludes none;
  return Preprocess(script, none);
}

struct Case {
  const char* script;
  const char* expected;  // the tokens, or for a failing script its error message
};

TEST(Preprocessor, MacrosExpandAsCExpandsThem) {
  const Case cases[] = {
      {"#define ID 1001\nCONTROL ID, ID", "CONTROL 1001 , 1001"},
      {"#define ADD(a, b) a + b\nADD(1, (2, 3))", "1 + ( 2 , 3 )"},
      {"#define F(x) [x]\nF()", "[ ]"},
      {"#define F() z\nF() F", "z F"},
      {"#define F(x, y) x y\nF\n(\n1\n,\n(2,\n3)\n) F ( 3 , )", "1 ( 2 , 3 ) 3"},
      {"#define S(x) #x\nS( a  +\n b ) S() S(\"q\\n\" 'c')", "\"a + b\" \"\" \"\\\"q\\\\n\\\" 'c'\""},
      {"#define CAT(a, b) a ## b\n#define AB 7\nCAT(A, B) CAT(, x) CAT(x, ) CAT(, ) CAT(L, \"s\")", "7 x x L\"s\""},
      {"#define N(a) a ## 1 ## a\nN(x) N()", "x1x 1"},
      {"#define foo foo bar\nfoo", "foo bar"},
      {"#define a b\n#define b a\na b", "a b"},
      {"#define f(a) a*g\n#define g(a) f(a)\nf(2)(9)", "2 * 9 * g"},
      {"#define x 3\n#define f(a) f(x * (a))\n#undef x\n#define x 2\n#define g f\n#define z z[0]\nf(y+1) + f(f(z)) % "
       "g(2)",
       "f ( 2 * ( y + 1 ) ) + f ( 2 * ( f ( 2 * ( z [ 0 ] ) ) ) ) % f ( 2 * ( 2 ) )"},
      {"#define V(...) f(__VA_ARGS__)\n#define W(a, ...) g(a, ## __VA_ARGS__)\nV(1, 2) V() W(a) W(a, b, c)",
       "f ( 1 , 2 ) f ( ) g ( a ) g ( a , b , c )"},
      {"#define NAMED(args...) h(args)\nNAMED(1, 2)", "h ( 1 , 2 )"},
      {"#define EMPTY\n#define LATER() x\nA EMPTY B LATER EMPTY ()", "A B LATER ( )"},
      {"#define OBJ (1)\n#define FN(x) x\nFN(OBJ) FN(FN(2))", "( 1 ) 2"},
      {"#define str(s) # s\n#define xstr(s) str(s)\n#define INCFILE(n) vers ## n\nxstr(INCFILE(2).h) str(INCFILE(2).h)",
       "\"vers2.h\" \"INCFILE(2).h\""},
      {"#define hash_hash # ## #\n#define mkstr(a) # a\n#define in_between(a) mkstr(a)\n#define join(c, d) "
       "in_between(c hash_hash d)\njoin(x, y)",
       "\"x ## y\""},
      {"#define LPAREN (\n#define F(x) <x>\n#define G F LPAREN 1 )\nG", "F ( 1 )"},
      {"#define ID 5\n#undef ID\nID", "ID"},
      {"#ifdef RC_INVOKED\nrc\n#endif", "rc"},
      {"#if 0\n#bogus\n\"unclosed\n'x\n#else\nelse\n#endif", "else"},
      {"#if 1\na\n#elif 1/0\nb\n#else\nc\n#endif", "a"},
      {"#ifndef X\n#define X 1\n#endif\n#if X == 1 && defined X && defined(X)\nyes\n#endif", "yes"},
      {"#if 0\n#if 1\nno\n#else\nno\n#endif\n#elif 0\nno\n#else\nyes\n#endif", "yes"},
      {"# \n#\n  #  define  SPACED  3  \nSPACED", "3"},
      {"a /* #define X\n */ #define Y 1\nY", "a # define Y 1 Y"},
      {"/* c\n */ #define Y 2\nY", "2"},
      {"#define LONG 1 + \\\n 2\nLONG", "1 + 2"},
      {"ab\\\ncd \"x\\\ny\" // c \\\n still comment\nz", "abcd \"xy\" z"},
      {"L\"w\" l\"x\" \"a\"\"b\" \"c\\\"d\" 'e' L'f'", "L\"w\" l\"x\" \"a\"\"b\" \"c\\\"d\" 'e' L'f'"},
      {"0x1E-2 1e+5 10L .5 0x10|0x20", "0x1E - 2 1e+5 10L .5 0x10 | 0x20"},
      {"a<<=b##c!==&&||@$`\\", "a << = b ## c != = && || @ $ ` \\"},
      {"#define STYLE WS_CHILD | \\\n  WS_VISIBLE\nSTYLE", "WS_CHILD | WS_VISIBLE"},
      {"#define EMPTY_ARGS(a, b) [a|b]\nEMPTY_ARGS(,)", "[ | ]"},
      // A name met in an argument while its macro is being expanded stays a name, however deep, also when the
      // argument ends after the expansion.
      {"#define F(x) x\n#define b1 b2\n#define b2 F(b1 b2 F\n#define u1 F(u1 u2\nb1) u1)", "b1 b2 F u1 u2"},
      {"#define F(x) x\n#define a1 a2\n#define a2 a3\n#define a3 a4\n#define a4 a5\n#define a5 a6\n#define a6 a7\n"
       "#define a7 a8\n#define a8 a9\n#define a9 a10\n#define a10 a11\n#define a11 a12\n#define a12 a13\n"
       "#define a13 a14\n#define a14 a15\n#define a15 a16\n#define a16 a17\n#define a17 a18\n#define a18 a19\n"
       "#define a19 a20\n#define a20 F(a1 a7 a20 u\n#define u v\na1)",
       "a1 a7 a20 v"},
  };
  for (const Case& c : cases) {
    const Reading reading = Preprocess(c.script);
    EXPECT_EQ(reading.tokens, c.expected) << c.script;
    EXPECT_EQ(reading.Error(), "") << c.script;
  }
}

TEST(Preprocessor, ThousandsOfMacrosKeepTheirOwnDefinitions) {
  // Numbered names that differ in their last bytes only, of every length
  // around a word's, defined again, undefined and used in another order.
  const char* const prefixes[] = {"A", "IDM_", "IDC_CTL", "IDC_SETTINGS_FIELD_", "IDD_PROPERTY_PAGE_NUMBER_"};
  constexpr int Count = 700;
  std::string script;
  std::string expected;
  for (const char* prefix : prefixes) {
    for (int i = 0; i < Count; ++i)
      script += "#define " + std::string(prefix) + std::to_string(i) + " " + std::to_string(i) + "\n";
    for (int i = 0; i < Count; i += 7)
      script += "#define " + std::string(prefix) + std::to_string(i) + " (" + std::to_string(-i) + ")\n";
    for (int i = 0; i < Count; i += 11)
      script += "#undef " + std::string(prefix) + std::to_string(i) + "\n";
  }
  for (int i = Count; i-- > 0;) {
    for (const char* prefix : prefixes) {
      const std::string name = prefix + std::to_string(i);
      script += name + " " + name + "X\n";
      const std::string value = i % 11 == 0 ? name : i % 7 == 0 ? "( - " + std::to_string(i) + " )" : std::to_string(i);
      expected += (expected.empty() ? "" : " ") + value + " " + name + "X";
    }
  }
  const Reading reading = Preprocess(script);
  EXPECT_EQ(reading.Error(), "");
  EXPECT_EQ(reading.tokens, expected);
}

TEST(Preprocessor, ExtraTokensAfterADirectiveWarnButBlanksAndCommentsDoNot) {
  const struct {
    const char* script;
    bool warns;
  } cases[] = {
      {"#ifdef A\n#endif", false},      {"#ifdef A\n#endif \t \v\f ", false}, {"#ifdef A\n#endif /* A */ // B", false},
      {"#ifdef A\n#endif \\\n", false}, {"#ifdef A\n#endif A", true},         {"#ifdef A\n#endif  /* a */ b", true},
      {"#ifdef A\n#endif 'x'", true},   {"#ifdef A\n#endif \"x\"", true},     {"#ifdef A\n#endif+", true},
      {"#ifdef A B\n#endif", true},     {"#define A\n#undef A junk\n", true},
  };
  for (const auto& c : cases) {
    const Reading reading = Preprocess(c.script);
    EXPECT_EQ(reading.Error(), "") << c.script;
    bool warned = false;
    for (const Diagnostic& diagnostic : reading.diagnostics)
      warned = warned || diagnostic.message.find("extra tokens after") != std::string::npos;
    EXPECT_EQ(warned, c.warns) << c.script;
  }
}

TEST(Preprocessor, IfExpressionsEvaluateAsCEvaluatesThem) {
  struct Condition {
    const char* expression;
    bool expected;
  };
  const Condition conditions[] = {
      {"1 + 2 * 3 == 7", true},
      {"(1 + 2) * 3 == 9", true},
      {"1 << 2 + 1 == 8", true},
      {"1 | 2 ^ 3 & 4 == 3", true},
      {"10 - 4 - 3 == 3 && 64 / 4 / 2 == 8 && 17 % 5 == 2", true},
      {"-1 < 0", true},
      {"-1 < 0u", false},  // -1 becomes UINTMAX_MAX
      {"-1 > 0x7FFFFFFFFFFFFFFF", false},
      {"0xFFFFFFFFFFFFFFFF == -1", true},
      {"18446744073709551615 / 2 == 9223372036854775807", true},  // too large for intmax_t: unsigned
      {"-9223372036854775807 - 1 < 0", true},
      {"(-9223372036854775807 - 1) / -1 < 0", true},  // wraps, as GCC's preprocessor does
      {"-7 / 2 == -3 && -7 % 2 == -1", true},
      {"-1 >> 63 == -1 && 1 << 63 >> 63 == -1 && 1u << 63 >> 63 == 1", true},
      {"1 << 64 == 0 && 4 >> -1 == 8", true},
      {"~0 == -1 && !0 == 1 && !5 == 0 && -~0 == 1 && +3 == 3", true},
      {"1 ? 2 : 3 == 2", true},
      {"0 ? 1 : 0 ? 2 : 3", true},
      {"(0 ? -1 : 0u) - 1 > 0", true},  // ?: converts both sides
      {"UNDEFINED == 0 && true + false == 0", true},
      {"0 && 1 / 0", false},
      {"1 || 1 / 0", true},
      {"0 ? 1 / 0 : 1", true},
      {"'A' == 65 && '\\n' == 10 && '\\x41' == 65 && '\\101' == 65 && '\\0' == 0", true},
      {"'\\xFF' < 0 && L'\\xFF' == 255 && 'ab' == 24930", true},
      {"010 == 8 && 0x10 == 16 && 0b101 == 5 && 10UL == 10 && 7llu == 7", true},
      {"defined RC_INVOKED && defined(RC_INVOKED) && !defined NOPE", true},
      {"(1, 0)", false},
      {"TWO * TWO == 4", true},
      {"HASTWO && !HASTHREE", true},
  };
  for (const Condition& condition : conditions) {
    const std::string script = "#define TWO 2\n#define HASTWO defined(TWO)\n#define HASTHREE defined THREE\n#if " +
                               std::string(condition.expression) + "\nyes\n#else\nno\n#endif";
    const Reading reading = Preprocess(script);
    EXPECT_EQ(reading.Error(), "") << condition.expression;
    EXPECT_EQ(reading.tokens, condition.expected ? "yes" : "no") << condition.expression;
  }
}

TEST(Preprocessor, BrokenScriptsStopWithAnError) {
  struct Broken {
    const char* script;
    const char* error;
    std::size_t line;
  };
  const Broken cases[] = {
      {"CAPTION \"open\nEND", "unclosed string", 1},
      {"a\n  /* never closed\nb", "unclosed comment", 2},
      {"#if 0\n/* never closed\n#endif", "unclosed comment", 2},
      {"x\n#error Stop \"here\" /* why */ now\ny", "#error Stop \"here\" now", 2},
      {"#frobnicate\n", "unknown directive '#frobnicate'", 1},
      {"#!\n", "unknown directive '#!'", 1},
      {"#if 1 / 0\n#endif", "division by zero in #if expression", 1},
      {"#if 1 % (2 - 2)\n#endif", "remainder by zero in #if expression", 1},
      {"#if (1\n#endif", "expected ')' to close '(' in #if expression, found the end of the line", 1},
      {"#if (1 x\n#endif", "expected ')' to close '(' in #if expression, found 'x'", 1},
      {"#if\n#endif", "expected an expression after #if", 1},
      {"#if 1 +\n#endif", "expected a value in #if expression, found the end of the line", 1},
      {"#if 1 2\n#endif", "unexpected '2' after the #if expression", 1},
      {"#if 1 ? 2\n#endif", "expected ':' of ?: in #if expression, found the end of the line", 1},
      {"#if 1.5\n#endif", "floating constant '1.5' in #if", 1},
      {"#if 099\n#endif", "invalid integer constant '099' in #if", 1},
      {"#if 1z\n#endif", "invalid integer constant '1z' in #if", 1},
      {"#if 99999999999999999999\n#endif", "integer constant '99999999999999999999' is too large for #if", 1},
      {"#if ''\n#endif", "empty character constant in #if", 1},
      {"#if defined\n#endif", "expected a macro name after 'defined' in #if, found the end of the line", 1},
      {"#if defined(X\n#endif", "expected ')' after 'defined(X' in #if, found the end of the line", 1},
      {"#if 1\n#else\n#elif 1\n#endif", "#elif after #else", 3},
      {"#if 1\n#else\n#else\n#endif", "#else after #else", 3},
      {"#endif", "#endif without #if", 1},
      {"#else", "#else without #if", 1},
      {"\n#ifdef X\n", "#ifdef without #endif before the end of the file", 2},
      {"#ifdef 3\n#endif", "expected a macro name after #ifdef, found '3'", 1},
      {"#define\n", "expected a macro name after #define, found the end of the line", 1},
      {"#define 3 x\n", "expected a macro name after #define, found '3'", 1},
      {"#define defined\n", "'defined' cannot be a macro name", 1},
      {"#define F(a, a) a\n", "expected a parameter name, ',' or ')' in the definition of 'F', found 'a'", 1},
      {"#define F(a b) a\n", "expected a parameter name, ',' or ')' in the definition of 'F', found 'b'", 1},
      {"#define F(a) # b\n", "'#' in the definition of 'F' is not followed by a parameter", 1},
      {"#define F ## b\n", "'##' cannot start the definition of 'F'", 1},
      {"#define F b ##\n", "'##' cannot end the definition of 'F'", 1},
      {"#undef\n", "expected a macro name after #undef, found the end of the line", 1},
      {"#define F(a, b) a\nF(1)", "macro 'F' takes 2 arguments, but 1 was given", 2},
      {"#define F(a) a\nF(1, 2)", "macro 'F' takes 1 argument, but 2 were given", 2},
      {"#define F(a) a\nx F(1,\n 2", "unterminated argument list of macro 'F'", 2},
      {"#define F(a) a\n#if F(1\n#endif", "unterminated argument list of macro 'F'", 2},
      {"#define F(a) a\nF(\n#include \"x.h\"\n)", "#include inside the arguments of a macro", 3},
      {"#include\n", "expected \"FILE\" or <FILE> after #include, found the end of the line", 1},
      {"#include <x.h\n", "expected '>' to end the file name of #include, found the end of the line", 1},
      {"#include \"\"\n", "empty file name in #include", 1},
      {"#include \"missing.h\"\n",
       "cannot find include file 'missing.h' (looked in .); -I FOLDER adds a folder to the search", 1},
      {"#pragma code_page(1234)\n", "unknown code page 1234 in #pragma code_page", 1},
      {"#pragma code_page(x)\n", "expected a code page number or DEFAULT in #pragma code_page, found 'x'", 1},
      {"#pragma code_page 1252\n", "expected '(' after #pragma code_page, found '1252'", 1},
      {"#pragma code_page(1252\n", "expected ')' after the code page in #pragma code_page, found the end of the line",
       1},
      {"#line x\n", "expected a line number (up to 999999999) after #line, found 'x'", 1},
  };
  for (const Broken& c : cases) {
    const Reading reading = Preprocess(c.script);
    EXPECT_TRUE(reading.failed) << c.script;
    ASSERT_FALSE(reading.diagnostics.empty()) << c.script;
    const Diagnostic& last = reading.diagnostics.back();
    EXPECT_EQ(last.severity, Severity::Error) << c.script;
    EXPECT_EQ(last.message, c.error) << c.script;
    EXPECT_EQ(last.line, c.line) << c.script;
  }
}

TEST(Preprocessor, IncludesAreSearchedWhereTheCompilersSearch) {
  struct Search {
    std::vector<const char*> present;  // files, each defining WHO as its folder, '_' for '/'
    const char* include;
    const char* found;
  };
  const Search searches[] = {
      {{"proj/x.h", "inc1/x.h", "inc2/x.h", "env/x.h"}, "\"x.h\"", "proj"},
      {{"proj/x.h", "inc1/x.h", "inc2/x.h", "env/x.h"}, "<x.h>", "inc1"},
      {{"inc2/x.h", "env/x.h"}, "\"x.h\"", "inc2"},
      {{"proj/x.h", "env/x.h"}, "<x.h>", "env"},
      {{"proj/sub/x.h", "inc1/sub/x.h"}, "\"sub\\\\x.h\"", "proj_sub"},
      {{"proj/sub/x.h", "inc1/sub/x.h"}, "\"sub\\x.h\"", "proj_sub"},
      {{"inc1/sub/x.h"}, "<.\\sub//x.h>", "inc1_sub"},
      // A quoted name is looked for beside every file being read, the innermost first.
      {{"proj/res/x.h", "proj/x.h", "inc1/x.h"}, "\"res/in.rc2\"", "proj_res"},
      {{"proj/x.h", "inc1/x.h"}, "\"res/in.rc2\"", "proj"},
      {{"proj/x.h", "inc1/x.h"}, "<res/in.rc2>", "proj"},
  };
  PreprocessorOptions options;
  options.includeFolders = {"inc1", "inc2/"};
  options.environmentFolders = {"env"};
  for (const Search& search : searches) {
    MemoryIncludes includes;
    for (const std::string path : search.present) {
      std::string folder = path.substr(0, path.rfind('/'));
      std::replace(folder.begin(), folder.end(), '/', '_');
      includes.files[path] = "#define WHO " + folder;
    }
    includes.files["proj/res/in.rc2"] = "#include \"x.h\"\n";
    includes.files["inc1/res/in.rc2"] = "#include \"x.h\"\n";
    const Reading reading =
        Preprocess("#include " + std::string(search.include) + "\nWHO", includes, options, "proj/app.rc");
    EXPECT_EQ(reading.tokens, search.found) << search.include << " " << reading.Error();
  }
  MemoryIncludes none;
  const Reading missing = Preprocess("#include \"gone.h\"", none, options, "proj/app.rc");
  EXPECT_EQ(
      missing.Error(),
      "cannot find include file 'gone.h' (looked in proj, inc1, inc2, env); -I FOLDER adds a folder to the search");
  EXPECT_EQ(none.asked, (std::vector<std::string>{"proj/gone.h", "inc1/gone.h", "inc2/gone.h", "env/gone.h"}));
}

TEST(Preprocessor, HeadersGiveOnlyTheirDirectives) {
  const std::string header =
      "// #define COMMENTED 1\n"
      "/* #define BLOCK 1\n #define BLOCK2 1 */\n"
      "int f(void) { return '#'; } don't \"stop here\n"
      "const char* s = \"#define INSTRING 1 /*\";\n"
      "char c = '\"'; #define NOT_FIRST 1\n"
      "x = 1 \\\n#define CONTINUED 1\n"
      "  #  define REAL 1\n"
      "content tokens\n"
      "#define LATER REAL + 1\n";
  for (const char* name : {"h.h", "res", "h.hpp", "h.c"}) {
    MemoryIncludes includes{{name, header}};
    const Reading reading = Preprocess(
        "#include \"" + std::string(name) + "\"\nREAL LATER COMMENTED BLOCK BLOCK2 INSTRING NOT_FIRST CONTINUED",
        includes);
    EXPECT_EQ(reading.tokens, "1 1 + 1 COMMENTED BLOCK BLOCK2 INSTRING NOT_FIRST CONTINUED") << name;
    EXPECT_EQ(reading.Error(), "") << name;
  }
  for (const char* name : {"part.rc", "part.RC2", "part.Dlg"}) {
    MemoryIncludes includes{{name, "#define P 7\nCONTROL P"}};
    EXPECT_EQ(Preprocess("a\n#include \"" + std::string(name) + "\"\nb", includes).tokens, "a CONTROL 7 b") << name;
  }
}

TEST(Preprocessor, MissingWindowsHeadersFallBackToTheBuiltInConstants) {
  const auto constants = WindowsConstants();
  ASSERT_FALSE(constants.empty());
  // The headers resource scripts include define the constants they use.
  std::string checks;
  for (const WindowsConstant& constant : constants) {
    const std::string name(constant.name);
    checks += "#ifndef " + name + "\n" + name + "\n#endif\n";
  }
  MemoryIncludes none;
  const Reading all = Preprocess(
      "#include <windows.h>\n#include \"WinRes.h\"\n#include <sdk/afxres.h>\n#include \"commctrl.h\"\n"
      "#include <richedit.h>\n#include <dlgs.h>\n#include <commdlg.h>\n#include <prsht.h>\n" +
          checks,
      none);
  EXPECT_EQ(all.Error(), "");
  for (const Token& token : all.all) {
    // Names the resource part of the headers leaves out, known from C's reading.
    const bool outsideResourcePart = token.text.starts_with("VK_") || token.text.starts_with("LANG_") ||
                                     token.text.starts_with("SUBLANG_") || token.text.starts_with("SORT_") ||
                                     token.text.starts_with("WS_");
    EXPECT_TRUE(outsideResourcePart) << token.text << " is not defined by the built-in headers";
  }
  const std::string name = "WS_CHILD";
  const Reading first = Preprocess("#include <windows.h>\n" + name, none);
  ASSERT_FALSE(first.all.empty());
  EXPECT_EQ(first.all.front().macro, name);
  // windows.h is guarded: the second include changes nothing; commctrl.h does not define WS_CHILD again.
  const Reading replaced =
      Preprocess("#define " + name + " mine\n#include <windows.h>\n" + name + "\n#undef " + name + "\n#define " + name +
                     " again\n#include <commctrl.h>\n#include <windows.h>\n" + name,
                 none);
  EXPECT_EQ(replaced.tokens, "0x40000000L again");
  MemoryIncludes real{{"sdk/windows.h", "#define FROM_FILE 1"}};
  PreprocessorOptions sdk;
  sdk.includeFolders = {"sdk"};
  EXPECT_EQ(Preprocess("#include <windows.h>\nFROM_FILE " + name, real, sdk).tokens, "1 " + name);
  // Predefined as the compilers predefine them, for the real headers' sake.
  EXPECT_EQ(Preprocess("RC_INVOKED _WIN32 _WIN64 __GNUC__").tokens, "1 1 1 4");
  EXPECT_EQ(Preprocess("#include <nothere.h>", none).Error(),
            "cannot find include file 'nothere.h' (looked in no folder); -I FOLDER adds a folder to the search");
}

TEST(Preprocessor, IncludeCyclesAndDeepNestingStopWithAnError) {
  MemoryIncludes cycle{{"a.h", "#include \"b.h\""}, {"b.h", "\n#include \"sub/../a.h\""}, {"app.rc", "x"}};
  const Reading looped = Preprocess("#include \"a.h\"", cycle);
  // A header is read twice at most: its guard may follow an include that leads back to it.
  EXPECT_EQ(looped.Error(), "#include cycle: 'sub/../sub/../a.h' is already being read");
  MemoryIncludes late{{"ole.h", "#include \"base.h\"\n#ifndef OLE\n#define OLE 1\n#endif"},
                      {"base.h", "#ifndef BASE\n#define BASE\n#include \"ole.h\"\n#endif"}};
  EXPECT_EQ(Preprocess("#include \"ole.h\"\nOLE BASE", late).tokens, "1");
  EXPECT_EQ(Preprocess("x\n#include \"app.rc\"", cycle).Error(), "#include cycle: 'app.rc' is already being read");

  MemoryIncludes guarded{{"a.h", "#ifndef A_H\n#define A_H\n#include \"b.h\"\n#define A 1\n#endif"},
                         {"b.h", "#if !defined(B_H)\n#define B_H\n#include \"a.h\"\n#define B 2\n#endif"},
                         {"once.rc2", "#pragma once\nonce"}};
  const Reading fine = Preprocess("#include \"a.h\"\n#include \"once.rc2\"\n#include \"once.rc2\"\nA B", guarded);
  EXPECT_EQ(fine.Error(), "");
  EXPECT_EQ(fine.tokens, "once 1 2");

  for (const int depth : {64, 65}) {
    MemoryIncludes chain;
    for (int level = 1; level < depth; ++level)
      chain.files["f" + std::to_string(level) + ".h"] = "#include \"f" + std::to_string(level + 1) + ".h\"";
    chain.files["f" + std::to_string(depth) + ".h"] = "#define DEEP " + std::to_string(depth);
    const Reading reading = Preprocess("#include \"f1.h\"\nDEEP", chain);
    if (depth == 64) {
      EXPECT_EQ(reading.tokens, "64");
    } else {
      EXPECT_EQ(reading.Error(), "#include nested more than 64 files deep");
    }
  }
}

TEST(Preprocessor, ErrorsNameTheFileAndItsIncludeChain) {
  MemoryIncludes includes{{"sub/h.h", "#define OK 1\n\n#error boom"},
                          {"folder.h", "FAIL:is a folder"},
                          {"odd.rc2", std::string("\xFF\xFE", 2) + "x"}};
  const Reading nested = Preprocess("a\n#include \"sub/h.h\"\nb", includes);
  ASSERT_EQ(nested.diagnostics.size(), 1u);
  const Diagnostic& error = nested.diagnostics.front();
  EXPECT_EQ(error.message, "#error boom");
  EXPECT_EQ(error.file, "sub/h.h");
  EXPECT_EQ(error.line, 3u);
  EXPECT_EQ(error.includedFrom, std::vector<std::string>{"app.rc:2"});
  EXPECT_EQ(nested.tokens, "a");

  EXPECT_EQ(Preprocess("#include \"folder.h\"", includes).Error(), "cannot read include file 'folder.h': is a folder");
  const Reading odd = Preprocess("\n#include \"odd.rc2\"", includes);
  ASSERT_EQ(odd.diagnostics.size(), 1u);
  EXPECT_EQ(odd.diagnostics.front().file, "odd.rc2");
  EXPECT_EQ(odd.diagnostics.front().includedFrom, std::vector<std::string>{"app.rc:2"});
}

TEST(Preprocessor, RunawayInputsStopWithAnErrorInsteadOfACrash) {
  std::string bomb = "#define A0 x x\n";
  for (int level = 1; level <= 40; ++level)
    bomb += "#define A" + std::to_string(level) + " A" + std::to_string(level - 1) + " A" + std::to_string(level - 1) +
            "\n";
  std::string chain;
  for (int level = 0; level < 300; ++level)
    chain += "#define M" + std::to_string(level) + " M" + std::to_string(level + 1) + "\n";
  std::string nestedCalls;
  for (int level = 0; level < 300; ++level)
    nestedCalls += "F(";
  nestedCalls += std::string(300, ')');
  std::string stringized;
  for (int level = 0; level < 40; ++level)
    stringized += "T(";
  stringized += "\"q\"" + std::string(40, ')');
  std::string nestedIfs;
  for (int level = 0; level < 257; ++level)
    nestedIfs += "#if 1\n";
  const struct {
    std::string script;
    const char* error;
  } cases[] = {
      {bomb + "A40", "the expansion of 'A40' grows past 1000000 tokens"},
      {"#define D(x) x x x x x x x x x x\nD(D(D(D(D(D(D(1)))))))", "the expansion of 'D' grows past 1000000 tokens"},
      {chain + "M0", "macro expansion nested more than 256 levels deep at 'M256'"},
      {"#define S(x) #x #x\n#define T(x) S(x)\n" + stringized,
       "the text made by # and ## passes 67108864 bytes in the expansion of 'T'"},
      {"#if " + std::string(10000, '(') + "1" + std::string(10000, ')') + "\n#endif",
       "#if expression nested more than 256 levels deep"},
      {"#if " + std::string(10000, '-') + "1\n#endif", "#if expression nested more than 256 levels deep"},
      {"#if 1 ? " + std::string(10000, '!') + "1 : 0\n#endif", "#if expression nested more than 256 levels deep"},
      {nestedIfs, "#if nested more than 256 levels deep"},
      {"#define F(x) x\n" + nestedCalls, "macro expansion nested more than 256 levels deep at 'F'"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Preprocess(c.script).Error(), c.error) << c.script.substr(0, 60);
  EXPECT_EQ(Preprocess(bomb + "A10").all.size(), 2048u);
  std::string parameters = "#define F(p0";
  for (int parameter = 1; parameter <= 256; ++parameter)
    parameters += ", p" + std::to_string(parameter);
  EXPECT_EQ(Preprocess(parameters + ") x").Error(), "more than 256 parameters in the definition of 'F'");
  std::string quotes = "x '";  // no quote closes: each search would run to the end of the line
  for (int quote = 0; quote < 400000; ++quote)
    quotes += "\\'";
  EXPECT_EQ(Preprocess(quotes).all.size(), 800002u);
  const Reading warned = Preprocess(
      "#define P(a) a ## +\n#define P4 P(+) P(+) P(+) P(+)\n#define P16 P4 P4 P4 P4\n"
      "#define P256 P16 P16 P16 P16 P16 P16 P16 P16 P16 P16 P16 P16 P16 P16 P16 P16\n"
      "P256 P256 P256 P256 P256");
  EXPECT_EQ(warned.Error(), "");
  EXPECT_EQ(warned.all.size(), 2560u);
  ASSERT_EQ(warned.diagnostics.size(), 1001u);
  EXPECT_EQ(warned.diagnostics.back().message, "more warnings left out");
}

// Each token as "text@line:column/codePage".
std::string Placed(const Reading& reading) {
  std::string placed;
  for (const Token& token : reading.all) {
    placed += (placed.empty() ? "" : " ") + std::string(token.text) + "@" + std::to_string(token.location.line) + ":" +
              std::to_string(token.location.column) + "/" + std::to_string(token.codePage);
  }
  return placed;
}

std::string Utf16(const std::string& ascii, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : ascii) {
    bytes.push_back(bigEndian ? '\0' : c);
    bytes.push_back(bigEndian ? c : '\0');
  }
  return bytes;
}

// Texts are passed sixteen bytes at a time: a quote, a backslash or a line
// end counts at every column.
TEST(Preprocessor, TextsEndWhereverTheirQuoteStands) {
  for (std::size_t column = 0; column < 40; ++column) {
    const std::string a(column, 'a');
    const std::string script =
        "\"" + a + "\"\"q\" \"" + a + "\\\"q\" \"" + a + "/'q\" \"" + a + "\\\nq\" \"" + a + "\"x";
    EXPECT_EQ(Preprocess(script).tokens,
              "\"" + a + "\"\"q\" \"" + a + "\\\"q\" \"" + a + "/'q\" \"" + a + "q\" \"" + a + "\" x")
        << column;
    EXPECT_EQ(Preprocess("\"" + a + "\nx\"").Error(), "unclosed string") << column;
  }
}

TEST(Preprocessor, LineEndsAndEncodingsGiveTheSameTokens) {
  const std::string lf = "#define X 1\n A X \"s\"\n/* two\nlines */ B\\\nC\n#if X\nD\n#endif\n";
  const Reading expected = Preprocess(lf);
  EXPECT_EQ(Placed(expected), "A@2:2/1252 1@2:4/1252 \"s\"@2:6/1252 BC@4:10/1252 D@7:1/1252");
  std::string crlf;
  std::string cr;
  for (const char c : lf) {
    crlf += c == '\n' ? "\r\n" : std::string(1, c);
    cr += c == '\n' ? '\r' : c;
  }
  for (const std::string& script : {crlf, cr}) {
    EXPECT_EQ(Placed(Preprocess(script)), Placed(expected));
  }
  std::string unicode = Placed(expected);
  for (std::size_t at = unicode.find("/1252"); at != std::string::npos; at = unicode.find("/1252"))
    unicode.replace(at, 5, "/65001");
  for (const std::string& script : {"\xEF\xBB\xBF" + lf, Utf16(lf, false), Utf16(crlf, true)})
    EXPECT_EQ(Placed(Preprocess(script)), unicode);
  EXPECT_EQ(Preprocess(std::string("\xFF\xFE", 2) + "x").Error(), "the UTF-16 script has an odd number of bytes");
}

TEST(Preprocessor, DirectivesSetLineNumbersAndCodePages) {
  MemoryIncludes includes{{"page.h", "#pragma code_page(65001)\nignored"},
                          {"sjis.h", "#pragma code_page(932)\n"},
                          {"wide.rc2", Utf16("W\n#pragma code_page(1234)\n", false)}};
  struct Placing {
    const char* script;
    const char* placed;
  };
  const Placing placings[] = {
      {"A\n#line 100\nB\nC", "A@1:1/1252 B@100:1/1252 C@101:1/1252"},
      {"#line 50 \\\n \"other.rc\"\nA\n# 7 \"x.rc\" 2\nB", "A@50:1/1252 B@7:1/1252"},
      {"#define N 20\n#line N\nA", "A@20:1/1252"},
      {"A\n#pragma code_page(65001)\nB\n#pragma code_page(DEFAULT)\nC", "A@1:1/1252 B@3:1/65001 C@5:1/1252"},
      {"#pragma code_page ( 65001 ) // comment\n#pragma comment(lib, \"x\")\nA", "A@3:1/65001"},
      {"#include \"page.h\"\nA", "A@2:1/65001"},
      // The lexer reads on in the page in force: 0x81 0x5C is one character, and the quote ends the text.
      {"#pragma code_page(932)\n\"\x81\\\"", "\"\x81\\\"@2:1/932"},
      {"#include \"sjis.h\"\n\"\x81\\\"", "\"\x81\\\"@2:1/932"},
      {"#include \"wide.rc2\"\nA", "W@1:1/65001 A@2:1/1252"},
      {"#define ID 5\n#pragma code_page(65001)\nID", "5@3:1/65001"},
      // A macro's text is read in the code page where it is used: there the backslash is no trail byte.
      {"#pragma code_page(932)\n#define T \"\x81\\\"\n#pragma code_page(1252)\nT",
       "\"@4:1/1252 \x81@4:1/1252 \\@4:1/1252 \"@4:1/1252"},
      {"#warning careful\nA", "A@2:1/1252"},
  };
  for (const Placing& placing : placings) {
    const Reading reading = Preprocess(placing.script, includes);
    EXPECT_EQ(Placed(reading), placing.placed) << placing.script;
    EXPECT_EQ(reading.Error(), "") << placing.script;
  }
  PreprocessorOptions options;
  options.codePage = 65001;
  EXPECT_EQ(Placed(Preprocess("A\n#pragma code_page(1252)\nB\n#pragma code_page(default)\nC", includes, options)),
            "A@1:1/65001 B@3:1/1252 C@5:1/65001");
  const Reading warned = Preprocess("#warning careful \"now\"\nA\n#endif", includes);
  ASSERT_EQ(warned.diagnostics.size(), 2u);
  EXPECT_EQ(warned.diagnostics[0].severity, Severity::Warning);
  EXPECT_EQ(warned.diagnostics[0].message, "#warning careful \"now\"");
  EXPECT_EQ(warned.diagnostics[1].message, "#endif without #if");
}

TEST(Preprocessor, OptionsDefineMacrosBeforeTheFirstLine) {
  PreprocessorOptions options;
  options.defines = {{"ONE", "1"}, {"TWICE(x)", "x x"}, {"EMPTY", ""}};
  MemoryIncludes none;
  EXPECT_EQ(Preprocess("ONE TWICE(2) [EMPTY] RC_INVOKED", none, options).tokens, "1 2 2 [ ] 1");
  options.defines = {{"3", "x"}};
  EXPECT_EQ(Preprocess("a", none, options).Error(), "expected a macro name after -D, found '3'");
}

// A name read straight from the file and one read from an expansion, or just
// after one ends, expand alike.
TEST(Preprocessor, NamesExpandWhereverTheyAreRead) {
  const struct {
    const char* script;
    const char* tokens;
  } cases[] = {
      {"#define A 1\nA A", "1 1"},
      {"#define A B\n#define B 2\nA B", "2 2"},
      {"#define A B\n#define B A\nA B", "A B"},
      {"#define F(x) x\n#define A F\nA (3) A", "3 F"},
      {"#define F(x) [x]\nF\n#define G 4\n(G)", "F ( 4 )"},
      {"#define A 5\n#undef A\nA", "A"},
  };
  for (const auto& test : cases)
    EXPECT_EQ(Preprocess(test.script).tokens, test.tokens) << test.script;
}

// Every identifier comes with the keyword it spells, however it was made;
// every other token with none.
TEST(Preprocessor, TokensCarryTheKeywordTheirSpellingNames) {
  const Reading reading = Preprocess(
      "#define OPEN begin\n#define JOIN(a, b) a##b\n#define QUOTE(a) #a\n"
      "Begin OPEN JOIN(Menu, Item) JOIN(END, X) QUOTE(END) L\"POPUP\" popupx 3 Vxd E\\\nND");
  const Keyword expected[] = {Keyword::Begin, Keyword::Begin, Keyword::MenuItem, Keyword::None, Keyword::None,
                              Keyword::None,  Keyword::None,  Keyword::None,     Keyword::Vxd,  Keyword::End};
  ASSERT_EQ(reading.all.size(), std::size(expected)) << reading.tokens;
  for (std::size_t at = 0; at < reading.all.size(); ++at)
    EXPECT_EQ(reading.all[at].keyword, expected[at]) << reading.all[at].text;
}

TEST(Preprocessor, ExpansionsCarryTheirOutermostMacroAndWhereItWasUsed) {
  const Reading reading = Preprocess(
      "#define ID 5\n#define PAIR 1, ID\n#define EMPTY\n#define F(x) x\n"
      "ID PAIR\n  EMPTY z F(ID) F (\n7) F");
  struct Mark {
    const char* text;
    const char* macro;
    bool starts;
    bool ends;
    std::uint32_t line;
    std::uint32_t column;
  };
  const Mark marks[] = {
      {"5", "ID", true, true, 5, 1},    {"1", "PAIR", true, false, 5, 4}, {",", "PAIR", false, false, 5, 4},
      {"5", "PAIR", false, true, 5, 4}, {"z", "", false, false, 6, 9},    {"5", "F", true, true, 6, 11},
      {"7", "F", true, true, 6, 17},    {"F", "", false, false, 7, 4},
  };
  ASSERT_EQ(reading.all.size(), std::size(marks));
  for (std::size_t at = 0; at < std::size(marks); ++at) {
    const Token& token = reading.all[at];
    EXPECT_EQ(token.text, marks[at].text) << at;
    EXPECT_EQ(token.macro, marks[at].macro) << at;
    EXPECT_EQ(token.startsExpansion, marks[at].starts) << at;
    EXPECT_EQ(token.endsExpansion, marks[at].ends) << at;
    EXPECT_EQ(token.location.line, marks[at].line) << at;
    EXPECT_EQ(token.location.column, marks[at].column) << at;
  }
}

// A token read into a slot that still holds another token, or junk, is the
// token a fresh slot gets; the end leaves the slot as a fresh End token.
TEST(Preprocessor, NextSetsEveryFieldOfTheCallersToken) {
  const char* const scripts[] = {
      "a b c", "#define PAIR 1, 2\nx PAIR y PAIR", "#define F(x) x\nF(F(1)) z F", "#pragma code_page(65001)\nq \"s\"",
      "",
  };
  for (const char* const script : scripts) {
    MemoryIncludes none;
    const Reading fresh = Preprocess(script, none);
    ASSERT_FALSE(fresh.failed) << script;
    SourceFiles files;
    Diagnostics diagnostics;
    Preprocessor preprocessor(files, {}, none, diagnostics);
    preprocessor.Start("app.rc", script);
    Token slot;
    slot.kind = TokenKind::Other;
    slot.text = "junk";
    slot.location = {7, 7, 7, 7};
    slot.macro = "JUNK";
    slot.startsExpansion = true;
    slot.endsExpansion = true;
    slot.codePage = 932;
    std::size_t at = 0;
    for (; preprocessor.Next(slot); ++at) {
      ASSERT_LT(at, fresh.all.size()) << script;
      const Token& want = fresh.all[at];
      EXPECT_EQ(slot.kind, want.kind) << script << " " << at;
      EXPECT_EQ(slot.text, want.text) << script << " " << at;
      EXPECT_EQ(slot.location.file, want.location.file) << script << " " << at;
      EXPECT_EQ(slot.location.line, want.location.line) << script << " " << at;
      EXPECT_EQ(slot.location.column, want.location.column) << script << " " << at;
      EXPECT_EQ(slot.location.offset, want.location.offset) << script << " " << at;
      EXPECT_EQ(slot.macro, want.macro) << script << " " << at;
      EXPECT_EQ(slot.startsExpansion, want.startsExpansion) << script << " " << at;
      EXPECT_EQ(slot.endsExpansion, want.endsExpansion) << script << " " << at;
      EXPECT_EQ(slot.codePage, want.codePage) << script << " " << at;
    }
    EXPECT_EQ(at, fresh.all.size()) << script;
    EXPECT_EQ(slot.kind, TokenKind::End) << script;
    EXPECT_TRUE(slot.text.empty()) << script;
    EXPECT_TRUE(slot.macro.empty()) << script;
    EXPECT_FALSE(preprocessor.Next(slot)) << script;
  }
}

// The lexer's tokens with the space and line-start marks: "a/L b/S", and
// "|" where a directive's line ends.
std::string MarkedTokens(const std::string& text, bool inDirective) {
  std::deque<std::string> arena;
  Lexer lexer(text, 0, false, arena);
  std::string marked;
  LexToken token;
  for (lexer.Next(token, inDirective); token.kind != TokenKind::End; lexer.Next(token, inDirective)) {
    marked += (marked.empty() ? "" : " ") + std::string(token.text);
    if ((token.flags & (LexFlag::SpaceBefore | LexFlag::LineStart)) != 0)
      marked += "/";
    if ((token.flags & LexFlag::SpaceBefore) != 0)
      marked += "S";
    if ((token.flags & LexFlag::LineStart) != 0)
      marked += "L";
  }
  return token.end == EndMark::Line ? marked + " |" : marked;
}

TEST(Lexer, BlanksCommentsAndLineEndsMarkTheTokenAfterThem) {
  const struct {
    const char* text;
    bool inDirective;
    const char* marked;
  } cases[] = {
      {"a b\tc\fd\ve", false, "a/L b/S c/S d/S e/S"},
      {"a\nb\r\nc\rd", false, "a/L b/SL c/SL d/SL"},
      {"  \n a", false, "a/SL"},
      {"a/**/b/* x */ /c", false, "a/L b/S //S c"},
      {"a // x\n\tb", false, "a/L b/SL"},
      {"(\\\n)", false, "(/L )"},
      {"( \\\n)", false, "(/L )/S"},
      {"a \\x", false, "a/L \\/S x"},
      {"a /", false, "a/L //S"},
      {"a  \n b", true, "a/L |"},
      {"a /* x */\nb", true, "a/L |"},
      {"", false, ""},
      {" \t", false, ""},
  };
  for (const auto& test : cases)
    EXPECT_EQ(MarkedTokens(test.text, test.inDirective), test.marked) << test.text;
}

#ifndef _WIN32
// The tokens of text, as the lexer splits them, joined by single spaces.
std::string Spellings(const std::string& text) {
  std::deque<std::string> arena;
  Lexer lexer(text, 0, false, arena);
  std::string spellings;
  LexToken token;
  for (lexer.Next(token, false); token.kind != TokenKind::End; lexer.Next(token, false))
    spellings += (spellings.empty() ? "" : " ") + std::string(token.text);
  return spellings;
}

// What `gcc -E -P` makes of script, or nothing when there is no gcc.
std::optional<std::string> GccPreprocessed(const std::string& script) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "trellane-gcc-differential.c";
  std::ofstream(path, std::ios::binary) << script;
  FILE* pipe = popen(("gcc -E -P -xc " + path.string() + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr)
    return std::nullopt;
  std::string output;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    output.append(buffer, got);
  const int status = pclose(pipe);
  std::filesystem::remove(path);
  if (status != 0)
    return std::nullopt;
  return output;
}

TEST(Preprocessor, MacroScriptsExpandAsGccExpandsThem) {
  const char* const scripts[] = {
      // The examples of the C standard, 6.10.3.5.
      "#define x 3\n#define f(a) f(x * (a))\n#undef x\n#define x 2\n#define g f\n#define z z[0]\n#define h g(~\n"
      "#define m(a) a(w)\n#define w 0,1\n#define t(a) a\n#define p() int\n#define q(x) x\n#define r(x,y) x ## y\n"
      "#define str(x) # x\n"
      "f(y+1) + f(f(z)) % t(t(g)(0) + t)(1);\ng(x+(3,4)-w) | h 5) & m\n(f)^m(m);\n"
      "p() i[q()] = { q(1), r(2,3), r(4,), r(,5), r(,) };\nchar c[2][6] = { str(hello), str() };\n",
      "#define str(s) # s\n#define xstr(s) str(s)\n"
      "#define debug(s, t) printf(\"x\" # s \"= %d, x\" # t \"= %s\", \\\n x ## s, x ## t)\n"
      "#define INCFILE(n) vers ## n\n#define glue(a, b) a ## b\n#define xglue(a, b) glue(a, b)\n"
      "#define HIGHLOW \"hello\"\n#define LOW LOW \", world\"\n"
      "debug(1, 2);\nfputs(str(strncmp(\"abc\\0d\", \"abc\", '\\4') // this goes away\n == 0) str(: @\\n), s);\n"
      "xstr(INCFILE(2).h) glue(HIGH, LOW); xglue(HIGH, LOW)\n",
      "#define t(x,y,z) x ## y ## z\nint j[] = { t(1,2,3), t(,4,5), t(6,,7), t(8,9,),\n t(10,,), t(,11,), t(,,12), "
      "t(,,) };\n",
      "#define OBJ_LIKE (1-1)\n#define OBJ_LIKE /* white space */ (1-1) /* other */\n"
      "#define FUNC_LIKE(a) ( a )\n#define FUNC_LIKE( a )( /* note the white space */ \\\n a /* other stuff on this "
      "line\n */ )\nOBJ_LIKE FUNC_LIKE(x)\n",
      "#define debug(...) fprintf(stderr, __VA_ARGS__)\n#define showlist(...) puts(#__VA_ARGS__)\n"
      "#define report(test, ...) ((test)?puts(#test): printf(__VA_ARGS__))\n"
      "debug(\"Flag\");\ndebug(\"X = %d\\n\", x);\nshowlist(The first, second, and third items.);\n"
      "report(x>y, \"x is %d but y is %d\", x, y);\n",
      // A resource script's shape.
      "#define IDC_A 100\n#define IDC_B (IDC_A + 1)\n#define STYLE(x) WS_CHILD | x\n"
      "#define MAKE(name, id) CONTROL #name, id, \"Button\", STYLE(BS_PUSHBUTTON), 0, 0, 10, 10\n"
      "#if IDC_A > 50 && defined(IDC_B) && (IDC_A << 2) / 3 == 133 && -1 < 0 && (0u - 1 > 0)\n"
      "MAKE(OK, IDC_A)\nMAKE(\"Cancel\", IDC_B)\n#elif 1\nwrong\n#endif\n"
      "#define EMPTY\n#define LP (\n#define F(a, b) <a|b>\nF EMPTY (1, 2) F LP 3, 4) F(F(5, 6), (7, 8))\n"
      "#define APPLY(m, ...) m(__VA_ARGS__)\nAPPLY(F, 9, 10) APPLY(F, , )\n",
  };
  for (const char* script : scripts) {
    const std::optional<std::string> expected = GccPreprocessed(script);
    if (!expected)
      GTEST_SKIP() << "no gcc on the PATH";
    const Reading reading = Preprocess(script);
    EXPECT_EQ(reading.Error(), "") << script;
    EXPECT_EQ(reading.tokens, Spellings(*expected)) << script;
  }
}
#endif

}  // namespace
}  // namespace trellane
