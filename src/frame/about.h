#pragma once
// The about box: the program's title and version, the platform's memory
// figures refreshed every second, and a thank-you text that scrolls up in a
// marquee over the credits until it has passed and the marquee hides. It
// exists at most once and frees itself when closed.
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "controls/marquee.h"
#include "controls/panel.h"
#include "controls/speed_button.h"
#include "ui/form.h"
#include "platform/scoped.h"

namespace velkor {

class AboutBox : public Form, public SingleInstance<AboutBox> {
 public:
  AboutBox();
  ~AboutBox() override;

  // The single about box, or null while there is none: Get().
  // Creates the window, hidden, and runs its creation step; the object then
  // owns itself and is freed with its window.
  void CreateForm();
  // Shows the box, restoring it when minimized, and brings it forward.

  // The memory figures, as the value labels show them.
  enum Figure { Length, MemoryLoad, Totalphys, Availphys, TotalPageFile, AvailPageFile, TotalVirtual, AvailVirtual };
  static constexpr int kFigures = 8;
  HWND FigureLabel(Figure f) const { return figures_[static_cast<size_t>(f)]; }
  // Every label of the box (captions, titles, credits), for tests and for looks.
  const std::vector<HWND>& Labels() const { return labels_; }

  Panel& Panel1() { return panel1_; }
  HWND ProgramIcon() const { return program_icon_; }
  SpeedButton& SakubunSPButton() { return close_button_; }
  Marquee& marquee() { return marquee_; }
  HWND CreditLabel(int n) const { return credits_[static_cast<size_t>(n)]; }  // 0..2

  void CloseBox();
  void RefreshFigures();

  static constexpr UINT_PTR kTimer1 = 1;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // Goes with the main window, so that its placement is saved.
  void OnMainWindowClosing() override;

 private:
  void CreateControls();
  void StartFigures();
  void FormActivate();
  void FormResize();
  HWND AddLabel(const wchar_t* text, int x, int y, int w, int h, UINT align, HFONT font, COLORREF color);
  LRESULT LabelColors(HDC dc, HWND label);

  Panel panel1_;
  HWND program_icon_ = nullptr;
  SpeedButton close_button_;
  Marquee marquee_;
  std::array<HWND, kFigures> figures_{};
  std::array<HWND, 3> credits_{};
  std::vector<HWND> labels_;
  std::vector<std::pair<HWND, COLORREF>> label_colors_;
  ScopedIcon icon_;
  ScopedFont font_;          // the box's own, that of most labels and of the marquee
  ScopedFont title_font_;    // ProductName
  ScopedFont version_font_;  // Version
  ScopedBrush face_brush_;
};

}  // namespace velkor
