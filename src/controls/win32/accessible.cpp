#include "controls/win32/accessible.h"

#include <ole2.h>
#include <oleacc.h>

#include <new>
#include <string>

#include "controls/win32/win32_common.h"
#include "platform/win32/system_libraries.h"

namespace win32 {
namespace {

// What the control is, from its kind. A label's value is its text: the
// clock is read by its value as it changes.
struct TAccessibleKind {
  LONG Role;
  bool HasValue;
  bool Presses;
};

TAccessibleKind KindOf(const TControl& c) {
  switch (c.ControlKind()) {
    case TControlKind::TextImage:
      return {ROLE_SYSTEM_PUSHBUTTON, false, true};
    case TControlKind::Label:
      return {ROLE_SYSTEM_STATICTEXT, true, false};
    case TControlKind::GradientStrip:
      return {ROLE_SYSTEM_TITLEBAR, false, false};
    case TControlKind::Panel:
      return {ROLE_SYSTEM_GROUPING, false, false};
    default:
      return {ROLE_SYSTEM_CLIENT, false, false};
  }
}

// The text Windows gives a push button's default action.
constexpr wchar_t kPressAction[] = L"Нажать";

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT ToBstr(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = oleaut32::SysAllocString(text.c_str());
  return *out ? S_OK : E_OUTOFMEMORY;
}

// The COM methods are called by the system for other programs: nothing
// thrown may leave them. What can be thrown here is a failed allocation.
template <typename TBody>
HRESULT Answer(TBody&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

// One drawn control's accessible object. What a plain window already
// answers (its place, parent, children, navigation, focus) comes from the
// system's standard object for the window; the role, name, value, state and
// default action come from the control. The control is looked up by its
// window at each call, so an object a client keeps after the window has
// gone reports it as disconnected.
class TDrawnAccessible final : public IAccessible, public IOleWindow {
 public:
  explicit TDrawnAccessible(HWND hwnd) : hwnd_(hwnd) {
    void* standard = nullptr;
    if (SUCCEEDED(oleacc::CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                    &standard))) {
      std_ = static_cast<IAccessible*>(standard);
    }
  }
  TDrawnAccessible(const TDrawnAccessible&) = delete;
  TDrawnAccessible& operator=(const TDrawnAccessible&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
        IsEqualIID(iid, __uuidof(IAccessible))) {
      *out = static_cast<IAccessible*>(this);
    } else if (IsEqualIID(iid, __uuidof(IOleWindow))) {
      *out = static_cast<IOleWindow*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
  }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IOleWindow: how oleacc finds the window behind the object.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) noexcept override {
    if (!out) return E_POINTER;
    *out = hwnd_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override { return E_NOTIMPL; }

  // IDispatch: clients call the interface directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID,
                                          DISPID*) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) noexcept override {
    return E_NOTIMPL;
  }

