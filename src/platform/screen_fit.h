#pragma once
// Where a window may stand on the screen, without windows: kept inside a
// work area, or at least with its title bar within reach of the mouse.
namespace velkor {

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const ScreenRect&) const = default;
};

// The rectangle moved, at its size, the least way that puts it wholly inside
// area; one wider or higher than area keeps that side's start on area's, so
// its title bar and top-left corner show.
ScreenRect KeepInside(ScreenRect r, ScreenRect area);

// The rectangle moved the least way that puts the strip of its title bar
// (caption pixels high at its top) inside area vertically and overlapping it
// by at least grip pixels horizontally (the whole width of a narrower
// window): a window that can be dragged back with the mouse. A rectangle
// that meets nothing of area is brought inside it whole where it fits.
ScreenRect WithCaptionInReach(ScreenRect r, ScreenRect area, int caption, int grip);

}  // namespace velkor
