#pragma once
// The friends window's file list items on the screen: drawing an item by its
// file's kind (its icon, the icons of a program, the top-left cut-out of a
// picture with the picture's size), and the picture that the selection's
// thumbnail shows and the preview enlarges.
#include <memory>
#include <string>

#include "controls/picture.h"
#include "platform/win32.h"

namespace velkor {

struct ItemLook {
  int item_height = 74;
  int column_width = 0;    // the list's width divided by its column count
  bool multi_icon = true;  // a program shows all its icons, numbered
  bool selected = false;
};

class FileItemPainter {
 public:
  FileItemPainter();
  ~FileItemPainter();
  FileItemPainter(const FileItemPainter&) = delete;
  FileItemPainter& operator=(const FileItemPainter&) = delete;

  // Draws the item of the file at path into item of dc, in the font selected
  // into dc (the list's). Does not clear the rectangle first.
  void Draw(HDC dc, const RECT& item, const std::wstring& path, const ItemLook& look);
  // Forgets the pictures and icons kept for the listing shown: a new listing
  // or the window closing.
  void Clear();

 private:
  struct Cache;
  std::unique_ptr<Cache> cache_;
};

// The picture of the selected file: the whole bitmap of a ".BMP", the decoded
// picture of a ".JPG" or ".JPE", the metafile of a ".WMF", the icon of an
// ".ICO", or the file's first icon; empty when there is none or it cannot be
// read.
Picture LoadSelectionPicture(const std::wstring& path);

// The preview of the selection, modal over owner: the picture enlarged to fit
// the screen, captioned with the path. Returns when it closes.
void ShowPicturePreview(HWND owner, const std::wstring& path, const Picture& picture);

}  // namespace velkor
