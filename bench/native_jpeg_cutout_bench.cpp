// A screenful of the friends window's file list showing JPEG pictures of
// 4,000 x 3,000 pixels: two columns of eight items 74 pixels high, each with
// a cut-out of 264 x 64 pixels (a 400-pixel column less the name's caption).
// The pictures are made here: 4:2:0 at quality 90 with fine detail and noise,
// so that their entropy-coded data is as dense as a camera's. Figures are the
// best of several passes over the screenful, decoded from memory, against:
//  - libjpeg-turbo decoding the 64 rows shown at their full width,
//  - libjpeg-turbo on its own decoding exactly the corners shown (the floor:
//    what the cut-out decoder adds to it),
//  - decoding the whole pictures.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "jpeg_bare.h"
#include "launcher/jpeg_cutout.h"
#include "native/jpeg_encode.h"

using namespace velkor;

namespace {

constexpr int kWidth = 4000, kHeight = 3000;
constexpr int kItems = 16, kPictures = 16;
constexpr int kCutWidth = 264, kCutHeight = 64;

double Time(const std::function<std::size_t()>& screenful, std::size_t& sink) {
  const auto start = std::chrono::steady_clock::now();
  sink += screenful();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  return took.count() * 1000;
}

}  // namespace

int main() {
  std::vector<std::vector<std::uint8_t>> files;
  std::size_t bytes = 0;
  for (int i = 0; i < kPictures; ++i) {
    files.push_back(bench::MakePicture(static_cast<unsigned>(i), kWidth, kHeight));
    bytes += files.back().size();
  }
  const auto item = [&](int i) -> const std::vector<std::uint8_t>& { return files[i % kPictures]; };

  const auto cutouts = [&] {
    std::size_t sum = 0;
    for (int i = 0; i < kItems; ++i) {
      const auto cut = DecodeJpegCutout(item(i), kCutWidth, kCutHeight);
      if (!cut || cut->width != kCutWidth || cut->height != kCutHeight) {
        std::fprintf(stderr, "native_jpeg_cutout_bench: picture %d did not decode\n", i);
        std::exit(1);
      }
      sum += cut->bgr[0];
    }
    return sum;
  };
  const auto bare = [&](int columns, int rows) {
    return [&item, columns, rows] {
      std::size_t sum = 0;
      for (int i = 0; i < kItems; ++i) sum += bench::DecodeBare(item(i), columns, rows);
      return sum;
    };
  };
  // Passes take turns, so that a moment of load elsewhere on the machine
  // falls on all of them alike; each figure is its best pass.
  double cut = 1e30, rows = 1e30, corners = 1e30, whole = 1e30;
  std::size_t sink = 0;
  for (int pass = 0; pass < 25; ++pass) {
    cut = std::min(cut, Time(cutouts, sink));
    rows = std::min(rows, Time(bare(0, kCutHeight), sink));
    corners = std::min(corners, Time(bare(kCutWidth, kCutHeight), sink));
    if (pass % 8 == 0) whole = std::min(whole, Time(bare(0, kHeight), sink));
  }
  if (sink == 1) std::fputc(' ', stderr);  // keeps the work from being optimized away

  std::fprintf(stderr, "  %d items of %dx%d cut from %dx%d pictures (%.1f MB each on average)\n",
               kItems, kCutWidth, kCutHeight, kWidth, kHeight, bytes / 1e6 / kPictures);
  std::printf("JPEG cut-outs, a screenful: %.2f ms  anchor (libjpeg-turbo, the rows shown) %.2f ms"
              "  ratio %.2f (target 1.30)\n", cut, rows, cut / rows);
  std::printf("JPEG cut-outs, a screenful: %.2f ms  anchor (libjpeg-turbo alone, the same corners)"
              " %.2f ms  ratio %.2f\n", cut, corners, cut / corners);
  std::printf("JPEG cut-outs, a screenful: %.2f ms  anchor (whole pictures) %.1f ms  ratio %.3f"
              " (target 0.10)\n", cut, whole, cut / whole);
  return 0;
}
