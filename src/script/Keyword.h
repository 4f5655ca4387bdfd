// The words of the resource-script grammar. The lexer classifies each
// identifier it reads, so the grammar compares keywords instead of spellings.
#pragma once

#include <cstdint>
#include <string_view>

namespace trellane {

enum class Keyword : std::uint8_t {
  None,  // no word of the grammar
  // Resources and the statements around their blocks.
  Begin,
  End,
  Dialog,
  DialogEx,
  Menu,
  MenuEx,
  StringTable,
  Language,
  Characteristics,
  Version,
  Style,
  ExStyle,
  Caption,
  Class,
  Font,
  MenuItem,
  Popup,
  Separator,
  Not,
  // Control statements.
  Control,
  LText,
  RText,
  CText,
  PushButton,
  DefPushButton,
  PushBox,
  CheckBox,
  AutoCheckBox,
  State3,
  Auto3State,
  RadioButton,
  AutoRadioButton,
  GroupBox,
  EditText,
  ComboBox,
  ListBox,
  ScrollBar,
  Icon,
  // Class names besides those of control statements.
  Button,
  Edit,
  Static,
  // MENU item options.
  Checked,
  Grayed,
  Help,
  Inactive,
  MenuBarBreak,
  MenuBreak,
  // Memory flags.
  Preload,
  LoadOnCall,
  Fixed,
  Moveable,
  Discardable,
  Pure,
  Impure,
  Shared,
  NonShared,
  // Other resources.
  Bitmap,
  Cursor,
  Html,
  MessageTable,
  AniCursor,
  AniIcon,
  PlugPlay,
  Vxd,
  Accelerators,
  VersionInfo,
  DlgInit,
  Toolbar,
  DesignInfo,
};

// The keyword an identifier spells in any letter case, or None.
Keyword ClassifyKeyword(std::string_view identifier);

}  // namespace trellane
