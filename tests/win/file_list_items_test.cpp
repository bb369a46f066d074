// The file list's items drawn into a bitmap, by kind, and the preview window.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>

#include "launcher/file_list_items.h"
#include "launcher/item_pictures.h"
#include "native/jpeg_encode.h"
#include "platform/scoped.h"
#include "support/win_test.h"

using namespace velkor;
using namespace velkor::test;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kIcon = 32;

// A white 32-bit top-down bitmap in a memory DC with the list's font selected.
class Canvas {
 public:
  Canvas(int w, int h) : w_(w), h_(h) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
    dc_.reset(CreateCompatibleDC(nullptr));
    old_bitmap_ = SelectObject(dc_.get(), bitmap_.get());
    font_.reset(CreateFontW(-15, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, FIXED_PITCH,
                            L"ＭＳ ゴシック"));
    old_font_ = SelectObject(dc_.get(), font_.get());
    Clear();
  }
  ~Canvas() {
    SelectObject(dc_.get(), old_font_);
    SelectObject(dc_.get(), old_bitmap_);
  }
  void Clear() { std::memset(bits_, 0xFF, static_cast<size_t>(w_) * h_ * 4); }
  HDC dc() const { return dc_.get(); }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const std::uint8_t* p = bits_ + (static_cast<size_t>(y) * w_ + x) * 4;
    return RGB(p[2], p[1], p[0]);
  }
  int Count(RECT r, const std::function<bool(COLORREF)>& pred) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += pred(At(x, y)) ? 1 : 0;
    return n;
  }
  int Count(RECT r, COLORREF c) const {
    return Count(r, [c](COLORREF p) { return p == c; });
  }
  int TextWidth(const std::wstring& s) const {
    SIZE size{};
    GetTextExtentPoint32W(dc_.get(), s.c_str(), static_cast<int>(s.size()), &size);
    return size.cx;
  }

 private:
  int w_, h_;
  std::uint8_t* bits_ = nullptr;
  ScopedBitmap bitmap_;
  ScopedMemDc dc_;
  ScopedFont font_;
  HGDIOBJ old_bitmap_ = nullptr, old_font_ = nullptr;
};

// The colour of a picture's pixel, distinct in every 4 x 4 block.
COLORREF PatternAt(int x, int y) { return RGB((x * 5) & 0xFF, (y * 3) & 0xFF, ((x / 4 + y / 4) * 29) & 0xFF); }

std::string U16(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }
std::string U32(unsigned v) { return U16(v & 0xFFFF) + U16(v >> 16); }

std::string BmpFile(int w, int h) {
  const unsigned stride = (static_cast<unsigned>(w) * 3 + 3) & ~3u;
  std::string b = "BM" + U32(54 + stride * h) + U32(0) + U32(54);
  b += U32(40) + U32(w) + U32(h) + U16(1) + U16(24) + U32(0) + U32(stride * h) + U32(2835) + U32(2835) + U32(0) + U32(0);
  for (int y = h - 1; y >= 0; --y) {
    std::string row(stride, '\0');
    for (int x = 0; x < w; ++x) {
      const COLORREF c = PatternAt(x, y);
      row[x * 3] = static_cast<char>(GetBValue(c));
      row[x * 3 + 1] = static_cast<char>(GetGValue(c));
      row[x * 3 + 2] = static_cast<char>(GetRValue(c));
    }
    b += row;
  }
  return b;
}

// A 32 x 32 icon file, opaque green.
std::string IcoFile() {
  std::string b = U16(0) + U16(1) + U16(1);
  const unsigned size = 40 + 32 * 32 * 4 + 32 * 4;
  b += std::string{32, 32, 0, 0} + U16(1) + U16(32) + U32(size) + U32(6 + 16);
  b += U32(40) + U32(32) + U32(64) + U16(1) + U16(32) + U32(0) + U32(32 * 32 * 4) + U32(0) + U32(0) + U32(0) + U32(0);
  for (int i = 0; i < 32 * 32; ++i) b += std::string{0, '\x80', 0, '\xFF'};
  b += std::string(32 * 4, '\0');
  return b;
}

