#include "script/ResourceModel.h"

namespace trellane {

std::uint32_t Dialog::TemplateStyle() const {
  constexpr std::uint32_t DefaultStyle = 0x80880000;  // WS_POPUP | WS_BORDER | WS_SYSMENU
  constexpr std::uint32_t WsCaption = 0x00C00000;
  constexpr std::uint32_t DsSetFont = 0x40;
  std::uint32_t used = style ? style->value : DefaultStyle;
  if (font)
    used |= DsSetFont;
  else
    used &= ~DsSetFont;
  if (caption)
    used |= WsCaption;
  return used;
}

}  // namespace trellane
