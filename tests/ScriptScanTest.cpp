#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/ScriptScan.h"

namespace trellane {
namespace {

// One text per line of the script, as take(script, line) gives it.
template <typename Take>
std::vector<std::string> EachLine(std::string_view script, Take take) {
  std::vector<std::string> texts;
  LineWalker walker(script);
  ScriptLine line;
  while (walker.Next(line))
    texts.emplace_back(take(script, line));
  return texts;
}

std::vector<std::string> LeadingWords(std::string_view script) {
  return EachLine(script, LeadingWord);
}

std::vector<std::string> LineCodes(std::string_view script) {
  return EachLine(script, LineCode);
}

TEST(ScriptScan, FieldsOfTheWorkedDialogHeadLine) {
  const std::string script = "IDD_DLG1 DIALOGEX 6,6,194,106\r\n";
  const std::size_t keywordEnd = 17;
  const std::size_t end = LineEndOf(script, keywordEnd);
  ASSERT_EQ(end, 29u);
  const auto q1 = ScanTo(script, keywordEnd, ',', end);
  const auto q2 = ScanTo(script, *q1, ',', end);
  const auto q3 = ScanTo(script, *q2, ',', end);
  ASSERT_TRUE(q1 && q2 && q3);
  EXPECT_EQ(*q1, 19u);
  EXPECT_EQ(*q3, 25u);
  EXPECT_EQ(TakeField(script, keywordEnd, *q1), "6");
  EXPECT_EQ(TakeField(script, *q2, *q3), "194");
  EXPECT_EQ(TakeField(script, *q3, end), "106");
  EXPECT_FALSE(ScanTo(script, *q3, ',', end));  // stops at the line end
  EXPECT_EQ(StatementName(script, 9), "IDD_DLG1");
}

TEST(ScriptScan, FieldScansStopAtTheLineEndNotTheNextLine) {
  const std::string script = "FONT 8,\"MS Sans Serif\"\r\nSTYLE 0x1,2\r\n";
  const std::size_t end = LineEndOf(script, 0);
  const auto quoted = TakeQuotedText(script, 6, end);
  ASSERT_TRUE(quoted);
  EXPECT_EQ(quoted->text, "MS Sans Serif");
  EXPECT_FALSE(ScanTo(script, quoted->closingQuote, ',', end));
  EXPECT_FALSE(TakeQuotedText(script, quoted->closingQuote, end));
}

TEST(ScriptScan, ScansNeverPassTheEndOfTheScript) {
  const std::string script = "CONTROL \"unterminated";
  EXPECT_FALSE(TakeQuotedText(script, 0, script.size()));
  EXPECT_FALSE(ScanTo(script, 0, ',', 1000));
  EXPECT_FALSE(ScanToAny(script, 0, ",\r", 1000));
  EXPECT_EQ(TakeField(script, 3, 3), "");
  EXPECT_EQ(TakeRawField(script, 500, 600), "");
  EXPECT_EQ(LineEndOf(script, 0), script.size());
}

TEST(ScriptScan, TakeFieldTrimsAndTakeRawFieldKeepsQuotes) {
  const std::string script = "CONTROL \"&OK\",IDOK, \"Button\" ,0x50010000\r\n";
  EXPECT_EQ(TakeRawField(script, 18, 29), " \"Button\" ");
  EXPECT_EQ(TakeField(script, 18, 29), "\"Button\"");
  EXPECT_EQ(TakeField(script, 13, 18), "IDOK");
  EXPECT_EQ(TrimField(" \t \r"), "");
}

TEST(ScriptScan, LfCrLfAndCrLineEndsGiveTheSameLines) {
  const std::vector<std::string> expected{"BEGIN", "MENUITEM", "END"};
  EXPECT_EQ(LeadingWords("BEGIN\r\n  MENUITEM \"a\"\r\nEND\r\n"), expected);
  EXPECT_EQ(LeadingWords("BEGIN\n  MENUITEM \"a\"\nEND\n"), expected);
  EXPECT_EQ(LeadingWords("BEGIN\r  MENUITEM \"a\"\rEND"), expected);
}

TEST(ScriptScan, CommentsAreNotCode) {
  // Lines without '/' are taken in one pass; lines with one, and lines
  // inside a block comment, by the full walk. Quotes, tabs and blanks are
  // the same to both.
  struct Case {
    std::string script;
    std::vector<std::string> code;
  };
  const Case cases[] = {
      {"// MENUITEM \"commented\"\r\n"
       "/* POPUP \"a\"\r\n"
       "   MENUITEM \"b\" */ MENUITEM \"c\"\r\n"
       "  MENUITEM \"d\" // trailing\r\n",
       {"", "", "MENUITEM \"c\"", "MENUITEM \"d\""}},
      {"\t CONTROL \"a,b\", IDC_A, \"Button\"\t\r\n"
       "/* open \"quote\r\n"
       "   still \"comment */ CONTROL \"x/y\", 1\r\n"
       "  CONTROL \"x//y\", 2 // note\n"
       "   \t \r\n"
       "CONTROL \"unclosed\r\n"
       "END",
       {"CONTROL \"a,b\", IDC_A, \"Button\"", "", "CONTROL \"x/y\", 1", "CONTROL \"x//y\", 2", "", "CONTROL \"unclosed",
        "END"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LineCodes(c.script), c.code) << c.script;
}

TEST(ScriptScan, StatementKeywordsAreWholeLeadingWords) {
  const std::string script =
      "  MENUITEM \"a\"\r\n"
      "\tPOPUP\"b\"\r\n"
      "MENUITEMS \"c\"\r\n"
      "IDM_POPUP1 MENUITEM\r\n"
      "BEGIN \r\n"
      "END // done\r\n"
      "ENDING\r\n";
  LineWalker walker(script);
  std::vector<ScriptLine> lines(7);
  for (ScriptLine& line : lines)
    ASSERT_TRUE(walker.Next(line));
  EXPECT_TRUE(StartsStatement(script, lines[0], "MENUITEM"));
  EXPECT_TRUE(StartsStatement(script, lines[1], "POPUP"));
  EXPECT_FALSE(StartsStatement(script, lines[2], "MENUITEM"));
  EXPECT_FALSE(StartsStatement(script, lines[3], "MENUITEM"));
  EXPECT_TRUE(IsLoneWord(script, lines[4], "BEGIN"));
  EXPECT_TRUE(IsLoneWord(script, lines[5], "END"));
  EXPECT_FALSE(IsLoneWord(script, lines[6], "END"));
}

TEST(ScriptScan, KeywordSearchSkipsLongerWordsCommentsAndQuotes) {
  const std::string script =
      "#define IDR_MENUEX1 5\r\n"
      "// IDR MENUEX\r\n"
      "CAPTION \"MENUEX\"\r\n"
      "IDR_MAIN MENUEX\r\n";
  const auto found = FindKeyword(script, "MENUEX");
  ASSERT_TRUE(found);
  EXPECT_EQ(script.substr(*found, 6), "MENUEX");
  EXPECT_EQ(StatementName(script, *found), "IDR_MAIN");
  EXPECT_FALSE(FindKeyword("IDD DIALOGEX2 0,0,1,1", "DIALOGEX"));
}

TEST(ScriptScan, ResourceBlockRunsToTheEndThatClosesItsBegin) {
  const std::string script =
      "IDR MENUEX\r\n"
      "BEGIN\r\n"
      "  POPUP \"a\"\r\n"
      "  BEGIN\r\n"
      "  END\r\n"
      "END\r\n"
      "IDR2 MENUEX\r\n"
      "BEGIN\r\n"
      "END\r\n";
  const auto block = FindResourceBlock(script, "MENUEX");
  ASSERT_TRUE(block);
  EXPECT_TRUE(block->hasBegin);
  EXPECT_TRUE(block->closed);
  EXPECT_EQ(block->headStart, block->headEnd);
  EXPECT_EQ(script.substr(block->bodyStart, block->bodyEnd - block->bodyStart),
            "  POPUP \"a\"\r\n  BEGIN\r\n  END\r\n");
}

TEST(ScriptScan, UnclosedAndUnopenedBlocksEndAtTheScriptEnd) {
  const std::string unclosed = "IDR MENUEX\nBEGIN\n MENUITEM \"a\",1\n";
  const auto open = FindResourceBlock(unclosed, "MENUEX");
  ASSERT_TRUE(open);
  EXPECT_TRUE(open->hasBegin);
  EXPECT_FALSE(open->closed);
  EXPECT_EQ(open->bodyEnd, unclosed.size());

  const auto noBegin = FindResourceBlock("IDR MENUEX", "MENUEX");
  ASSERT_TRUE(noBegin);
  EXPECT_FALSE(noBegin->hasBegin);
  EXPECT_EQ(noBegin->bodyStart, noBegin->bodyEnd);
  EXPECT_FALSE(FindResourceBlock("IDR MENU\r\nBEGIN\r\nEND\r\n", "MENUEX"));
}

}  // namespace
}  // namespace trellane
