// The Win32 style bits that the record writers, frames and pictures read,
// as the Windows headers spell them. Not for files that include
// <windows.h>, whose macros of the same names would replace them.
#pragma once

#include <cstdint>

namespace trellane {

// Window styles.
constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr std::uint32_t WS_DISABLED = 0x08000000;
constexpr std::uint32_t WS_CAPTION = 0x00C00000;
constexpr std::uint32_t WS_BORDER = 0x00800000;
constexpr std::uint32_t WS_DLGFRAME = 0x00400000;
constexpr std::uint32_t WS_VSCROLL = 0x00200000;
constexpr std::uint32_t WS_HSCROLL = 0x00100000;
constexpr std::uint32_t WS_SYSMENU = 0x00080000;
constexpr std::uint32_t WS_THICKFRAME = 0x00040000;
constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000;
constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000;

// Extended window styles.
constexpr std::uint32_t WS_EX_DLGMODALFRAME = 0x00000001;
constexpr std::uint32_t WS_EX_TOOLWINDOW = 0x00000080;
constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x00000200;
constexpr std::uint32_t WS_EX_CONTEXTHELP = 0x00000400;
constexpr std::uint32_t WS_EX_STATICEDGE = 0x00020000;

// Dialog styles.
constexpr std::uint32_t DS_MODALFRAME = 0x0080;
constexpr std::uint32_t DS_SETFONT = 0x0040;
constexpr std::uint32_t DS_CONTROL = 0x0400;

// Button styles.
constexpr std::uint32_t BS_MULTILINE = 0x2000;
constexpr std::uint32_t BS_PUSHLIKE = 0x1000;
constexpr std::uint32_t BS_VCENTER = 0x0C00;
constexpr std::uint32_t BS_BOTTOM = 0x0800;
constexpr std::uint32_t BS_TOP = 0x0400;
constexpr std::uint32_t BS_CENTER = 0x0300;
constexpr std::uint32_t BS_RIGHT = 0x0200;
constexpr std::uint32_t BS_LEFT = 0x0100;
constexpr std::uint32_t BS_BITMAP = 0x0080;
constexpr std::uint32_t BS_ICON = 0x0040;
constexpr std::uint32_t BS_LEFTTEXT = 0x0020;
constexpr std::uint32_t BS_TYPEMASK = 0x000F;
constexpr std::uint32_t BS_DEFCOMMANDLINK = 0x000F;
constexpr std::uint32_t BS_DEFSPLITBUTTON = 0x000D;
constexpr std::uint32_t BS_OWNERDRAW = 0x000B;
constexpr std::uint32_t BS_GROUPBOX = 0x0007;
constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x0001;

// Static styles.
constexpr std::uint32_t SS_SUNKEN = 0x1000;
constexpr std::uint32_t SS_CENTERIMAGE = 0x0200;
constexpr std::uint32_t SS_NOPREFIX = 0x0080;
constexpr std::uint32_t SS_REALSIZECONTROL = 0x0040;
constexpr std::uint32_t SS_TYPEMASK = 0x001F;
constexpr std::uint32_t SS_ETCHEDFRAME = 0x0012;
constexpr std::uint32_t SS_ETCHEDVERT = 0x0011;
constexpr std::uint32_t SS_ETCHEDHORZ = 0x0010;
constexpr std::uint32_t SS_ENHMETAFILE = 0x000F;
constexpr std::uint32_t SS_BITMAP = 0x000E;
constexpr std::uint32_t SS_OWNERDRAW = 0x000D;
constexpr std::uint32_t SS_LEFTNOWORDWRAP = 0x000C;
constexpr std::uint32_t SS_SIMPLE = 0x000B;
constexpr std::uint32_t SS_WHITEFRAME = 0x0009;
constexpr std::uint32_t SS_GRAYFRAME = 0x0008;
constexpr std::uint32_t SS_BLACKFRAME = 0x0007;
constexpr std::uint32_t SS_WHITERECT = 0x0006;
constexpr std::uint32_t SS_GRAYRECT = 0x0005;
constexpr std::uint32_t SS_BLACKRECT = 0x0004;
constexpr std::uint32_t SS_ICON = 0x0003;
constexpr std::uint32_t SS_RIGHT = 0x0002;
constexpr std::uint32_t SS_CENTER = 0x0001;
constexpr std::uint32_t SS_LEFT = 0x0000;

// Edit styles.
constexpr std::uint32_t ES_READONLY = 0x0800;
constexpr std::uint32_t ES_AUTOHSCROLL = 0x0080;
constexpr std::uint32_t ES_PASSWORD = 0x0020;
constexpr std::uint32_t ES_MULTILINE = 0x0004;
constexpr std::uint32_t ES_RIGHT = 0x0002;
constexpr std::uint32_t ES_CENTER = 0x0001;

// Combo box styles.
constexpr std::uint32_t CBS_TYPEMASK = 0x0003;
constexpr std::uint32_t CBS_SIMPLE = 0x0001;

// Scroll bar styles.
constexpr std::uint32_t SBS_SIZEGRIP = 0x0010;
constexpr std::uint32_t SBS_SIZEBOX = 0x0008;
constexpr std::uint32_t SBS_VERT = 0x0001;

// Up-down styles.
constexpr std::uint32_t UDS_HORZ = 0x0040;

}  // namespace trellane
