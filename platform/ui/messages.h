#pragma once
// Message numbers, command ids, end codes, message-box styles and key codes, with the
// numbers the program's stored data and peers use. Plain constants only.
#include <cstdint>

namespace ui {

// --- Window messages -------------------------------------------------------------
inline constexpr std::uint32_t WM_NULL = 0x0000;
inline constexpr std::uint32_t WM_CREATE = 0x0001;
inline constexpr std::uint32_t WM_DESTROY = 0x0002;
inline constexpr std::uint32_t WM_MOVE = 0x0003;
inline constexpr std::uint32_t WM_SIZE = 0x0005;        // wParam: size type, lParam: MAKELPARAM(cx, cy)
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr std::uint32_t WM_ENABLE = 0x000A;
inline constexpr std::uint32_t WM_SETTEXT = 0x000C;
inline constexpr std::uint32_t WM_PAINT = 0x000F;
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_QUIT = 0x0012;
inline constexpr std::uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr std::uint32_t WM_SHOWWINDOW = 0x0018;
inline constexpr std::uint32_t WM_SETTINGCHANGE = 0x001A;
inline constexpr std::uint32_t WM_GETMINMAXINFO = 0x0024;
inline constexpr std::uint32_t WM_COPYDATA = 0x004A;    // lParam: const CopyData*
inline constexpr std::uint32_t WM_NOTIFY = 0x004E;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;     // wParam: virtual key, lParam: repeat count | flags
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr std::uint32_t WM_SYSCHAR = 0x0106;     // wParam: character typed with Alt
inline constexpr std::uint32_t WM_INITDIALOG = 0x0110;
inline constexpr std::uint32_t WM_COMMAND = 0x0111;     // wParam: MAKEWPARAM(id, notify code)
inline constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
inline constexpr std::uint32_t WM_TIMER = 0x0113;       // wParam: timer id
inline constexpr std::uint32_t WM_HSCROLL = 0x0114;
inline constexpr std::uint32_t WM_VSCROLL = 0x0115;
inline constexpr std::uint32_t WM_INITMENU = 0x0116;
inline constexpr std::uint32_t WM_INITMENUPOPUP = 0x0117;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;   // wParam: MK_* flags, lParam: MAKELPARAM(x, y) client
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr std::uint32_t WM_MOUSEWHEEL = 0x020A;  // 522; wParam: MAKEWPARAM(MK_*, delta), lParam: screen x, y
inline constexpr std::uint32_t WM_DROPFILES = 0x0233;   // lParam: const std::vector<std::string>* of paths
inline constexpr std::uint32_t WM_USER = 0x0400;
inline constexpr std::uint32_t WM_APP = 0x8000;

// Size types of WM_SIZE.
inline constexpr std::uint32_t SIZE_RESTORED = 0;
inline constexpr std::uint32_t SIZE_MINIMIZED = 1;
inline constexpr std::uint32_t SIZE_MAXIMIZED = 2;

// Mouse-key flags of the mouse messages.
inline constexpr std::uint32_t MK_LBUTTON = 0x0001;
inline constexpr std::uint32_t MK_RBUTTON = 0x0002;
inline constexpr std::uint32_t MK_SHIFT = 0x0004;
inline constexpr std::uint32_t MK_CONTROL = 0x0008;
inline constexpr std::uint32_t MK_MBUTTON = 0x0010;
inline constexpr int WHEEL_DELTA = 120;

// Packing helpers of the message parameters.
constexpr std::uint32_t MakeLong(std::uint16_t low, std::uint16_t high) {
  return static_cast<std::uint32_t>(low) | (static_cast<std::uint32_t>(high) << 16);
}
constexpr std::uint16_t LowWord(std::uint64_t v) { return static_cast<std::uint16_t>(v & 0xFFFF); }
constexpr std::uint16_t HighWord(std::uint64_t v) { return static_cast<std::uint16_t>((v >> 16) & 0xFFFF); }
// Signed halves, as mouse positions and wheel deltas are read.
constexpr int LowSigned(std::uint64_t v) { return static_cast<std::int16_t>(LowWord(v)); }
constexpr int HighSigned(std::uint64_t v) { return static_cast<std::int16_t>(HighWord(v)); }

// Control notification codes carried in the high word of WM_COMMAND's wParam.
inline constexpr std::uint16_t BN_CLICKED = 0;
inline constexpr std::uint16_t BN_DOUBLECLICKED = 5;
inline constexpr std::uint16_t EN_SETFOCUS = 0x0100;
inline constexpr std::uint16_t EN_KILLFOCUS = 0x0200;
inline constexpr std::uint16_t EN_CHANGE = 0x0300;
inline constexpr std::uint16_t CBN_SELCHANGE = 1;
inline constexpr std::uint16_t CBN_DBLCLK = 2;
inline constexpr std::uint16_t CBN_SETFOCUS = 3;
inline constexpr std::uint16_t CBN_KILLFOCUS = 4;
inline constexpr std::uint16_t CBN_EDITCHANGE = 5;
inline constexpr std::uint16_t CBN_DROPDOWN = 7;
inline constexpr std::uint16_t CBN_CLOSEUP = 8;
inline constexpr std::uint16_t LBN_SELCHANGE = 1;
inline constexpr std::uint16_t LBN_DBLCLK = 2;
// Notifications of the report list, tab, tree, slider, spin and date-time controls
// (delivered through Dialog::OnNotify with the control id).
inline constexpr int NM_CLICK = -2;
inline constexpr int NM_DBLCLK = -3;
inline constexpr int NM_RCLICK = -5;
inline constexpr int LVN_ITEMCHANGED = -101;
inline constexpr int LVN_COLUMNCLICK = -108;
inline constexpr int LVN_ENDSCROLL = -181;   // horizontal scroll position changed
inline constexpr int HDN_ITEMCHANGED = -320;  // a column width changed
inline constexpr int TCN_SELCHANGE = -551;
inline constexpr int TVN_SELCHANGED = -402;
inline constexpr int DTN_DATETIMECHANGE = -759;
inline constexpr int UDN_DELTAPOS = -722;
// Slider and scroll notifications come as WM_HSCROLL / WM_VSCROLL codes.
inline constexpr int TB_THUMBTRACK = 5;
inline constexpr int TB_ENDTRACK = 8;

// --- Dialog end codes and message-box answers -----------------------------------
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr int IDCLOSE = 8;
inline constexpr int IDHELP = 9;
// Id of static texts that no code addresses.
inline constexpr int IDC_STATIC = -1;

// --- Message-box styles -------------------------------------------------------------
inline constexpr std::uint32_t MB_OK = 0x00000000;
inline constexpr std::uint32_t MB_OKCANCEL = 0x00000001;
inline constexpr std::uint32_t MB_ABORTRETRYIGNORE = 0x00000002;
inline constexpr std::uint32_t MB_YESNOCANCEL = 0x00000003;
inline constexpr std::uint32_t MB_YESNO = 0x00000004;
inline constexpr std::uint32_t MB_RETRYCANCEL = 0x00000005;
inline constexpr std::uint32_t MB_TYPEMASK = 0x0000000F;
inline constexpr std::uint32_t MB_ICONHAND = 0x00000010;
inline constexpr std::uint32_t MB_ICONSTOP = MB_ICONHAND;
inline constexpr std::uint32_t MB_ICONERROR = MB_ICONHAND;
inline constexpr std::uint32_t MB_ICONQUESTION = 0x00000020;
inline constexpr std::uint32_t MB_ICONEXCLAMATION = 0x00000030;
inline constexpr std::uint32_t MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr std::uint32_t MB_ICONASTERISK = 0x00000040;
inline constexpr std::uint32_t MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr std::uint32_t MB_ICONMASK = 0x000000F0;
inline constexpr std::uint32_t MB_DEFBUTTON1 = 0x00000000;
inline constexpr std::uint32_t MB_DEFBUTTON2 = 0x00000100;
inline constexpr std::uint32_t MB_DEFBUTTON3 = 0x00000200;
inline constexpr std::uint32_t MB_DEFMASK = 0x00000F00;
// Sound of MessageBeep when given no icon type.
inline constexpr std::uint32_t MB_SIMPLEBEEP = 0xFFFFFFFF;

// --- Show commands --------------------------------------------------------------------
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_RESTORE = 9;

// --- Framework command ids and window ids ------------------------------------------------
inline constexpr std::uint32_t ID_FILE_NEW = 57600;
inline constexpr std::uint32_t ID_FILE_OPEN = 57601;
inline constexpr std::uint32_t ID_FILE_CLOSE = 57602;
inline constexpr std::uint32_t ID_FILE_SAVE = 57603;
inline constexpr std::uint32_t ID_FILE_SAVE_AS = 57604;
inline constexpr std::uint32_t ID_FILE_PAGE_SETUP = 57605;
inline constexpr std::uint32_t ID_FILE_PRINT_SETUP = 57606;
inline constexpr std::uint32_t ID_FILE_PRINT = 57607;
inline constexpr std::uint32_t ID_FILE_PRINT_DIRECT = 57608;
inline constexpr std::uint32_t ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr std::uint32_t ID_FILE_MRU_FILE1 = 57616;   // .. ID_FILE_MRU_FILE16
inline constexpr std::uint32_t ID_FILE_MRU_FILE10 = 57625;
inline constexpr std::uint32_t ID_FILE_MRU_LAST = 57631;
inline constexpr std::uint32_t ID_EDIT_COPY = 57634;
inline constexpr std::uint32_t ID_EDIT_PASTE = 57637;
inline constexpr std::uint32_t ID_APP_ABOUT = 57664;
inline constexpr std::uint32_t ID_APP_EXIT = 57665;
inline constexpr std::uint32_t ID_HELP_INDEX = 57667;
inline constexpr std::uint32_t ID_VIEW_TOOLBAR = 59392;
inline constexpr std::uint32_t ID_VIEW_STATUS_BAR = 59393;
// Ids of frame children.
inline constexpr int AFX_IDW_TOOLBAR = 59392;
inline constexpr int AFX_IDW_STATUS_BAR = 59393;
inline constexpr int AFX_IDW_PANE_FIRST = 59648;   // the frame's client window; splitter pane (0,0)
inline constexpr int AFX_IDW_PANE_LAST = 59903;
// Status-bar text of the idle state.
inline constexpr std::uint32_t AFX_IDS_IDLEMESSAGE = 57345;

// --- Virtual key codes ----------------------------------------------------------------------
inline constexpr std::uint32_t VK_LBUTTON = 0x01;
inline constexpr std::uint32_t VK_RBUTTON = 0x02;
inline constexpr std::uint32_t VK_BACK = 0x08;
inline constexpr std::uint32_t VK_TAB = 0x09;
inline constexpr std::uint32_t VK_RETURN = 0x0D;
inline constexpr std::uint32_t VK_SHIFT = 0x10;
inline constexpr std::uint32_t VK_CONTROL = 0x11;
inline constexpr std::uint32_t VK_MENU = 0x12;   // Alt
inline constexpr std::uint32_t VK_PAUSE = 0x13;
inline constexpr std::uint32_t VK_ESCAPE = 0x1B;
inline constexpr std::uint32_t VK_SPACE = 0x20;
inline constexpr std::uint32_t VK_PRIOR = 0x21;  // Page up (33)
inline constexpr std::uint32_t VK_NEXT = 0x22;   // Page down (34)
inline constexpr std::uint32_t VK_END = 0x23;
inline constexpr std::uint32_t VK_HOME = 0x24;
inline constexpr std::uint32_t VK_LEFT = 0x25;
inline constexpr std::uint32_t VK_UP = 0x26;
inline constexpr std::uint32_t VK_RIGHT = 0x27;
inline constexpr std::uint32_t VK_DOWN = 0x28;
inline constexpr std::uint32_t VK_INSERT = 0x2D;
inline constexpr std::uint32_t VK_DELETE = 0x2E;
// '0'..'9' are 0x30..0x39 and 'A'..'Z' are 0x41..0x5A, as their characters.
inline constexpr std::uint32_t VK_NUMPAD0 = 0x60;  // .. VK_NUMPAD9 = 0x69
inline constexpr std::uint32_t VK_NUMPAD9 = 0x69;
inline constexpr std::uint32_t VK_MULTIPLY = 0x6A;
inline constexpr std::uint32_t VK_ADD = 0x6B;
inline constexpr std::uint32_t VK_SUBTRACT = 0x6D;
inline constexpr std::uint32_t VK_DECIMAL = 0x6E;
inline constexpr std::uint32_t VK_DIVIDE = 0x6F;
inline constexpr std::uint32_t VK_F1 = 0x70;  // .. VK_F24 = 0x87
inline constexpr std::uint32_t VK_F12 = 0x7B;

// --- Copy-data record of WM_COPYDATA --------------------------------------------------------
// WM_GETMINMAXINFO's record (lParam): sizes in pixels.
struct MinMaxInfo {
  int maxWidth = 0, maxHeight = 0;            // maximised size
  int maxLeft = 0, maxTop = 0;                // maximised position
  int minTrackWidth = 0, minTrackHeight = 0;  // smallest size the user can drag to
  int maxTrackWidth = 0, maxTrackHeight = 0;  // largest size the user can drag to
};

struct CopyData {
  std::uintptr_t dwData = 0;     // the sender's code
  std::uint32_t cbData = 0;      // bytes at lpData
  const void* lpData = nullptr;
};

}  // namespace ui
