#include "platform/win32/tickers_win32.h"

#include <windows.h>

#include <algorithm>

#include "platform/errors.h"
#include "platform/win32/hidden_window.h"
#include "platform/win32/window_boundary.h"

namespace {

constexpr wchar_t kWindowClass[] = L"TivorraTickers";

class TWin32Ticker : public TTicker {
 public:
  TWin32Ticker(TWin32Tickers& owner, HWND window) : owner_(owner), window_(window) {
    owner_.Live.push_back(this);
  }
  ~TWin32Ticker() override {
    Stop();
    std::erase(owner_.Live, this);
  }

  void Start(std::int64_t intervalMs) override {
    interval_ = intervalMs;
    const UINT ms = intervalMs < USER_TIMER_MINIMUM   ? USER_TIMER_MINIMUM
                    : intervalMs > USER_TIMER_MAXIMUM ? USER_TIMER_MAXIMUM
                                                      : static_cast<UINT>(intervalMs);
    // The ticker's own address is the timer's id: unique while it lives.
    running_ = SetTimer(window_, Id(), ms, nullptr) != 0;
    if (!running_) throw EAppError(L"cannot start a timer");
  }
  void Stop() override {
    if (running_) KillTimer(window_, Id());
    running_ = false;
  }
  bool Running() const override { return running_; }
  std::int64_t IntervalMs() const override { return interval_; }
  UINT_PTR Id() const { return reinterpret_cast<UINT_PTR>(this); }

 private:
  TWin32Tickers& owner_;
  HWND window_;
  bool running_ = false;
  std::int64_t interval_ = 0;
};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp) noexcept {
  auto* owner = win32::HiddenWindowOwner<TWin32Tickers>(window);
  if (message != WM_TIMER || !owner) return DefWindowProcW(window, message, wp, lp);
  return win32::WindowBoundary(window, message, [owner, wp]() -> LRESULT {
    for (TTicker* t : owner->Live) {
      auto* ticker = static_cast<TWin32Ticker*>(t);
      if (ticker->Id() == wp && ticker->Running() && ticker->OnTick) {
        ticker->OnTick();
        break;
      }
    }
    return 0;
  });
}

}  // namespace

TWin32Tickers::TWin32Tickers() {
  window_.Reset(win32::CreateHiddenWindow(kWindowClass, WindowProc,
                                          win32::THiddenKind::MessageOnly, this));
  if (!window_) throw EAppError(L"cannot create the timers' window");
}

TWin32Tickers::~TWin32Tickers() {
  // Tickers outliving their maker tick no more.
  SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
}

std::unique_ptr<TTicker> TWin32Tickers::Make() {
  return std::make_unique<TWin32Ticker>(*this, window_.Get());
}
