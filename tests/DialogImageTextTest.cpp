#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/Converters.h"
#include "metrics/FixedMetrics.h"
#include "radasm/DialogImageText.h"
#include "radasm/DialogRecordFile.h"

namespace trellane {
namespace {

TEST(DialogImageText, DumpShowsHeaderWindowAndEveryControl) {
  const std::string script =
      "#define IDD_MAIN 100\r\n#define IDC_NAME 1001\r\nIDD_MAIN DIALOGEX 10, 20, 160, 80\r\nSTYLE 0x10CC0000\r\n"
      "EXSTYLE 0x00000000\r\nCAPTION \"Login\"\r\nFONT 8, \"MS Sans Serif\", 400, 0, 0x1\r\nMENU IDR_MAIN\r\n"
      "CLASS \"LoginClass\"\r\nBEGIN\r\n"
      "CONTROL \"Name\", IDC_NAME, \"Edit\", 0x50010080, 7, 7, 100, 12, 0x00000200\r\n"
      "CONTROL \"OK\", 1, \"Button\", 0x50010001, 110, 60, 40, 14, 0x00000000\r\n"
      "CONTROL \"\", -1, \"RAHexEdit\", 0x50000000, 0, 0, 4, 8\r\n"
      "END\r\n";
  FixedMetrics metrics({8, 16}, 96, {13, 316});
  const ConverterResult result = ConvertDialogScript(script, metrics, [](MenuNameSlot& slot) {
    const std::string name = "main.mnu";
    std::copy(name.begin(), name.end(), slot.begin());
  });
  std::ostringstream out;
  DescribeDialogImage(result.image, out);
  EXPECT_EQ(out.str(),
            "dialog record file, format 101, 3 controls\n"
            "class \"LoginClass\", menu \"main.mnu\", following id 101\n"
            "font \"MS Sans Serif\", 8 points, height -11, weight 400\n"
            "#  type             name        id  text     style       exstyle       x   y  width  height\n"
            "-  Dialog           IDD_MAIN   100  \"Login\"  0x10CC0000  0x00000000   15  33    248     176\n"
            "0  Edit             IDC_NAME  1001  \"Name\"   0x50010080  0x00000200   11  11    150      20\n"
            "1  Button           -            1  \"OK\"     0x50010001  0x00000000  165  98     60      23\n"
            "2  RAHexEdit (261)  -           -1  \"\"       0x50000000  0x00000000    0   0      6      13\n");
}

TEST(DialogImageText, ShortOrRaggedImagesAreDescribedNotRead) {
  std::ostringstream shortImage;
  DescribeDialogImage(Image(100, 0), shortImage);
  EXPECT_EQ(shortImage.str(), "dialog record file too short: 100 bytes\n");
  std::ostringstream ragged;
  Image image(DialogImageSize(1) + 7, 0);
  StoreU32(image, DialogHeader::formatTag, DialogHeader::FormatTag);
  DescribeDialogImage(image, ragged);
  EXPECT_NE(ragged.str().find("7 bytes after the last whole record"), std::string::npos);
  EXPECT_NE(ragged.str().find("(marker 0)"), std::string::npos);
}

TEST(DialogImageText, TypeNamesOfRadasmTypes) {
  EXPECT_EQ(ControlTypeName(1), "Edit");
  EXPECT_EQ(ControlTypeName(3), "GroupBox");
  EXPECT_EQ(ControlTypeName(23), "UserDefined");
  EXPECT_EQ(ControlTypeName(44), "RAVideo");
  EXPECT_EQ(ControlTypeName(10), "");
}

}  // namespace
}  // namespace trellane
