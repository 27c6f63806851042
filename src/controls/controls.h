// The control model. A control holds its own state (place, text, look,
// enabled, visible) and, when a window system is there, a peer that owns
// the real window. Setting a property from code stores it and applies it to
// the window; it raises no event. A user's action flows one way: the peer
// reads the new value into the control, then raises the control's event
// through DispatchEvent. Tests raise the same path with Click() and Tick(),
// headless natively and through real windows under Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
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
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;

struct TFont {
  std::wstring Name = L"MS Sans Serif";
  int Size = 8;  // points
  bool Bold = false;
  TColor Color = clWindowText;
  bool Cyrillic = false;  // ask for the Cyrillic character set
};

enum class TControlKind {
  Form,
  Panel,
  Button,
  Memo,
  Label,
  TextImage,
  GradientStrip,
};

enum class TLabelStyle { Plain, Embossed, Raised };
enum class TMouseButton { Left, Right, Middle };

class TControl;
class TForm;
class TTimer;

// The window-system half of one control.
class TControlPeer {
 public:
  virtual ~TControlPeer() = default;
  virtual void BoundsChanged() = 0;
  virtual void TextChanged() = 0;
  virtual void VisibleChanged() = 0;
  virtual void EnabledChanged() = 0;
  virtual void LookChanged() = 0;  // font, colours, style: repaint
  // A user's click through the real window (BM_CLICK and the like).
  virtual void PerformClick() = 0;
  virtual void* Handle() const = 0;
};

// Timers, form actions and modal loops of the window system.
class TTimerPeer {
 public:
  virtual ~TTimerPeer() = default;
  virtual void Restart() = 0;  // interval or enabled changed
};

class TFormPeer : public TControlPeer {
 public:
  virtual void ClientSizeChanged() = 0;
  virtual void ShowNormal() = 0;  // SW_SHOWNORMAL, to the top of the program's windows
  virtual void BringToForeground() = 0;
  virtual int RunModal() = 0;  // nested loop until the form closes; its ModalResult
  virtual void StartDrag() = 0;  // ReleaseCapture + WM_SYSCOMMAND 0xF012
};

// Creates the peers. Absent (headless) unless a window system is set up.
class TBackend {
 public:
  virtual ~TBackend() = default;
  virtual std::unique_ptr<TControlPeer> CreatePeer(TControl& control) = 0;
  virtual std::unique_ptr<TFormPeer> CreateFormPeer(TForm& form) = 0;
  virtual std::unique_ptr<TTimerPeer> CreateTimerPeer(TTimer& timer) = 0;
};
void SetBackend(TBackend* backend);
TBackend* Backend();

class TControl {
 public:
  TControl(TControl* parent, TControlKind kind, int left, int top, int width, int height);
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  TControlKind Kind() const { return kind_; }
  TControl* Parent() const { return parent_; }
  const std::vector<TControl*>& Children() const { return children_; }
  TControlPeer* Peer() const { return peer_.get(); }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Right() const { return left_ + width_; }
  int Bottom() const { return top_ + height_; }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& text);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible itself and inside visible parents.
  bool Showing() const;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  // A user's click: through the real window when there is one, so that both
  // halves take the same road; headless it raises OnClick directly.
  void Click();
  void MouseDown(TMouseButton button);

  std::function<void()> OnClick;
  std::function<void(TMouseButton)> OnMouseDown;

  // Called by the peers when the window system reports the action.
  void RaiseClick();
  void RaiseMouseDown(TMouseButton button);

 protected:
  void CreatePeerIfBackend();
  void AdoptPeer(std::unique_ptr<TControlPeer> peer) { peer_ = std::move(peer); }
  void NotifyLook();

 private:
  TControlKind kind_;
  TControl* parent_;
  std::vector<TControl*> children_;
  std::unique_ptr<TControlPeer> peer_;
  int left_, top_, width_, height_;
  std::wstring caption_;
  bool visible_ = true;
  bool enabled_ = true;
  TFont font_;
  TColor color_ = clBtnFace;
};

class TPanel : public TControl {
 public:
  TPanel(TControl* parent, int left, int top, int width, int height, bool sunken = false);
  bool Sunken() const { return sunken_; }

 private:
  bool sunken_;
};

class TButton : public TControl {
 public:
  TButton(TControl* parent, int left, int top, int width, int height, const std::wstring& caption);
  // A small picture before the caption: the name of one of the built-in glyphs.
  enum class TGlyph { None, New, Edit, Delete, Options, Info };
  TGlyph Glyph() const { return glyph_; }
  void SetGlyph(TGlyph glyph);

 private:
  TGlyph glyph_ = TGlyph::None;
};

