#include "launcher/file_list_items.h"

#include "platform/path_names.h"

namespace velkor {

struct FileItemPainter::Cache {};

FileItemPainter::FileItemPainter() : cache_(std::make_unique<Cache>()) {}
FileItemPainter::~FileItemPainter() = default;

void FileItemPainter::Draw(HDC dc, const RECT& item, const std::wstring& path, const ItemLook& look) {
  const std::wstring name = FileNameOf(path);
  const int icon_w = GetSystemMetrics(SM_CXICON), icon_h = GetSystemMetrics(SM_CYICON);
  ExtTextOutW(dc, item.left + icon_w + 12, item.top + icon_h / 2 - 4, 0, nullptr, name.c_str(),
              static_cast<UINT>(name.size()), nullptr);
  (void)look;
}

void FileItemPainter::Clear() {}

Picture LoadSelectionPicture(const std::wstring&) { return Picture(); }

void ShowPicturePreview(HWND, const std::wstring&, const Picture&) {}

}  // namespace velkor