std::string JpegFile(int w, int h) {
  const std::vector<std::uint8_t> rgb = jpegtest::Pattern(w, h, 3, 7);
  const std::vector<std::uint8_t> file = jpegtest::Encode(rgb, w, h, 3);
  return std::string(file.begin(), file.end());
}

bool IsRed(COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100; }
bool IsBlack(COLORREF c) { return GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80; }
bool IsBlue(COLORREF c) { return GetBValue(c) > 150 && GetRValue(c) < 100 && GetGValue(c) < 100; }
bool NotWhite(COLORREF c) { return c != kWhite; }

// The process's GDI objects and icons. Wine's GetGuiResources counts
// nothing, but Wine takes a handle's index alone (a high word of 0) for the
// live object with that index, so there they are counted by trying them all.
DWORD GdiObjects() {
  DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (n) return n;
  for (UINT_PTR i = 1; i < 0x10000; ++i) n += GetObjectType(reinterpret_cast<HGDIOBJ>(i)) ? 1 : 0;
  return n;
}
DWORD UserObjects() {
  DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  if (n) return n;
  for (UINT_PTR i = 0x20; i < 0x10000; i += 2) {
    ICONINFO info{};
    if (!GetIconInfo(reinterpret_cast<HICON>(i), &info)) continue;
    ++n;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  }
  return n;
}

class FileItems : public ::testing::Test {
 protected:
  int TextHeight(const std::wstring& path) {
    SIZE size{};
    GetTextExtentPoint32W(canvas_.dc(), path.c_str(), static_cast<int>(path.size()), &size);
    return size.cy;
  }
  TempDir dir_;
  Canvas canvas_{640, 400};
  FileItemPainter painter_;
};

TEST_F(FileItems, IconFileAndNameOnlyItems) {
  const std::wstring ico = dir_ / L"green.ico";
  WriteBytes(ico, IcoFile());
  painter_.Draw(canvas_.dc(), {0, 0, 300, 74}, ico, {74, 300, true, false});
  EXPECT_EQ(canvas_.At(4 + 16, 2 + 16), RGB(0, 128, 0));
  EXPECT_EQ(canvas_.At(3, 2 + 16), kWhite);
  // The name in maroon, at the icon's width + 15, on white.
  const RECT name{kIcon + 15, 12, kIcon + 15 + canvas_.TextWidth(L"green.ico"), 12 + 15};
  EXPECT_GT(canvas_.Count(name, RGB(128, 0, 0)), 20);
  EXPECT_EQ(canvas_.Count({0, 0, kIcon + 15, 74}, [](COLORREF c) { return c == RGB(128, 0, 0); }), 0);

  // A name-only kind, selected: the system's selection colours behind it.
  const std::wstring txt = dir_ / L"page.html";
  WriteBytes(txt, "<p>");
  painter_.Draw(canvas_.dc(), {0, 100, 300, 174}, txt, {74, 300, true, true});
  const RECT text{kIcon + 12, 100 + 12, kIcon + 12 + canvas_.TextWidth(L"page.html"), 100 + 12 + 15};
  EXPECT_GT(canvas_.Count(text, GetSysColor(COLOR_HIGHLIGHT)), 40);
  EXPECT_GT(canvas_.Count(text, GetSysColor(COLOR_HIGHLIGHTTEXT)), 10);
  EXPECT_EQ(canvas_.Count({0, 100, kIcon + 12, 174}, kWhite), (kIcon + 12) * 74);  // no icon
}

