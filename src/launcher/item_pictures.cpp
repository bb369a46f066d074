#include "launcher/item_pictures.h"

#include <shellapi.h>

#include <climits>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "launcher/file_items.h"
#include "launcher/file_list_items.h"
#include "platform/file_utils.h"
#include "ui/app.h"
#include "platform/files.h"
#include "platform/path_names.h"
#include "platform/scoped.h"

namespace velkor {
namespace {

// Beyond this a picture file is taken for one the list cannot show; it keeps
// a damaged or hostile file from taking the 32-bit address space.
constexpr std::size_t kMaxPictureFile = 256u << 20;

std::size_t g_decodes = 0;

BITMAPINFO TopDown24(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

std::size_t Stride(int width) { return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3}; }

// The front of a file, read further on demand; its size is known once open.
class FileFront {
 public:
  explicit FileFront(const std::wstring& path)
      : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
    LARGE_INTEGER size{};
    if (file_ && GetFileSizeEx(file_.get(), &size)) size_ = static_cast<std::uint64_t>(size.QuadPart);
  }
  bool ok() const { return file_ && size_ <= kMaxPictureFile; }
  std::uint64_t size() const { return size_; }
  bool whole() const { return bytes_.size() >= size_; }
  const std::string& bytes() const { return bytes_; }

  // Reads on until `count` bytes (or the whole file) are in; false on a read error.
  bool ReadTo(std::uint64_t count) {
    const std::size_t want = static_cast<std::size_t>(std::min(count, size_));
    std::size_t done = bytes_.size();
    if (want <= done) return true;
    bytes_.resize(want);
    while (done < want) {
      DWORD got = 0;
      const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(want - done, 1u << 24));
      if (!ReadFile(file_.get(), bytes_.data() + done, ask, &got, nullptr)) return false;
      if (got == 0) break;  // the file became shorter
      done += got;
    }
    bytes_.resize(done);
    if (done < want) size_ = done;
    return true;
  }

 private:
  ScopedHandle file_;
  std::uint64_t size_ = 0;
  std::string bytes_;
};

std::span<const std::uint8_t> Span(const std::string& b) {
  return {reinterpret_cast<const std::uint8_t*>(b.data()), b.size()};
}

// The rows of a baseline JPEG come one after another in the file, so the top
// rows need only the front of the file: it is read as far as the rows shown
// are likely to reach, and further only when they reach beyond.
std::optional<JpegCutout> JpegFileCutout(const std::wstring& path, const CutoutSize& size) {
  constexpr std::uint64_t kFront = 64u << 10;
  FileFront file(path);
  if (!file.ok() || !file.ReadTo(kFront)) return std::nullopt;
  std::optional<JpegSize> whole = ReadJpegSize(Span(file.bytes()));
  if (!whole && !file.whole()) {  // a header larger than the front (a big thumbnail)
    if (!file.ReadTo(file.size())) return std::nullopt;
    whole = ReadJpegSize(Span(file.bytes()));
  }
  if (!whole) return std::nullopt;
  const JpegSize cut = size(*whole);
  // The share of the file that the rows shown take, with room for the rows
  // of the last block and for data that is denser at the top.
  const int shown = std::max(0, std::min(cut.height, whole->height));
  const int rows = shown > whole->height - 32 ? whole->height : shown + 32;
  std::uint64_t reach = file.size() * static_cast<std::uint64_t>(rows) / static_cast<std::uint64_t>(whole->height);
  reach = reach + reach / 4 + kFront;
  for (;;) {
    if (!file.ReadTo(reach)) return std::nullopt;
    std::optional<JpegCutout> out = DecodeJpegCutout(Span(file.bytes()), cut.width, cut.height);
    if (out || file.whole()) return out;
    reach *= 4;  // the data ran out before the last row shown
  }
}

