// Field-by-field comparison of the dialogs and menus of a script as the front
// end reads them with the templates a resource compiler wrote for the same
// script, and of windres's templates with llvm-rc's.
#pragma once

#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "script/ResourceModel.h"
#include "tests/oracle/ResFile.h"

namespace trellane {

struct CompiledDialog {
  ResEntry header;  // without its data
  ResDialog dialog;
};

struct CompiledMenu {
  ResEntry header;  // without its data
  ResMenu menu;
};

// The dialogs and menus of a .res file, each kind in file order.
struct CompiledScript {
  std::vector<CompiledDialog> dialogs;
  std::vector<CompiledMenu> menus;
};

ResDecoding<CompiledScript> DecodeCompiledScript(std::string_view res, MenuExHelpIdPlacement helpIdPlacement);

// The first field in which a reading differs from the reference.
struct FieldMismatch {
  std::string resource;  // "dialog 2 (IDD_ABOUT)"
  std::string item;      // "control 3 (id 1001)", empty for the resource's own fields
  std::string field;
  std::string reference;
  std::string other;
};

std::string Describe(const FieldMismatch& mismatch, std::string_view referenceName, std::string_view otherName);

std::optional<FieldMismatch> CompareWithModel(const ResourceScript& model, const CompiledScript& reference);

// Each dialog and menu of the reference compared with the model's of the same
// kind and place.
struct ResourceComparison {
  const char* kind = "";  // "dialog" or "menu"
  std::optional<FieldMismatch> mismatch;
};
std::vector<ResourceComparison> CompareEachWithModel(const ResourceScript& model, const CompiledScript& reference);

// The ways windres reads a script differently from llvm-rc that the test
// accepts; docs/oracle-differences.md explains each.
enum class WindresDifference {
  UpperCasedClassAndMenuTexts,
  UpperCasedIconTexts,
  IconSizeDropped,
  DefaultStyleBitsDroppedWithStyle,
  RadioButtonsTabStop,
  ComboBoxDefaultStyle,
  PushBox,
  MenuExWrittenAsMenu,
  WideTextBytes,
  ItalicAsGiven,
};

struct WindresDifferenceInfo {
  WindresDifference difference;
  const char* name;
};

std::span<const WindresDifferenceInfo> WindresDifferences();

struct WindresComparison {
  std::optional<FieldMismatch> unexplained;  // the first difference none of WindresDifferences() explains
  std::set<WindresDifference> seen;
};

WindresComparison CompareWindresWithLlvmRc(const CompiledScript& llvmRc, const CompiledScript& windres);

}  // namespace trellane
