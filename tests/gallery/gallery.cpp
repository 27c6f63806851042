// A window with every kind of control, for looking at them at each scale:
// scripts/screenshot.sh with TIVORRA_EXE=tests/gallery.exe.
#include <windows.h>

#include "controls/controls.h"
#include "controls/win32/win32_backend.h"
#include "platform/win32/contrast_win32.h"
#include "platform/win32/dark_apps_win32.h"

namespace {

class TGallery : public TForm {
 public:
  TGallery() : TForm(L"Все элементы", 40, 40, 560, 330, TBorderStyle::Single) {
    Strip.SetWidth(560);
    Title.SetFont({L"Tahoma", 10, true, clWhite});
    Title.SetTransparent(true);
    Title.SetShadowDepth(2);
    Minimize.SetFont({L"Courier New", 12, false, clHighlight});
    Minimize.SetColor(clSkyBlue);
    Clock.SetFont({L"Arial", 10, false, clBlue, true});
    Clock.SetCentered(true);
    Clock.SetBorder(true);
    Link.SetFont({L"MS Sans Serif", 8, false, clNavy, false, true});
    Link.SetHoverColor(clRed);
    Link.SetCursor(TCursor::Cross);
    New.SetGlyph(TButton::TGlyph::New);
    Edit.SetGlyph(TButton::TGlyph::Edit);
    Edit.SetEnabled(false);
    Gray.SetState(TCheckState::Grayed);
    Checked.SetChecked(true);
    Weekly.SetChecked(true);
    Tabs.SetFont({L"Verdana", 8});
    Tabs.SetTabs({L"Дата", L"Каждый\rдень", L"Каждую\rнеделю", L"Обратный\rотсчет",
                  L"Обр. отсчет после\rвкл. компьютера"});
    List.SetItems({L"08.12.2026 - 7:00:00 | Подъём! | ", L"7:30:00 | Зарядка | ",
                   L"0:10:00 | Чайник | C:\\tea.wav"});
    List.SetItemIndex(1);
    Sections.SetItems({L"Классика", L"Рок"});
    Sections.SetText(L"Выберите раздел ...");
    File.SetText(L"C:\\Windows\\notepad.exe");
    Memo.SetText(L"Первая строка\rВторая строка");
    Info.SetText(L"Только чтение");
  }

  TGradientStrip Strip{this, 0, 0, 560, 25, clCaptionText, clGradientActiveCaption};
  TLabel Title{&Strip, 0, 0, 120, 25, L"Tivorra v1.0", TLabel::Embossed};
  TTextImage Minimize{this, 532, 0, 25, 25, L"_"};
  TLabel Clock{this, 8, 32, 113, 57, L"Время 7:05:09\rДата 08.12.2026\rWindows 01:02:03",
               TLabel::Raised};
  TLabel Both{this, 8, 96, 113, 25, L"Оба вида", TLabel::Embossed | TLabel::Raised};
  TLabel Link{this, 8, 124, 113, 17, L"tivorra@example.org"};
  TButton New{this, 8, 144, 113, 25, L"Новый"};
  TButton Edit{this, 8, 168, 113, 25, L"Изменить"};
  TTabControl Tabs{this, 132, 32, 409, 185, 33};
  TListBox List{this, 140, 110, 393, 97};
  TPanel Panel{this, 8, 222, 545, 100, TBevel::Sunken};
  TDateTimePicker Time{&Panel, 8, 4, 121, 21, TDateTimePicker::TKind::Time, 0.25};
  TDateTimePicker Date{&Panel, 136, 4, 105, 21, TDateTimePicker::TKind::Date, 46364};
  TRadioButton Daily{&Panel, 8, 30, 97, 17, L"Ежедневно"};
  TRadioButton Weekly{&Panel, 8, 48, 97, 17, L"Еженедельно"};
  TCheckBox Checked{&Panel, 110, 30, 60, 21, L"пн"};
  TCheckBox Gray{&Panel, 170, 30, 80, 21, L"серый", true};
  TCheckBox Off{&Panel, 110, 50, 60, 21, L"вт"};
  TEdit File{&Panel, 8, 72, 240, 21, true};
  TComboBox Sections{&Panel, 376, 4, 161, 21};
  TMemo Memo{&Panel, 256, 30, 112, 64, false};
  TMemo Info{&Panel, 376, 30, 161, 64};
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  TSystemHighContrast contrast;
  TSystemDarkApps dark;
  TWin32Backend backend(contrast, dark);
  SetBackend(&backend);
  int rc = 0;
  {
    TGallery gallery;
    gallery.OnClose = [] { PostQuitMessage(0); };
    gallery.ShowNormal();
    rc = RunMessageLoop();
  }
  SetBackend(nullptr);
  return rc;
}