TEST_F(FileItems, BitmapCutoutWithCaption) {
  const std::wstring bmp = dir_ / L"A.BMP";
  WriteBytes(bmp, BmpFile(640, 480));
  painter_.Draw(canvas_.dc(), {0, 0, 300, 74}, bmp, {74, 300, true, true});
  const int W = 300 - canvas_.TextWidth(L"A.BMP     "), H = 64;
  for (auto [x, y] : {std::pair{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}, {W / 2, H / 3}})
    EXPECT_EQ(canvas_.At(2 + x, 2 + y), PatternAt(x, y)) << x << "," << y;
  EXPECT_EQ(canvas_.At(2 + W, 2), kWhite);
  EXPECT_EQ(canvas_.At(2, 2 + H), kWhite);
  // Selected: the red name on cyan, the caption 640×480 in black below it.
  const int TH = TextHeight(bmp), y0 = (74 - TH) / 2, x0 = W + 10;
  const RECT name{x0, y0, x0 + canvas_.TextWidth(L"A.BMP"), y0 + 15};
  EXPECT_GT(canvas_.Count(name, RGB(0, 255, 255)), 20);
  EXPECT_GT(canvas_.Count(name, IsRed), 10);
  const RECT caption{x0, y0 + 20, x0 + canvas_.TextWidth(L"640×480"), y0 + 35};
  EXPECT_GT(canvas_.Count(caption, IsBlack), 20);
  EXPECT_GT(canvas_.Count(caption, RGB(0, 255, 255)), 20);
  EXPECT_EQ(canvas_.Count({caption.right, caption.top, caption.right + 40, caption.bottom}, NotWhite), 0);
}

TEST_F(FileItems, JpegCutoutMatchesWholeDecode) {
  const std::wstring jpg = dir_ / L"PHOTO.JPEG";
  const std::string file = JpegFile(500, 300);
  WriteBytes(jpg, file);
  painter_.Draw(canvas_.dc(), {0, 0, 320, 74}, jpg, {74, 320, true, false});
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
  const std::optional<JpegCutout> whole = DecodeJpegCutout(bytes, INT_MAX, INT_MAX);
  ASSERT_TRUE(whole);
  const int W = 320 - canvas_.TextWidth(L"PHOTO.JPEG     "), H = 64;
  int wrong = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const std::uint8_t* p = whole->Pixel(x, y);
      wrong += canvas_.At(2 + x, 2 + y) != RGB(p[2], p[1], p[0]);
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(canvas_.At(2 + W, 2 + H / 2), kWhite);
  const int x0 = W + 10, y0 = (74 - TextHeight(jpg)) / 2;
  EXPECT_GT(canvas_.Count({x0, y0, x0 + 40, y0 + 15}, IsRed), 10);
  EXPECT_GT(canvas_.Count({x0, y0 + 20, x0 + 40, y0 + 35}, IsBlack), 10);

  // Drawn again from what the list keeps: no second decode, the same pixels.
  const std::size_t decodes = PictureDecodeCount();
  canvas_.Clear();
  painter_.Draw(canvas_.dc(), {0, 0, 320, 74}, jpg, {74, 320, true, false});
  EXPECT_EQ(PictureDecodeCount(), decodes);
  const std::uint8_t* p = whole->Pixel(W - 1, H - 1);
  EXPECT_EQ(canvas_.At(2 + W - 1, 2 + H - 1), RGB(p[2], p[1], p[0]));
}

TEST_F(FileItems, JpegWhoseTopTakesMostOfTheFile) {
  // Only the front of a file is read for the rows shown, as far as their
  // share of the picture's height suggests: here that is too little.
  constexpr int kW = 1600, kH = 2000, kBusy = 120;
  std::vector<std::uint8_t> rgb = jpegtest::Pattern(kW, kH, 3, 3);
  std::fill(rgb.begin() + static_cast<std::ptrdiff_t>(kW) * kBusy * 3, rgb.end(), std::uint8_t{128});
  const std::vector<std::uint8_t> file = jpegtest::Encode(rgb, kW, kH, 3);
  const std::wstring jpg = dir_ / L"top.jpg";
  WriteBytes(jpg, std::string(file.begin(), file.end()));
  painter_.Draw(canvas_.dc(), {0, 0, 640, 74}, jpg, {74, 640, true, false});
  const std::optional<JpegCutout> whole = DecodeJpegCutout(file, INT_MAX, INT_MAX);
  ASSERT_TRUE(whole);
  const int W = 640 - canvas_.TextWidth(L"top.jpg     ");
  int wrong = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < W; ++x) {
      const std::uint8_t* p = whole->Pixel(x, y);
      wrong += canvas_.At(2 + x, 2 + y) != RGB(p[2], p[1], p[0]);
    }
  EXPECT_EQ(wrong, 0);
}

