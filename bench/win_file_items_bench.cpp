// A screenful of the file list (two columns of three items at the list's
// item height of 74, a list 600 wide) of 4000 x 3000 JPEG files, drawn by the
// item painter with nothing kept from before, against libjpeg-turbo decoding
// just the rows shown of the same files from memory, and decoding them whole.
// Each figure is the best of several rounds; a repaint from what the
// painter keeps is shown besides.
//   win_file_items_bench DIR   (the pictures are made there when missing)
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "clock.h"
#include "jpeg_bare.h"
#include "launcher/file_list_items.h"
#include "native/jpeg_encode.h"
#include "ui/app.h"
#include "platform/scoped.h"
#include "platform/win32.h"

#include <shellapi.h>

namespace {

constexpr int kWidth = 4000, kHeight = 3000;
constexpr int kColumns = 2, kRows = 3, kItemHeight = 74, kListWidth = 600;
constexpr int kItems = kColumns * kRows;

std::vector<std::uint8_t> ReadAll(const std::wstring& path) {
  std::vector<std::uint8_t> bytes;
  velkor::ScopedHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!f) return bytes;
  bytes.resize(GetFileSize(f.get(), nullptr));
  DWORD got = 0;
  ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  bytes.resize(got);
  return bytes;
}

double Best(int rounds, const std::function<void()>& run) {
  double best = 1e30;
  for (int i = 0; i < rounds; ++i) {
    const double start = bench::Now();
    run();
    best = std::min(best, bench::Now() - start);
  }
  return best;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 2) {
    std::fprintf(stderr, "usage: win_file_items_bench DIR\n");
    return 2;
  }
  const std::wstring dir = argv[1];
  std::vector<std::wstring> paths;
  std::vector<std::vector<std::uint8_t>> files;
  for (int i = 0; i < kItems; ++i) {
    paths.push_back(dir + L"\\photo" + std::to_wstring(i) + L".jpg");
    files.push_back(ReadAll(paths.back()));
    if (files.back().empty()) {
      files.back() = bench::MakePicture(static_cast<unsigned>(i), kWidth, kHeight);
      velkor::ScopedHandle f(CreateFileW(paths.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      DWORD put = 0;
      WriteFile(f.get(), files.back().data(), static_cast<DWORD>(files.back().size()), &put, nullptr);
    }
  }

  const int column_width = kListWidth / kColumns;
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), kListWidth, -kRows * kItemHeight, 1, 32, BI_RGB};
  void* bits = nullptr;
  velkor::ScopedBitmap screen(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  velkor::ScopedMemDc dc(CreateCompatibleDC(nullptr));
  velkor::SelectObjectScope keep_bitmap(dc.get(), screen.get());
  velkor::ScopedFont font(CreateFontW(-15, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, FIXED_PITCH,
                                      L"ＭＳ ゴシック"));
  velkor::SelectObjectScope keep_font(dc.get(), font.get());

  // The corner each item shows, as the painter works it out.
  SIZE name{};
  GetTextExtentPoint32W(dc.get(), L"photo0.jpg     ", 15, &name);
  const int cut_w = column_width - name.cx, cut_h = kItemHeight - 10;

  std::size_t sink = 0;
  auto draw = [&](velkor::FileItemPainter& items) {
    // One paint of the list, as the friends window draws it.
    velkor::BusyBatch paint;
    for (int i = 0; i < kItems; ++i) {
      const int left = (i % kColumns) * column_width, top = (i / kColumns) * kItemHeight;
      const RECT rect{left, top, left + column_width, top + kItemHeight};
      items.Draw(dc.get(), rect, paths[i], {kItemHeight, column_width, true, false});
    }
  };
  // The painter and its anchor take turns, so that a busier stretch of the
  // machine does not fall on one side only.
  double painter = 1e30, rows = 1e30;
  for (int round = 0; round < 7; ++round) {
    painter = std::min(painter, Best(1, [&] {
                         velkor::FileItemPainter items;
                         draw(items);
                       }));
    rows = std::min(rows, Best(1, [&] {
                      for (const auto& f : files) sink += bench::DecodeBare(f, cut_w, cut_h);
                    }));
  }
  velkor::FileItemPainter kept;
  draw(kept);
  const double repaint = Best(5, [&] { draw(kept); });
  const double whole = Best(2, [&] {
    for (const auto& f : files) sink += bench::DecodeBare(f, 0, kHeight);
  });
  std::printf("screenful of %d JPEG items %dx%d, cut-out %dx%d: painter %.2f ms, rows shown %.2f ms, whole %.2f ms, "
              "repaint %.2f ms (sink %u)\n",
              kItems, kWidth, kHeight, cut_w, cut_h, painter * 1000, rows * 1000, whole * 1000,
              repaint * 1000, static_cast<unsigned>(sink & 0xFF));
  return 0;
}