// A read-only multi-line text box. Its text is kept exactly as given; lines
// may be separated by a lone carriage return, which the window shows as a
// line break.
class TMemo : public TControl {
 public:
  TMemo(TControl* parent, int left, int top, int width, int height);
  const std::wstring& Text() const { return Caption(); }
  void Clear() { SetCaption(std::wstring()); }
  void SetText(const std::wstring& text) { SetCaption(text); }
  // Repaints at once rather than at the next idle moment.
  void Repaint();
  int RepaintCount() const { return repaints_; }

 private:
  int repaints_ = 0;
};

class TLabel : public TControl {
 public:
  TLabel(TControl* parent, int left, int top, int width, int height, const std::wstring& caption,
         TLabelStyle style = TLabelStyle::Plain);
  TLabelStyle Style() const { return style_; }
  TColor ShadowColor() const { return shadow_; }
  void SetShadowColor(TColor c) {
    shadow_ = c;
    NotifyLook();
  }
  bool Centered() const { return centered_; }
  void SetCentered(bool c) {
    centered_ = c;
    NotifyLook();
  }
  bool Border() const { return border_; }
  void SetBorder(bool b) {
    border_ = b;
    NotifyLook();
  }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool t) {
    transparent_ = t;
    NotifyLook();
  }

 private:
  TLabelStyle style_;
  TColor shadow_ = clMaroon;
  bool centered_ = false;
  bool border_ = false;
  bool transparent_ = false;
};

// A small image that shows a text and acts on a click; it never takes the
// keyboard focus.
class TTextImage : public TControl {
 public:
  TTextImage(TControl* parent, int left, int top, int width, int height,
             const std::wstring& caption);
};

// A horizontal gradient mirrored about the centre.
class TGradientStrip : public TControl {
 public:
  TGradientStrip(TControl* parent, int left, int top, int width, int height, TColor edge,
                 TColor centre);
  TColor EdgeColor() const { return edge_; }
  TColor CentreColor() const { return centre_; }

 private:
  TColor edge_, centre_;
};

class TTimer {
 public:
  TTimer(int intervalMs, bool enabled);
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  int Interval() const { return interval_; }
  void SetInterval(int ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // One tick, as the window system would deliver it.
  void Tick();

  std::function<void()> OnTimer;

 private:
  int interval_;
  bool enabled_;
  std::unique_ptr<TTimerPeer> peer_;
};

enum class TBorderStyle { None, Single, Dialog };

class TForm : public TControl {
 public:
  TForm(const std::wstring& caption, int left, int top, int clientWidth, int clientHeight,
        TBorderStyle border);
  ~TForm() override;

  TBorderStyle BorderStyle() const { return border_; }
  int ClientWidth() const { return Width(); }
  int ClientHeight() const { return Height(); }
  void SetClientSize(int width, int height);

  // Forms start hidden. Showing raises OnShow the first time.
  void SetVisible(bool visible) override;
  // Shows in the normal state, on top of the program's windows.
  void ShowNormal();
  void BringToForeground();
  bool IsForeground() const { return foreground_; }
  // A close request (close box, system menu, code): raises OnClose, then
  // hides the form.
  void Close();
  // Shown modally: returns when the form closes, with its ModalResult.
  int ShowModal();
  bool IsModal() const { return modal_; }
  int ModalResult = 0;
  void StartDrag();

  // Called by the window system when this form becomes the active window;
  // `previous` is the program's form that was active before, or null for a
  // message box, another program or nothing. OnActivate is raised the first
  // time, and when the focus comes back from a non-modal form of the
  // program; not after a modal dialog, a message box or another program.
  void Activated(TForm* previous);

  std::function<void()> OnShow;
  std::function<void()> OnActivate;
  std::function<void()> OnClose;
  // The window was minimised (true) or restored (false).
  std::function<void(bool)> OnMinimizedChanged;

  // Headless: what a modal run does, set by tests.
  std::function<int(TForm&)> ModalScript;

  TFormPeer* FormPeer() const { return formPeer_; }
  // Window system: the form lost the foreground.
  void Deactivated() { foreground_ = false; }
  // Window system: minimised or restored.
  void MinimizedChanged(bool minimized);
  // Drags started with StartDrag.
  int DragCount() const { return drags_; }
  // Whether the form was last shown as a modal dialog.
  bool LastShownModal() const { return lastShownModal_; }

 private:
  TBorderStyle border_;
  bool shownOnce_ = false;
  bool activatedOnce_ = false;
  bool foreground_ = false;
  bool modal_ = false;
  bool lastShownModal_ = false;
  int drags_ = 0;
  bool minimized_ = false;
  TFormPeer* formPeer_ = nullptr;
};
