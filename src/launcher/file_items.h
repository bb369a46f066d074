#pragma once
// The friends window's file list items without a window: what kind of item a
// file makes, where its pictures and texts go, the thumbnail's size, the
// preview's size on the screen and the relative name of a selection.
#include <string>
#include <vector>

#include "platform/path_names.h"  // WithBackslash, FolderOf

namespace velkor {

// By the file kind (the extension upper-cased, cut to four characters).
enum class ItemKind { IconFile, Bitmap, Metafile, Jpeg, Program, Other };
ItemKind ItemKindOf(const std::wstring& file_kind);

struct Rgb {
  int r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};
// The text colour of a kind; false for Other, which keeps the canvas's colours.
bool ItemTextColor(ItemKind kind, Rgb& color);
// The background of a selected item of a coloured kind: white minus the text colour.
Rgb SelectedBackground(Rgb text);

struct Size {
  int w = 0, h = 0;
  bool operator==(const Size&) const = default;
};

// The top-left cut-out of a picture item: as wide as the column leaves beside
// the name (and five blanks), as high as the item less 10.
Size PictureCutout(int column_width, int name_and_blanks_width, int item_height, Size picture);

// The largest size of the picture's proportions inside a side x side square;
// false (nothing changes) when any number is 0.
bool FitThumbnail(int side, int height, int width, Size& fitted);

// The icons of a program file, numbered, in rows as wide as the column allows,
// and below them the name with the count.
struct IconCell {
  int x = 0, y = 0;            // icon, relative to the item's top-left
  int number_x = 0, number_y = 0;
};
struct IconGrid {
  std::vector<IconCell> cells;
  int name_x = 0, name_y = 0;
};
// A column narrower than one icon cell still shows one icon a row.
IconGrid LayoutIconGrid(int count, int column_width, int icon_w, int icon_h, int font_h);

// The preview's client size: the picture at its own size with the window's
// borders (w0 x h0), scaled down with its proportions kept when the screen is
// smaller.
Size PreviewClientSize(int screen_w, int screen_h, int caption_h, int w0, int h0);

// The name of a listed file relative to the tree's directory; a directory
// that is a drive's root ends with a backslash already.
std::wstring RelativeName(const std::wstring& path, const std::wstring& dir);

// The directory of a file without its last backslash: "C:" for a file in a
// drive's root.
std::wstring DirectoryOfFile(const std::wstring& path);

// The list's item height for a number of rows in the height available (the
// list's height less its horizontal scroll bar). When the rows would come out
// lower than `limit`, as many rows of `unit` pixels as fit share the height
// instead. item_height 0: not one such row fits, the height stays as it is.
struct RowFit {
  int item_height = 0;
  int rows = 0;
  bool operator==(const RowFit&) const = default;
};
RowFit FitRows(int available, int rows, int unit, int limit);
// The rows of a "n rows" command: 0 stands for 7; at most 74-pixel rows
// below 75 pixels each.
RowFit FitIconRows(int available, int rows);
// Single-icon mode: as many 46-pixel rows as the list's whole height holds.
RowFit FitSingleIconRows(int available, int list_height);

}  // namespace velkor