TEST_F(FileItems, DamagedJpegIsAnEmptyPictureTriedOnce) {
  const std::wstring jpg = dir_ / L"broken.jpg";
  const std::string file = JpegFile(400, 300);
  WriteBytes(jpg, file.substr(0, file.size() / 20));
  DialogAnswerer no_boxes;
  const std::size_t decodes = PictureDecodeCount();
  for (int i = 0; i < 2; ++i) painter_.Draw(canvas_.dc(), {0, 0, 300, 74}, jpg, {74, 300, true, false});
  EXPECT_EQ(PictureDecodeCount(), decodes + 1);
  EXPECT_EQ(no_boxes.seen().size(), 0u);
  // Nothing where a picture would stand; the name and "0×0" from x = 10.
  EXPECT_EQ(canvas_.Count({0, 0, 10, 74}, kWhite), 10 * 74);
  const int y0 = (74 - TextHeight(jpg)) / 2;
  EXPECT_GT(canvas_.Count({10, y0, 60, y0 + 15}, IsRed), 10);
  const RECT size{10, y0 + 20, 10 + canvas_.TextWidth(L"0×0"), y0 + 35};
  EXPECT_GT(canvas_.Count(size, IsBlack), 10);
  EXPECT_EQ(canvas_.Count({size.right, size.top, size.right + 30, size.bottom}, NotWhite), 0);
  EXPECT_TRUE(LoadSelectionPicture(jpg).empty());
}

// An old Windows metafile of a w x h green rectangle; with the placeable
// header in front when placed (at 96 units an inch).
std::string WmfFile(int w, int h, bool placed) {
  HDC rec = CreateMetaFileW(nullptr);
  SetWindowExtEx(rec, w, h, nullptr);
  HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
  const RECT all{0, 0, w, h};
  FillRect(rec, &all, green);
  HMETAFILE mf = CloseMetaFile(rec);
  DeleteObject(green);
  std::string bits(GetMetaFileBitsEx(mf, 0, nullptr), '\0');
  GetMetaFileBitsEx(mf, static_cast<UINT>(bits.size()), bits.data());
  DeleteMetaFile(mf);
  if (!placed) return bits;
  std::string header = U32(0x9AC6CDD7) + U16(0) + U16(0) + U16(0) + U16(w) + U16(h) + U16(96) + U32(0);
  unsigned sum = 0;
  for (size_t i = 0; i < header.size(); i += 2) sum ^= static_cast<unsigned char>(header[i]) | static_cast<unsigned char>(header[i + 1]) << 8;
  return header + U16(sum) + bits;
}

TEST_F(FileItems, MetafilesWithAndWithoutPlaceableHeader) {
  const std::wstring placed = dir_ / L"placed.wmf", plain = dir_ / L"plain.wmf", junk = dir_ / L"junk.wmf";
  WriteBytes(placed, WmfFile(200, 50, true));
  WriteBytes(plain, WmfFile(200, 50, false));
  WriteBytes(junk, "not a metafile at all");
  Picture p = LoadSelectionPicture(placed);
  ASSERT_EQ(p.kind(), Picture::Kind::Metafile);
  EXPECT_NEAR(p.width(), 200, 1);
  EXPECT_NEAR(p.height(), 50, 1);
  EXPECT_EQ(LoadSelectionPicture(plain).kind(), Picture::Kind::Metafile);
  EXPECT_TRUE(LoadSelectionPicture(junk).empty());

  // The item stretches it into the cut-out: as wide as the picture here.
  painter_.Draw(canvas_.dc(), {0, 0, 400, 74}, placed, {74, 400, true, false});
  EXPECT_EQ(canvas_.At(2 + 100, 2 + 25), RGB(0, 160, 0));
  EXPECT_EQ(canvas_.At(2 + p.width() + 3, 2 + 25), kWhite);
  const int y0 = (74 - TextHeight(placed)) / 2;
  EXPECT_GT(canvas_.Count({p.width() + 12, y0, p.width() + 60, y0 + 15}, IsRed), 10);
  painter_.Draw(canvas_.dc(), {0, 100, 400, 174}, junk, {74, 400, true, false});
  EXPECT_EQ(canvas_.Count({0, 100, 10, 174}, kWhite), 10 * 74);
}