std::optional<JpegCutout> BitmapFileCutout(const std::wstring& path, const CutoutSize& size) {
  ScopedBitmap whole(LoadBitmapFile(path));
  if (!whole) return std::nullopt;
  BITMAP bm{};
  if (!GetObjectW(whole.get(), sizeof bm, &bm)) return std::nullopt;
  JpegCutout out;
  out.picture = {bm.bmWidth, bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight};
  const JpegSize cut = size(out.picture);
  out.width = std::max(0, std::min(cut.width, out.picture.width));
  out.height = std::max(0, std::min(cut.height, out.picture.height));
  out.stride = Stride(out.width);
  if (out.width == 0 || out.height == 0) {
    out.width = out.height = 0;
    return out;
  }
  const BITMAPINFO info = TopDown24(out.width, out.height);
  void* bits = nullptr;
  ScopedBitmap corner(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!corner || !bits) return std::nullopt;
  {
    ScopedMemDc from(CreateCompatibleDC(nullptr)), to(CreateCompatibleDC(nullptr));
    SelectObjectScope keep_from(from.get(), whole.get());
    SelectObjectScope keep_to(to.get(), corner.get());
    BitBlt(to.get(), 0, 0, out.width, out.height, from.get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  const auto* p = static_cast<const std::uint8_t*>(bits);
  out.bgr.assign(p, p + out.stride * out.height);
  return out;
}

HBITMAP DibFromPixels(const JpegCutout& pixels) {
  if (pixels.width <= 0 || pixels.height <= 0) return nullptr;
  const BITMAPINFO info = TopDown24(pixels.width, pixels.height);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) {
    if (dib) DeleteObject(dib);
    return nullptr;
  }
  std::memcpy(bits, pixels.bgr.data(), pixels.stride * pixels.height);
  return dib;
}

std::uint16_t Word(const std::string& b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
std::uint32_t Dword(const std::string& b, std::size_t at) { return Word(b, at) | std::uint32_t{Word(b, at + 2)} << 16; }

}  // namespace

std::size_t PictureDecodeCount() { return g_decodes; }
void CountPictureDecode() { ++g_decodes; }

std::optional<JpegCutout> ReadPictureCutout(const std::wstring& path, bool jpeg, const CutoutSize& size) {
  CountPictureDecode();
  return jpeg ? JpegFileCutout(path, size) : BitmapFileCutout(path, size);
}

HENHMETAFILE LoadWindowsMetafile(const std::wstring& path) {
  const FileBytes file = ReadWholeFile(path, kMaxPictureFile);
  if (!file.ok()) return nullptr;
  const std::string& b = file.bytes;
  constexpr std::size_t kPlaceable = 22, kHeader = 18;
  std::size_t at = 0;
  METAFILEPICT pict{};
  bool placed = false;
  if (b.size() >= kPlaceable && Dword(b, 0) == 0x9AC6CDD7u) {
    const int left = static_cast<std::int16_t>(Word(b, 6)), top = static_cast<std::int16_t>(Word(b, 8));
    const int right = static_cast<std::int16_t>(Word(b, 10)), bottom = static_cast<std::int16_t>(Word(b, 12));
    const int inch = Word(b, 14);
    if (inch > 0) {
      // The placeable header says how large the picture is meant to be, in
      // units per inch; the converter takes the extent in 0.01 mm.
      pict.mm = MM_ANISOTROPIC;
      pict.xExt = MulDiv(std::abs(right - left), 2540, inch);
      pict.yExt = MulDiv(std::abs(bottom - top), 2540, inch);
      placed = true;
    }
    at = kPlaceable;
  }
  if (b.size() < at + kHeader) return nullptr;
  const std::uint16_t type = Word(b, at), header_words = Word(b, at + 2);
  if ((type != 1 && type != 2) || header_words != 9) return nullptr;
  HDC screen = GetDC(nullptr);
  HENHMETAFILE emf = SetWinMetaFileBits(static_cast<UINT>(b.size() - at),
                                        reinterpret_cast<const BYTE*>(b.data() + at), screen, placed ? &pict : nullptr);
  ReleaseDC(nullptr, screen);
  return emf;
}

void DrawCutout(HDC dc, int x, int y, const JpegCutout& pixels) {
  if (pixels.width <= 0 || pixels.height <= 0 || pixels.bgr.empty()) return;
  const BITMAPINFO info = TopDown24(pixels.width, pixels.height);
  StretchDIBits(dc, x, y, pixels.width, pixels.height, 0, 0, pixels.width, pixels.height, pixels.bgr.data(), &info,
                DIB_RGB_COLORS, SRCCOPY);
}

Picture LoadSelectionPicture(const std::wstring& path) {
  switch (ItemKindOf(FileKindExtension(path))) {
    case ItemKind::Bitmap: {
      BusyCursor busy;
      return Picture::FromBitmap(LoadBitmapFile(path));
    }
    case ItemKind::Jpeg: {
      BusyCursor busy;
      const std::optional<JpegCutout> whole = JpegFileCutout(path, [](JpegSize) { return JpegSize{INT_MAX, INT_MAX}; });
      return whole ? Picture::FromBitmap(DibFromPixels(*whole)) : Picture();
    }
    case ItemKind::Metafile: {
      BusyCursor busy;
      return Picture::FromMetafile(LoadWindowsMetafile(path));
    }
    case ItemKind::IconFile: return Picture::FromIcon(LoadIconFile(path));
    default: break;
  }
  return Picture::FromIcon(FirstIconOf(path));
}

}  // namespace velkor
