// Sibling controls stack in the order of the form's description, the
// first on top as in a Windows dialog, so that screen readers (which walk
// windows from the top) meet them as they are laid out; a control that
// overlaps earlier ones lies just above the topmost of them. Both halves;
// under Windows what lies on top at a point is what a click there reaches.
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

TEST(Stacking, TheFormsControlsStackInReadingOrderWithOverlapsLifted) {
  TLayered f;
  f.Tabs.SetTabs({L"Один", L"Два"});
  f.ShowNormal();
  Pump();
  const struct {
    const char* name;
    const TControl& parent;
    std::vector<const TControl*> topFirst;
  } cases[] = {
      {"the form", f, {&f.Min, &f.Close, &f.Strip, &f.List, &f.Tabs, &f.Box}},
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
  // Moved off the tabs, the list covers nothing and takes its place in
  // the order of the description; moved back, it lies above them again.
  f.List.SetBounds(220, 32, 70, 120);
  const std::vector<const TControl*> apart = {&f.Min, &f.Close, &f.Strip, &f.Tabs, &f.List, &f.Box};
  EXPECT_EQ(StackOf(f), apart);
  f.List.SetBounds(16, 72, 184, 72);
  EXPECT_EQ(StackOf(f), cases[0].topFirst);
}

// Places of siblings on a form, in the order of the description, and the
// stacking that follows, top first.
TEST(Stacking, TheFirstLiesOnTopAndAnOverlappingOneJustAboveWhatItCovers) {
  struct TPlace {
    int left, top, width, height;
  };
  const struct {
    const char* name;
    std::vector<TPlace> places;
    std::vector<int> topFirst;
  } cases[] = {
      {"apart, in a column", {{0, 0, 50, 20}, {0, 30, 50, 20}, {0, 60, 50, 20}}, {0, 1, 2}},
      {"edges touching", {{0, 0, 50, 20}, {50, 0, 50, 20}, {0, 20, 50, 20}}, {0, 1, 2}},
      {"a later one over an earlier", {{0, 0, 50, 20}, {100, 0, 50, 20}, {10, 5, 20, 10}}, {2, 0, 1}},
      {"over two, above the topmost", {{0, 0, 50, 20}, {40, 0, 50, 20}, {45, 5, 10, 10}}, {2, 1, 0}},
      {"two over one ground keep their order",
       {{0, 0, 100, 100}, {10, 10, 20, 20}, {50, 50, 20, 20}, {0, 120, 100, 20}},
       {1, 2, 0, 3}},
      // Frames laid into each other to make one line: a column keeps its
      // reading order.
      {"a shared edge line", {{0, 0, 75, 25}, {0, 24, 75, 25}, {0, 48, 75, 25}}, {0, 1, 2}},
      {"two pixels into it", {{0, 0, 75, 25}, {0, 23, 75, 25}, {0, 48, 75, 25}}, {1, 0, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TForm f(L"Порядок", 60, 60, 200, 160, TBorderStyle::None);
    std::vector<std::unique_ptr<TLabel>> labels;
    for (const TPlace& p : c.places) {
      labels.push_back(std::make_unique<TLabel>(&f, p.left, p.top, p.width, p.height, L"·"));
    }
    std::vector<const TControl*> want;
    for (int i : c.topFirst) want.push_back(labels[static_cast<std::size_t>(i)].get());
    const std::vector<TControl*> model = f.StackedChildren();
    EXPECT_EQ(std::vector<const TControl*>(model.begin(), model.end()), want);
    f.ShowNormal();
    Pump();
    EXPECT_EQ(StackOf(f), want);
    f.Hide();
  }
}

TEST(Stacking, AControlMadeAfterTheOthersLiesAboveThem) {
  TLayered f;
  f.ShowNormal();
  // Over the strip alone: just above it, below the images it does not reach.
  auto late = std::make_unique<TButton>(&f, 0, 0, 60, 25, L"Поздний");
  const std::vector<const TControl*> withLate = {&f.Min,  &f.Close, late.get(), &f.Strip,
                                                 &f.List, &f.Tabs,  &f.Box};
  EXPECT_EQ(StackOf(f), withLate);
  // Covering nothing: at the bottom, the last in the description.
  auto apart = std::make_unique<TButton>(&f, 220, 40, 60, 25, L"Отдельно");
  EXPECT_EQ(StackOf(f).back(), apart.get());
  late.reset();
  apart.reset();
  EXPECT_EQ(StackOf(f).front(), &f.Min);
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