TEST_F(FileItems, ProgramIconsInRowsWithTheirCount) {
  const std::wstring exe = ModuleDir() + L"\\five_icons.exe";
  const int cell = kIcon + 6, column = 3 * cell;  // three icon cells
  painter_.Draw(canvas_.dc(), {0, 0, 400, 200}, exe, {200, column, true, false});
  const int row2 = 2 + kIcon + 15 + 8;
  auto icon_at = [&](int x, int y) { return canvas_.Count({x, y, x + kIcon, y + kIcon}, NotWhite) > 50; };
  EXPECT_TRUE(icon_at(2, 2));
  EXPECT_TRUE(icon_at(2 + 36, 2));
  EXPECT_TRUE(icon_at(2 + 72, 2));
  EXPECT_TRUE(icon_at(2, row2));
  EXPECT_TRUE(icon_at(2 + 36, row2));
  EXPECT_FALSE(icon_at(2 + 72, row2));
  EXPECT_FALSE(icon_at(2 + 108, 2));
  // The numbers in blue under the icons, and the name with the count below.
  for (auto [x, y] : {std::pair{2, 2}, {2 + 36, row2}})
    EXPECT_GT(canvas_.Count({x + 16, y + kIcon + 2, x + 16 + 8, y + kIcon + 17}, IsBlue), 5);
  const std::wstring line = L"five_icons.exe (合計：5 )";
  const int name_y = row2 + kIcon + 15 + 5;
  EXPECT_GT(canvas_.Count({6, name_y, 6 + canvas_.TextWidth(line), name_y + 15}, IsBlue), 100);
  EXPECT_EQ(canvas_.Count({6 + canvas_.TextWidth(line), name_y, 400, name_y + 15}, NotWhite), 0);

  // One icon a program when the list shows one: the first at (4, 2).
  canvas_.Clear();
  painter_.Draw(canvas_.dc(), {0, 0, 400, 74}, exe, {74, column, false, false});
  EXPECT_TRUE(icon_at(4, 2));
  EXPECT_EQ(canvas_.Count({4 + kIcon, 2, kIcon + 12, 2 + kIcon}, NotWhite), 0);
  EXPECT_GT(canvas_.Count({kIcon + 12, 12, kIcon + 12 + 40, 27}, IsBlue), 10);
  EXPECT_FALSE(LoadSelectionPicture(exe).empty());
}

TEST_F(FileItems, HandlesComeBackAfterClearing) {
  WriteBytes(dir_ / L"one.bmp", BmpFile(120, 90));
  WriteBytes(dir_ / L"two.jpg", JpegFile(120, 90));
  WriteBytes(dir_ / L"three.ico", IcoFile());
  const std::wstring files[] = {dir_ / L"one.bmp", dir_ / L"two.jpg", dir_ / L"three.ico",
                                ModuleDir() + L"\\five_icons.exe"};
  int turn = 0;
  auto draw_all = [&] {
    for (int round = 0; round < 20; ++round)
      for (const auto& f : files) painter_.Draw(canvas_.dc(), {0, 0, 300, 200}, f, {200, 300, true, round % 2 == 0});
    painter_.Clear();
    Picture p = LoadSelectionPicture(files[turn++ % 4]);
  };
  draw_all();
  const DWORD gdi = GdiObjects(), user = UserObjects();
  ASSERT_GT(gdi, 0u);  // the counts are real ones
  ASSERT_GT(user, 0u);
  for (int i = 0; i < 8; ++i) draw_all();
  EXPECT_EQ(GdiObjects(), gdi);
  EXPECT_EQ(UserObjects(), user);
}

