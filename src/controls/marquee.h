#pragma once
// A marquee: a panel that scrolls its lines of text vertically through its
// face, two pixels every 100 ms, and reports when they have passed. The
// lines are drawn once per start into an off-screen strip; each tick only
// copies the visible part of it. While idle it looks like a plain panel.
#include <functional>
#include <string>
#include <vector>

#include "controls/marquee_run.h"
#include "controls/panel.h"
#include "platform/scoped.h"

namespace velkor {

enum class Justification { Center, Left, Right };

class Marquee : public Panel {
 public:
  // A raised bevel three pixels wide until the owner gives another look.
  Marquee();
  ~Marquee() override;

  // Without a size, the designed 100 x 75.
  void Create(HWND parent, int id, int x, int y, int w = 100, int h = 75);

  bool ScrollDown = false;
  Justification Justify = Justification::Left;
  std::vector<std::wstring> Items;
  // Raised when a run has finished or been stopped; the strip still exists.
  std::function<void()> OnDone;

  // Does nothing while running or without lines. A line that cannot be drawn
  // raises "ご挨拶 失敗しました。"; the marquee then stays active, without ticks.
  void StartScroll();
  // Does nothing while idle.
  virtual void StopScroll();

  bool active() const { return active_; }
  int offset() const { return offset_; }
  int line_height() const { return run_.line_height; }
  const MarqueeRun& run() const { return run_; }
  // The part of the face that shows the strip: inside the bevels.
  RECT ViewRect() const { return ContentRect(); }
  HBITMAP strip() const { return strip_.get(); }

  static constexpr UINT_PTR kStepTimer = 1;
  static constexpr UINT kStepMs = 100;

 protected:
  // Measures the lines, lays them out and draws them into the strip.
  virtual void BuildStrip();
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void StepTimerTimer();
  void DrawLine(HDC dc, const std::wstring& line, RECT rc) const;
  void PaintStrip(HDC dc, const RECT& update);

  bool active_ = false;
  ScopedBitmap strip_;
  MarqueeRun run_;
  int offset_ = 0;
};

}  // namespace velkor
