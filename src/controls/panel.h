#pragma once
// A panel: a child window with bevelled edges, an optional caption and a
// background colour. Commands and notifications of its children go on to the
// window that owns the panel, so buttons on a panel talk to their form.
#include <functional>
#include <string>
#include <vector>

#include "platform/scoped.h"
#include "ui/window.h"

namespace velkor {

enum class Bevel { None, Lowered, Raised };

class SpeedButton;

class Panel : public Window {
 public:
  ~Panel() override;
  struct Look {
    Bevel outer = Bevel::Raised;
    Bevel inner = Bevel::None;
    int bevel_width = 1;
    int border_width = 0;      // space between the bevels, in the panel's colour
    COLORREF color = CLR_INVALID;  // CLR_INVALID: the system's button face
    COLORREF text_color = CLR_INVALID;
    UINT text_align = DT_CENTER;   // DT_LEFT, DT_CENTER or DT_RIGHT
  };

  void Create(HWND parent, int id, int x, int y, int w, int h, const Look& look);

  void SetText(const std::wstring& text);
  const std::wstring& text() const { return text_; }
  void SetFont(HFONT font);  // not owned
  HFONT font() const { return font_; }
  void SetLook(const Look& look);
  const Look& look() const { return look_; }
  // Area inside the bevels and the border.
  RECT ContentRect() const;

  // Clicks and moves over the panel's own background, not over its buttons.
  std::function<void()> on_click;
  std::function<void()> on_mouse_move;

  // The speed buttons drawn on the panel (SpeedButton registers itself).
  void AddButton(SpeedButton* button);
  void RemoveButton(SpeedButton* button);
  void ButtonChanged(SpeedButton* button);  // bounds or hint
  SpeedButton* ButtonAt(POINT client) const;
  const std::vector<SpeedButton*>& buttons() const { return buttons_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint(HDC dc);
  void SetTool(SpeedButton* button, bool add);
  void SetHot(SpeedButton* button);
  Look look_;
  std::vector<SpeedButton*> buttons_;
  std::vector<SpeedButton*> tooled_;
  SpeedButton* hot_ = nullptr;
  SpeedButton* pressed_ = nullptr;
  bool tracking_ = false;
  std::wstring text_;
  HFONT font_ = nullptr;
};

// Draws a 3-D frame of the given width inside rc and shrinks rc by it.
void Frame3D(HDC dc, RECT& rc, COLORREF top_left, COLORREF bottom_right, int width);

}  // namespace velkor