// The preview, driven from a timer while its modal loop runs.
class Preview : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                             nullptr, nullptr);
  }
  void TearDown() override { DestroyWindow(owner_); }

  // Runs the preview; step is called at each tick with the preview window
  // until it returns true (it has asked the window to close).
  void Run(Picture picture, std::function<bool(HWND)> step) {
    step_ = std::move(step);
    ticks_ = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, &Preview::Tick);
    ShowPicturePreview(owner_, L"C:\\pictures\\x.bmp", picture);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_EQ(FindWindowW(L"TPreviewForm", nullptr), nullptr);
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND w = FindWindowW(L"TPreviewForm", nullptr);
    if (!w || done_) return;
    if (++ticks_ > 100) {  // never let a failing test hang in the loop
      ADD_FAILURE() << "the preview did not close";
      PostMessageW(w, WM_CLOSE, 0, 0);
      return;
    }
    done_ = step_(w);
  }
  static SIZE ClientOf(HWND w) {
    RECT r;
    GetClientRect(w, &r);
    return {r.right, r.bottom};
  }
  static Picture BitmapOf(int w, int h) {
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    return Picture::FromBitmap(b);
  }

  HWND owner_ = nullptr;
  static inline std::function<bool(HWND)> step_;
  static inline int ticks_ = 0;
  static inline bool done_ = false;
};

TEST_F(Preview, SizedToThePictureAndTheScreen) {
  const int SW = GetSystemMetrics(SM_CXSCREEN), SH = GetSystemMetrics(SM_CYSCREEN), CH = GetSystemMetrics(SM_CYCAPTION);
  // On a 1024 x 768 screen: a 2000 x 1500 picture, one of 1200 x 300 and one
  // of 100 x 80; the first two grow with a larger screen.
  const int tall_w = 2000 * SW / 1024, tall_h = 1500 * SH / 768, wide = SW + 176;
  struct Case {
    int w, h;
    SIZE client;
  } cases[] = {{tall_w, tall_h, {(SH - CH) * (tall_w + 12) / (tall_h + 12), SH - CH}},
               {wide, 300, {SW, 312 * SW / (wide + 12)}},
               {100, 80, {112, 92}}};
  for (const Case& c : cases) {
    SIZE seen{};
    bool owner_disabled = false;
    done_ = false;
    Run(BitmapOf(c.w, c.h), [&](HWND w) {
      seen = ClientOf(w);
      owner_disabled = !IsWindowEnabled(owner_);
      EXPECT_EQ(WindowText(w), L"C:\\pictures\\x.bmp");
      EXPECT_TRUE(WindowExStyle(w) & WS_EX_TOOLWINDOW);
      PostMessageW(w, WM_CHAR, VK_ESCAPE, 0);
      return true;
    });
    EXPECT_EQ(seen.cx, c.client.cx) << c.w << "x" << c.h;
    EXPECT_EQ(seen.cy, c.client.cy) << c.w << "x" << c.h;
    EXPECT_TRUE(owner_disabled);
  }
}

TEST_F(Preview, WiderByWKeepsTheCentreAndSpaceOrAClickCloses) {
  RECT before{}, after{};
  int presses = 0;
  done_ = false;
  Run(BitmapOf(100, 80), [&](HWND w) {
    if (presses == 0) GetWindowRect(w, &before);
    if (presses < 5) {
      SendMessageW(w, WM_CHAR, presses % 2 ? L'W' : L'w', 0);
      ++presses;
      return false;
    }
    GetWindowRect(w, &after);
    PostMessageW(w, WM_CHAR, L' ', 0);
    return true;
  });
  EXPECT_EQ(after.right - after.left, before.right - before.left + 10);
  EXPECT_EQ(after.left + after.right, before.left + before.right);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);

  done_ = false;
  Run(Picture(), [&](HWND w) {
    PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    return true;
  });
}

}  // namespace
