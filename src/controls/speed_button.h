#pragma once
// A speed button: a small button drawn by the panel it stands on, with no
// window of its own (creating a window per button makes a form slow to come
// up), taking no focus and showing a glyph. A flat one shows its edge only
// under the mouse. A click sends WM_COMMAND with the button's id to its
// command target (normally the form), so buttons and menu items share one
// command handler.
#include <string>

#include "platform/scoped.h"

namespace velkor {

class Panel;

// A tool-bar button as a form's table lists it; x at 96 dpi.
struct SpeedButtonSpec {
  int id;
  int x;
  const wchar_t* glyph;  // bitmap resource
  const wchar_t* hint;   // "short|long"
  bool enabled;
};

class SpeedButton {
 public:
  SpeedButton() = default;
  ~SpeedButton();
  SpeedButton(const SpeedButton&) = delete;
  SpeedButton& operator=(const SpeedButton&) = delete;

  // x, y in the host panel's client coordinates.
  void Create(Panel& host, int id, int x, int y, int w, int h, bool flat, HWND command_target);
  // A flat square button of the given size (96 dpi) at spec.x, y, with the
  // spec's glyph, hint and state.
  void Create(Panel& host, const SpeedButtonSpec& spec, int y, int size, HWND command_target);

  int id() const { return id_; }
  int tag = 0;
  Panel* host() const { return host_; }
  RECT rect() const { return rect_; }
  void SetBounds(int x, int y, int w, int h);

  // The glyph's transparent colour is the colour of its bottom-left pixel.
  void SetGlyph(HBITMAP glyph);  // takes ownership
  void SetGlyphResource(const wchar_t* name);
  // A picture stretched to the button's face, less its 3-pixel edge; the
  // picture's light grey shows and the bottom-left pixel turns transparent.
  void SetPictureGlyph(HBITMAP picture);  // the caller keeps the picture
  // An icon drawn on a light grey 33 x 33 square, then as SetPictureGlyph.
  void SetIconGlyph(HICON icon);
  // This program's icon resource of that name at 32 x 32, as SetIconGlyph.
  void SetIconResourceGlyph(const wchar_t* icon_name);
  HBITMAP glyph() const { return glyph_.get(); }
  void SetHint(std::wstring hint);  // "short|long"
  const std::wstring& hint() const { return hint_; }
  void SetEnabled(bool enabled);
  bool enabled() const { return enabled_; }
  void SetVisible(bool visible);
  bool visible() const { return visible_; }
  void Click();  // as if the user clicked it

  // For the host panel.
  void Paint(HDC dc, bool hot, bool pressed) const;

 private:
  friend class Panel;
  void Invalidate() const;
  Panel* host_ = nullptr;
  int id_ = 0;
  bool flat_ = true;
  bool enabled_ = true;
  bool visible_ = true;
  RECT rect_{};
  HWND target_ = nullptr;
  std::wstring hint_;
  ScopedBitmap glyph_;
};

// Draws a bitmap whose bottom-left pixel's colour is transparent; a disabled
// glyph is drawn embossed in the system's shadow and highlight colours.
void DrawGlyph(HDC dc, HBITMAP glyph, int x, int y, bool disabled);

}  // namespace velkor
