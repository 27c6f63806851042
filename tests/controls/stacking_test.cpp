// Overlapping controls stack as the form's description declares them, the
// later above the earlier, on both halves; under Windows what lies on top
// at a point is what a click there reaches.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "fakes/ui_driver.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// A caption strip with a title on it and two images over its right end,
// the second overlapping the first by a pixel; a tab control with its list
// above it; a panel whose controls overlap a little.
class TLayered : public TForm {
 public:
  TLayered() : TForm(L"Слои", 60, 60, 300, 220, TBorderStyle::None) {}
  ~TLayered() override { Hide(); }
  TGradientStrip Strip{this, 0, 0, 300, 25, clCaptionText, clGradientActiveCaption};
  TLabel Title{&Strip, 0, 0, 99, 25, L"Заголовок", TLabel::Embossed};
  TTextImage Min{this, 249, 0, 25, 25, L"_"};
  TTextImage Close{this, 273, 0, 25, 25, L"X"};
  TTabControl Tabs{this, 8, 32, 200, 120, 33};
  TListBox List{this, 16, 72, 184, 72};
  TPanel Box{this, 8, 160, 280, 56};
  TCheckBox Early{&Box, 4, 4, 120, 21, L"Раньше"};
  TButton Later{&Box, 50, 4, 75, 25, L"Позже"};
};

TEST(Stacking, ALaterControlLiesAboveAnEarlierOne) {
  TLayered f;
  f.Tabs.SetTabs({L"Один", L"Два"});
  f.ShowNormal();
  Pump();
  const struct {
    const char* name;
    const TControl& parent;
    std::vector<const TControl*> topFirst;
  } cases[] = {
      {"the form", f, {&f.Box, &f.List, &f.Tabs, &f.Close, &f.Min, &f.Strip}},
      {"the strip", f.Strip, {&f.Title}},
      {"a panel", f.Box, {&f.Later, &f.Early}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(StackOf(c.parent), c.topFirst);
  }
  // Hiding and showing again changes nothing.
  f.List.Hide();
  f.Min.Hide();
  f.List.Show();
  f.Min.Show();
  EXPECT_EQ(StackOf(f), cases[0].topFirst);
}

TEST(Stacking, AControlMadeAfterTheOthersLiesAboveThem) {
  TLayered f;
  f.ShowNormal();
  auto late = std::make_unique<TButton>(&f, 0, 0, 60, 25, L"Поздний");
  EXPECT_EQ(StackOf(f).front(), late.get());
  late.reset();
  EXPECT_EQ(StackOf(f).front(), &f.Box);
}

#ifdef _WIN32
// The control a click at the centre of `c` reaches, level by level from the
// form down, as Windows finds it: the topmost visible window there.
HWND WindowAtCentreOf(const TControl& c) {
  HWND target = static_cast<HWND>(c.Peer().Handle());
  RECT r;
  GetWindowRect(target, &r);
  const POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  HWND at = static_cast<HWND>(const_cast<TControl&>(c).OwningForm()->Peer().Handle());
  for (;;) {
    POINT p = centre;
    ScreenToClient(at, &p);
    HWND child = ChildWindowFromPointEx(at, p, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == at) return at;
    at = child;
    if (at == target) return at;
  }
}

TEST(Stacking, TheCentreOfEachControlReachesItUnlessALaterOneCoversIt) {
  TLayered f;
  f.Tabs.SetTabs({L"Один", L"Два"});
  f.ShowNormal();
  Pump();
  const struct {
    const TControl& control;
    const TControl& reached;
  } cases[] = {
      {f.Strip, f.Strip}, {f.Title, f.Title}, {f.Min, f.Min},     {f.Close, f.Close},
      {f.Tabs, f.List},   {f.List, f.List},   {f.Early, f.Later}, {f.Later, f.Later},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(WindowAtCentreOf(cases[i].control),
              static_cast<HWND>(cases[i].reached.Peer().Handle()))
        << "at the centre of control " << i;
  }
}

TEST(Stacking, EveryDrawnControlNamesItselfWithItsCaption) {
  TLayered f;
  f.Strip.SetCaption(L"Полоса");
  f.ShowNormal();
  const auto text = [](const TControl& c) {
    wchar_t buf[128] = {};
    SendMessageW(static_cast<HWND>(c.Peer().Handle()), WM_GETTEXT, 128,
                 reinterpret_cast<LPARAM>(buf));
    return std::wstring(buf);
  };
  EXPECT_EQ(text(f.Strip), L"Полоса");
  EXPECT_EQ(text(f.Title), L"Заголовок");
  EXPECT_EQ(text(f.Min), L"_");
  EXPECT_EQ(text(f.Close), L"X");
  f.Title.SetCaption(L"Время 7:05:09\rДата 08.12.2026");
  EXPECT_EQ(text(f.Title), L"Время 7:05:09\rДата 08.12.2026");
}
#endif

}  // namespace
