// The main window as an accessibility client reads it: through
// AccessibleObjectFromWindow, which sends WM_GETOBJECT to each window, from
// inside this process (from another one Wine answers E_NOINTERFACE even for
// a standard button). The drawn controls say what they are, the images on
// the caption strip press like buttons, and the windows come in the order
// of the layout. The test prints the tree it read.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fakes/ui_driver.h"
#include "ui/main_window_fixture.h"

namespace {

// An IAccessible as the client gets it, released at the end.
class TAcc {
 public:
  explicit TAcc(HWND hwnd) {
    void* p = nullptr;
    hr_ = AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT),
                                     __uuidof(IAccessible), &p);
    acc_ = static_cast<IAccessible*>(p);
  }
  explicit TAcc(const TControl& c) : TAcc(static_cast<HWND>(c.Peer().Handle())) {}
  ~TAcc() {
    if (acc_) acc_->Release();
  }
  TAcc(const TAcc&) = delete;
  TAcc& operator=(const TAcc&) = delete;

  HRESULT Result() const { return hr_; }
  IAccessible* operator->() const { return acc_; }
  explicit operator bool() const { return acc_ != nullptr; }

  static VARIANT Self() {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
  }
  LONG Role() const { return Long(&IAccessible::get_accRole); }
  LONG State() const { return Long(&IAccessible::get_accState); }
  std::wstring Name() const { return Text(&IAccessible::get_accName); }
  std::wstring Value() const { return Text(&IAccessible::get_accValue); }
  std::wstring DefaultAction() const { return Text(&IAccessible::get_accDefaultAction); }

 private:
  LONG Long(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) const {
    VARIANT out;
    VariantInit(&out);
    if (!acc_ || FAILED((acc_->*get)(Self(), &out)) || out.vt != VT_I4) return -1;
    return out.lVal;
  }
  std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) const {
    BSTR out = nullptr;
    if (!acc_ || FAILED((acc_->*get)(Self(), &out)) || !out) return L"";
    std::wstring s(out, SysStringLen(out));
    SysFreeString(out);
    return s;
  }

  HRESULT hr_ = E_FAIL;
  IAccessible* acc_ = nullptr;
};

std::wstring RoleText(LONG role) {
  wchar_t buf[64] = {};
  GetRoleTextW(static_cast<DWORD>(role), buf, 64);
  return buf;
}

std::wstring StateText(LONG state) {
  std::wstring out;
  for (DWORD bit = 1; bit != 0 && bit <= 0x40000000; bit <<= 1) {
    if (!(static_cast<DWORD>(state) & bit)) continue;
    wchar_t buf[64] = {};
    GetStateTextW(bit, buf, 64);
    out += (out.empty() ? L"" : L", ") + std::wstring(buf);
  }
  return out.empty() ? L"-" : out;
}

std::string Utf8(const std::wstring& s) {
  // One line each: a line break shows as " | ".
  std::wstring flat;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == L'\r' && i + 1 < s.size() && s[i + 1] == L'\n') continue;
    if (s[i] == L'\r' || s[i] == L'\n') {
      flat += L" | ";
    } else {
      flat += s[i];
    }
  }
  const int n = WideCharToMultiByte(CP_UTF8, 0, flat.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, flat.c_str(), -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(n > 0 ? n - 1 : 0));
  return out;
}

// The tree below a window, its child windows in the order clients walk
// them (from the top of the stacking): one line each, indented by depth.
void ReadTree(HWND parent, int depth, std::string& out, std::vector<std::wstring>* names) {
  for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    const TAcc acc(h);
    if (!acc) continue;
    const std::wstring name = acc.Name();
    if (names && depth == 1) names->push_back(name);
    out += std::string(static_cast<std::size_t>(depth) * 2, ' ') + Utf8(RoleText(acc.Role())) +
           " \"" + Utf8(name) + "\" [" + Utf8(StateText(acc.State())) + "]";
    const std::wstring action = acc.DefaultAction();
    if (!action.empty()) out += " action: " + Utf8(action);
    out += "\n";
    ReadTree(h, depth + 1, out, nullptr);
  }
}

