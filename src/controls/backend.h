// What the two halves of the controls share: colours, fonts, keys, the
// changes and user actions passed between them, the peers that own the
// windows, and the backend that makes the peers (Win32 in the program, a
// recording one in tests).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Colours: 0x00BBGGRR, or a system colour index with the high bit set.
using TColor = std::uint32_t;
inline constexpr TColor kSysColor = 0x80000000u;
inline constexpr TColor clBtnFace = kSysColor | 15;
inline constexpr TColor clWindow = kSysColor | 5;
inline constexpr TColor clWindowText = kSysColor | 8;
inline constexpr TColor clCaptionText = kSysColor | 9;
inline constexpr TColor clHighlight = kSysColor | 13;
inline constexpr TColor clGradientActiveCaption = kSysColor | 27;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;

struct TFont {
  std::wstring Name = L"MS Sans Serif";
  int Size = 8;  // points
  bool Bold = false;
  TColor Color = clWindowText;
  bool Cyrillic = false;  // ask for the Cyrillic character set
  bool Underline = false;
};

enum class TMouseButton { Left, Right, Middle };
struct TPoint {
  int X = 0;
  int Y = 0;
};
enum class TCursor { Default, Hand, Cross };

// Virtual-key codes the forms look at.
inline constexpr std::uint16_t kVkTab = 9;
inline constexpr std::uint16_t kVkReturn = 13;
inline constexpr std::uint16_t kVkEscape = 27;
inline constexpr std::uint16_t kVkSpace = 32;
inline constexpr std::uint16_t kVkLeft = 37;
inline constexpr std::uint16_t kVkUp = 38;
inline constexpr std::uint16_t kVkRight = 39;
inline constexpr std::uint16_t kVkDown = 40;
inline constexpr std::uint16_t kVkDelete = 46;
// The menu key, which opens the focused control's context menu.
inline constexpr std::uint16_t kVkApps = 93;
inline constexpr std::uint16_t kVkF10 = 121;

class TControl;
class TForm;
class TTimer;
class TPopupMenu;
class TTrayIcon;

// What changed in a control's state, for the peer to apply.
enum class TChange {
  Bounds,
  Text,
  Visible,
  Enabled,
  Look,   // font, colours, style, picture: repaint
  State,  // checked, selection, tab index, date or time value
  Items,  // rows, tabs, entries
  Repaint,  // draw now rather than at the next idle moment
};

// A user's action, performed by the peer as the window system would see it.
enum class TActionKind {
  Click,
  DblClick,
  MouseDown,
  MouseEnter,
  MouseLeave,
  PressKey,
  TypeText,
  SelectRow,
  SelectTab,
  PickItem,
  PickValue,
  ButtonClick,  // the ellipsis button of an edit
  ContextMenu,  // a right click on a list's row
};

struct TUserAction {
  TUserAction(TActionKind kind) : Kind(kind) {}  // NOLINT: a kind alone is an action
  TActionKind Kind;
  int Index = 0;  // row, tab, item, or virtual-key code
  TMouseButton Button = TMouseButton::Left;
  std::wstring Text;
  double Value = 0;
};

// The window-system half of one control.
class TControlPeer {
 public:
  virtual ~TControlPeer() = default;
  virtual void Apply(TChange change) = 0;
  virtual void Perform(const TUserAction& action) = 0;
  virtual void Focus() = 0;
  virtual bool Focused() const = 0;
  virtual void* Handle() const = 0;
  // Whether the control's window has been made yet: the Win32 half makes it
  // when the control first shows, and the control's state waits in the
  // model until then.
  virtual bool Made() const { return true; }
  // A peer whose window waits for its control to show makes it now, with
  // those of its children (every visible one with `all`, else the ones
  // showing). Others have theirs already.
  virtual void MakeNow(bool all) { (void)all; }
};

class TTimerPeer {
 public:
  virtual ~TTimerPeer() = default;
  virtual void Restart() = 0;  // interval or enabled changed
};

class TFormPeer : public TControlPeer {
 public:
  virtual void ShowNormal() = 0;  // to the top of the program's windows
  virtual void BringToForeground() = 0;
  virtual int RunModal() = 0;  // nested loop until the form closes
  virtual void StartDrag() = 0;  // ReleaseCapture + WM_SYSCOMMAND 0xF012
  virtual void Place() = 0;  // owner and position changed
  virtual void Prepare() {}  // make the controls' windows now
};

class TMenuPeer {
 public:
  virtual ~TMenuPeer() = default;
  // Shows the menu at a point of the screen (its own pixels, as the mouse
  // reports them) and returns the chosen item, or -1 when none was chosen.
  virtual int Track(int x, int y) = 0;
};

class TTrayPeer {
 public:
  virtual ~TTrayPeer() = default;
  virtual void Apply() = 0;  // added, changed or removed as the model says
  virtual void Perform(TMouseButton button, bool press) = 0;
  // Where the mouse is, in the screen's own pixels.
  virtual TPoint MousePos() const = 0;
};

// Creates the peers: the Win32 backend in the program, a recording one in
// native tests. Set before the first control is made.
class TPanel;
class TButton;
class TCheckBox;
class TRadioButton;
class TEdit;
class TMemo;
class TListBox;
class TComboBox;
class TTabControl;
class TDateTimePicker;
class TLabel;
class TTextImage;
class TGradientStrip;

class TBackend {
 public:
  virtual ~TBackend() = default;
  virtual std::unique_ptr<TControlPeer> CreatePeer(TPanel& c) = 0;
  virtual std::unique_ptr<TControlPeer> CreatePeer(TButton& c) = 0;
  virtual std::unique_ptr<TControlPeer> CreatePeer(TCheckBox& c) = 0;
  virtual std::unique_ptr<TControlPeer> CreatePeer(TRadioButton& c) = 0;
  virtual std::unique_ptr<TControlPeer> CreatePeer(TEdit& c) = 0;
  virtual std::unique_ptr<TControlPeer> CreatePeer(TMemo& c) = 0;
  virtual std::unique_ptr<TControlPeer> CreatePeer(TListBox& c) = 0;
  virtual std::unique_ptr<TControlPeer> CreatePeer(TComboBox& c) = 0;
  virtual std::unique_ptr<TControlPeer> CreatePeer(TTabControl& c) = 0;
  virtual std::unique_ptr<TControlPeer> CreatePeer(TDateTimePicker& c) = 0;
  virtual std::unique_ptr<TControlPeer> CreatePeer(TLabel& c) = 0;
  virtual std::unique_ptr<TControlPeer> CreatePeer(TTextImage& c) = 0;
  virtual std::unique_ptr<TControlPeer> CreatePeer(TGradientStrip& c) = 0;
  virtual std::unique_ptr<TFormPeer> CreateFormPeer(TForm& form) = 0;
  virtual std::unique_ptr<TTimerPeer> CreateTimerPeer(TTimer& timer) = 0;
  virtual std::unique_ptr<TMenuPeer> CreateMenuPeer(TPopupMenu& menu) = 0;
  virtual std::unique_ptr<TTrayPeer> CreateTrayPeer(TTrayIcon& icon) = 0;
};
void SetBackend(TBackend* backend);
TBackend& Backend();
