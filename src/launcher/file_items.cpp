#include "launcher/file_items.h"

#include <algorithm>

#include "platform/path_names.h"

namespace velkor {

ItemKind ItemKindOf(const std::wstring& kind) {
  if (kind == L".ICO") return ItemKind::IconFile;
  if (kind == L".BMP") return ItemKind::Bitmap;
  if (kind == L".WMF") return ItemKind::Metafile;
  if (kind == L".JPG" || kind == L".JPE") return ItemKind::Jpeg;
  static const wchar_t* const kPrograms[] = {L".EXE", L".DLL", L".SCR", L".HLP", L".OCX", L".VBX",
                                             L".CPL", L".DRV", L".SYS", L".CUR", L".ANI"};
  for (const wchar_t* p : kPrograms)
    if (kind == p) return ItemKind::Program;
  return ItemKind::Other;
}

bool ItemTextColor(ItemKind kind, Rgb& color) {
  switch (kind) {
    case ItemKind::IconFile: color = {128, 0, 0}; return true;
    case ItemKind::Bitmap:
    case ItemKind::Metafile:
    case ItemKind::Jpeg: color = {255, 0, 0}; return true;
    case ItemKind::Program: color = {0, 0, 255}; return true;
    case ItemKind::Other: return false;
  }
  return false;
}

Rgb SelectedBackground(Rgb text) { return {255 - text.r, 255 - text.g, 255 - text.b}; }

Size PictureCutout(int column_width, int name_and_blanks_width, int item_height, Size picture) {
  const int room = column_width - name_and_blanks_width;
  Size cut;
  cut.w = room < picture.w ? room : picture.w;
  cut.h = picture.h > item_height - 10 ? item_height - 10 : picture.h;
  cut.w = std::max(cut.w, 0);
  cut.h = std::max(cut.h, 0);
  return cut;
}

bool FitThumbnail(int side, int height, int width, Size& fitted) {
  if (side == 0 || height == 0 || width == 0) return false;
  if (height < width)
    fitted = {side, side * height / width};
  else if (height > width)
    fitted = {side * width / height, side};
  else
    fitted = {side, side};
  return true;
}

IconGrid LayoutIconGrid(int count, int column_width, int icon_w, int icon_h, int font_h) {
  IconGrid grid;
  const int per_row = std::max(1, column_width / (icon_w + 6));
  int row = 0, column = 0;
  for (int i = 0; i < count; ++i) {
    if (i % per_row == 0 && i != 0) {
      column = 0;
      row += icon_h + font_h + 8;
    }
    IconCell cell;
    cell.x = 2 + column * (icon_w + 4);
    cell.y = 2 + row;
    cell.number_x = cell.x + icon_w / 2;
    cell.number_y = cell.y + icon_h + 2;
    grid.cells.push_back(cell);
    ++column;
  }
  grid.name_x = 6;
  grid.name_y = 2 + row + icon_h + font_h + 5;
  return grid;
}

Size PreviewClientSize(int screen_w, int screen_h, int caption_h, int w0, int h0) {
  if (h0 > 0 && screen_h < h0) return {(screen_h - caption_h) * w0 / h0, screen_h - caption_h};
  if (w0 > 0 && screen_w < w0) return {screen_w, h0 * screen_w / w0};
  return {w0, h0};
}

std::wstring RelativeName(const std::wstring& path, const std::wstring& dir) {
  size_t skip = dir.size();
  if (!dir.empty() && dir.back() != L'\\') ++skip;
  return skip <= path.size() ? path.substr(skip) : std::wstring();
}

std::wstring DirectoryOfFile(const std::wstring& path) { return FolderOf(path); }

RowFit FitRows(int available, int rows, int unit, int limit) {
  RowFit fit{0, rows};
  if (rows <= 0 || available <= 0) return fit;
  if (available / rows < limit) {
    const int whole = available / unit;
    if (whole == 0) return fit;
    fit.item_height = available / whole;
    fit.rows = whole;
  } else {
    fit.item_height = available / rows;
  }
  return fit;
}

RowFit FitIconRows(int available, int rows) { return FitRows(available, rows == 0 ? 7 : rows, 74, 75); }

RowFit FitSingleIconRows(int available, int list_height) {
  const int rows = list_height / 46;
  if (rows <= 0) return {46, rows};
  RowFit fit = FitRows(available, rows, 46, 47);
  if (fit.item_height == 0) fit.item_height = 46;
  return fit;
}

}  // namespace velkor