TEST_F(MainForm, DrawnControlsTellAccessibilityClientsWhatTheyAre) {
  Start();
  mainWindow->ShowListBut.Click();  // the list too
  Pump();
  // The clock's three lines, each ended by a line break as Windows texts are.
  const std::wstring clock = mainWindow->LabelTime.Caption();
  ASSERT_EQ(clock.rfind(L"Время ", 0), 0u);
  std::wstring clockLines;
  for (wchar_t ch : clock) clockLines += ch == L'\r' ? std::wstring(L"\r\n") : std::wstring(1, ch);
  const struct {
    const char* what;
    const TControl& control;
    LONG role;
    std::wstring name;
    std::wstring value;
    std::wstring action;
  } cases[] = {
      {"minimize image", mainWindow->im1, ROLE_SYSTEM_PUSHBUTTON, L"_", L"", L"Нажать"},
      {"close image", mainWindow->im2, ROLE_SYSTEM_PUSHBUTTON, L"X", L"", L"Нажать"},
      {"caption strip", mainWindow->HEAD, ROLE_SYSTEM_TITLEBAR, L"Tivorra", L"", L""},
      {"title", mainWindow->cxLabel1, ROLE_SYSTEM_STATICTEXT, L"Tivorra v1.0", L"Tivorra v1.0",
       L""},
      {"clock", mainWindow->LabelTime, ROLE_SYSTEM_STATICTEXT, clockLines, clockLines, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TAcc acc(c.control);
    ASSERT_TRUE(acc) << std::hex << acc.Result();
    EXPECT_EQ(acc.Role(), c.role);
    EXPECT_EQ(acc.Name(), c.name);
    EXPECT_EQ(acc.Value(), c.value);
    EXPECT_EQ(acc.DefaultAction(), c.action);
    EXPECT_EQ(acc.State() & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE), 0);
  }

  // The state follows the control: hidden, then disabled.
  mainWindow->im1.Hide();
  EXPECT_NE(TAcc(mainWindow->im1).State() & STATE_SYSTEM_INVISIBLE, 0);
  mainWindow->im1.Show();
  mainWindow->im1.SetEnabled(false);
  EXPECT_NE(TAcc(mainWindow->im1).State() & STATE_SYSTEM_UNAVAILABLE, 0);
  // Disabled, it cannot be pressed.
  EXPECT_FALSE(SUCCEEDED(TAcc(mainWindow->im1)->accDoDefaultAction(TAcc::Self())));
  Pump();
  EXPECT_EQ(app.minimizeCount, 0);
  mainWindow->im1.SetEnabled(true);

  // The tree, in the order a screen reader walks it.
  std::string tree;
  std::vector<std::wstring> names;
  const HWND form = static_cast<HWND>(mainWindow->Peer().Handle());
  ReadTree(form, 1, tree, &names);
  const TAcc top(form);
  std::printf("%s \"%s\"\n%s", Utf8(RoleText(top.Role())).c_str(), Utf8(top.Name()).c_str(),
              tree.c_str());
  // The layout's order; the images over the strip come just above it.
  const std::vector<std::wstring> order = {
      L"_",        L"X",        L"Tivorra", clockLines,
      L"Новый",    L"Изменить", L"Удалить", L"Настройки",
      L"О программе", L"<<"};
  ASSERT_GE(names.size(), order.size());
  EXPECT_EQ(std::vector<std::wstring>(names.begin(), names.begin() + order.size()), order);

  // The default action of "_" minimizes the window, once the client's
  // call has returned.
  const TAcc minimize(mainWindow->im1);
  EXPECT_EQ(minimize->accDoDefaultAction(TAcc::Self()), S_OK);
  EXPECT_EQ(app.minimizeCount, 0);
  Pump();
  EXPECT_EQ(app.minimizeCount, 1);
  EXPECT_TRUE(app.Minimized());
}

TEST_F(MainForm, AnAccessibleObjectKeptAfterItsWindowIsGoneSaysSo) {
  Start();
  IAccessible* kept = nullptr;
  {
    TAcc acc(mainWindow->im2);
    ASSERT_TRUE(acc);
    kept = acc.operator->();
    kept->AddRef();
  }
  program.reset();
  mainWindow = nullptr;
  VARIANT role;
  VariantInit(&role);
  EXPECT_TRUE(FAILED(kept->get_accRole(TAcc::Self(), &role)));
  EXPECT_TRUE(FAILED(kept->accDoDefaultAction(TAcc::Self())));
  kept->Release();
}

}  // namespace
