#pragma once
// A picture as the program's image controls hold it: a bitmap, an enhanced
// metafile or an icon, with its size in pixels, drawn stretched into a
// rectangle; and the image control that shows one.
#include <functional>

#include "platform/scoped.h"
#include "ui/window.h"

namespace velkor {

class Picture {
 public:
  enum class Kind { Empty, Bitmap, Metafile, Icon };

  Picture() = default;
  Picture(Picture&&) noexcept;
  Picture& operator=(Picture&&) noexcept;
  ~Picture();

  // Each takes ownership of the handle; a null handle gives an empty picture.
  static Picture FromBitmap(HBITMAP bitmap);
  static Picture FromMetafile(HENHMETAFILE metafile);  // its frame, in pixels of the screen, is its size
  static Picture FromIcon(HICON icon);

  Kind kind() const { return kind_; }
  bool empty() const { return kind_ == Kind::Empty; }
  int width() const { return width_; }
  int height() const { return height_; }
  HBITMAP bitmap() const { return kind_ == Kind::Bitmap ? static_cast<HBITMAP>(handle_) : nullptr; }
  HENHMETAFILE metafile() const { return kind_ == Kind::Metafile ? static_cast<HENHMETAFILE>(handle_) : nullptr; }
  HICON icon() const { return kind_ == Kind::Icon ? static_cast<HICON>(handle_) : nullptr; }

  // A picture of its own with the same pixels (the preview shows a copy).
  Picture Copy() const;
  // Draws the whole picture stretched to bounds; nothing when empty.
  void StretchDraw(HDC dc, const RECT& bounds) const;

 private:
  void Reset();
  Kind kind_ = Kind::Empty;
  void* handle_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// An image control: shows its picture stretched to its bounds on the parent's
// background. A click reports through on_click; a disabled box lets the
// mouse through to what lies beneath it.
class PictureBox : public Window {
 public:
  void Create(HWND parent, int id, int x, int y, int w, int h);
  void SetPicture(Picture picture);
  void Clear() { SetPicture(Picture()); }
  const Picture& picture() const { return picture_; }
  std::function<void()> on_click;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  Picture picture_;
};

}  // namespace velkor