  // IAccessible: what the control says of itself.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) noexcept override {
    if (!IsSelf(child)) return std_ ? std_->get_accName(child, out) : E_INVALIDARG;
    return Answer([&] {
      const TWindowPeer* peer = Peer();
      return peer ? ToBstr(ToWindowLines(peer->Control().Caption()), out) : RPC_E_DISCONNECTED;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) noexcept override {
    if (!IsSelf(child)) return std_ ? std_->get_accValue(child, out) : E_INVALIDARG;
    return Answer([&] {
      const TWindowPeer* peer = Peer();
      if (!peer) return RPC_E_DISCONNECTED;
      if (!KindOf(peer->Control()).HasValue) {
        if (out) *out = nullptr;
        return static_cast<HRESULT>(DISP_E_MEMBERNOTFOUND);
      }
      return ToBstr(ToWindowLines(peer->Control().Caption()), out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) noexcept override {
    if (!IsSelf(child)) return std_ ? std_->get_accRole(child, out) : E_INVALIDARG;
    if (!out) return E_POINTER;
    const TWindowPeer* peer = Peer();
    if (!peer) return RPC_E_DISCONNECTED;
    out->vt = VT_I4;
    out->lVal = KindOf(peer->Control()).Role;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) noexcept override {
    if (!IsSelf(child)) return std_ ? std_->get_accState(child, out) : E_INVALIDARG;
    if (!out) return E_POINTER;
    const TWindowPeer* peer = Peer();
    if (!peer) return RPC_E_DISCONNECTED;
    const TControl& c = peer->Control();
    LONG state = 0;
    if (!IsWindowVisible(hwnd_)) state |= STATE_SYSTEM_INVISIBLE;
    if (!c.Usable()) state |= STATE_SYSTEM_UNAVAILABLE;
    if (const auto* label = As<TLabel>(&c)) {
      state |= STATE_SYSTEM_READONLY;
      if (label->Hovered()) state |= STATE_SYSTEM_HOTTRACKED;
    }
    out->vt = VT_I4;
    out->lVal = state;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) noexcept override {
    if (!IsSelf(child)) return std_ ? std_->get_accDefaultAction(child, out) : E_INVALIDARG;
    return Answer([&] {
      const TWindowPeer* peer = Peer();
      if (!peer) return RPC_E_DISCONNECTED;
      if (!KindOf(peer->Control()).Presses) {
        if (out) *out = nullptr;
        return static_cast<HRESULT>(DISP_E_MEMBERNOTFOUND);
      }
      return ToBstr(kPressAction, out);
    });
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) noexcept override {
    if (!IsSelf(child)) return std_ ? std_->accDoDefaultAction(child) : E_INVALIDARG;
    const TWindowPeer* peer = Peer();
    if (!peer) return RPC_E_DISCONNECTED;
    if (!KindOf(peer->Control()).Presses) return DISP_E_MEMBERNOTFOUND;
    if (!peer->Control().Showing() || !peer->Control().Usable()) return E_FAIL;
    // Posted, as Windows' own buttons do it: the client's call returns
    // before the click's handler runs (it may open a modal window).
    return PostMessageW(hwnd_, kAccessiblePress, 0, 0) ? S_OK : E_FAIL;
  }

  // The rest is the window's, as the standard object answers it.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) noexcept override {
    return std_ ? std_->get_accParent(out) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* out) noexcept override {
    return std_ ? std_->get_accChildCount(out) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) noexcept override {
    return std_ ? std_->get_accChild(child, out) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) noexcept override {
    return std_ ? std_->get_accDescription(child, out) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) noexcept override {
    return std_ ? std_->get_accHelp(child, out) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child,
                                             LONG* topic) noexcept override {
    return std_ ? std_->get_accHelpTopic(file, child, topic) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) noexcept override {
    return std_ ? std_->get_accKeyboardShortcut(child, out) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) noexcept override {
    return std_ ? std_->get_accFocus(out) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) noexcept override {
    return std_ ? std_->get_accSelection(out) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) noexcept override {
    return std_ ? std_->accSelect(flags, child) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) noexcept override {
    return std_ ? std_->accLocation(left, top, width, height, child) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG dir, VARIANT start, VARIANT* out) noexcept override {
    return std_ ? std_->accNavigate(dir, start, out) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) noexcept override {
    return std_ ? std_->accHitTest(x, y, out) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) noexcept override { return E_NOTIMPL; }

 private:
  ~TDrawnAccessible() {
    if (std_) std_->Release();
  }
  const TWindowPeer* Peer() const { return IsWindow(hwnd_) ? PeerOf(hwnd_) : nullptr; }

  LONG refs_ = 1;
  HWND hwnd_;
  IAccessible* std_ = nullptr;
};

}  // namespace

LRESULT AccessibleObjectFor(HWND hwnd, WPARAM wp, LPARAM objectId) {
  if (static_cast<LONG>(static_cast<DWORD>(objectId)) != OBJID_CLIENT) return 0;
  // The object is handed over through COM's marshalling, which needs the
  // window thread in an apartment (the sound output puts it in the same
  // one when it first plays; a second call only counts).
  static const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  (void)apartment;
  auto* object = new (std::nothrow) TDrawnAccessible(hwnd);
  if (!object) return 0;
  const LRESULT result =
      oleacc::LresultFromObject(__uuidof(IAccessible), wp, static_cast<IAccessible*>(object));
  object->Release();
  // A failure comes back as a negative HRESULT: let the default answer.
  return result < 0 ? 0 : result;
}

}  // namespace win32
