// JPEG cut-outs on arbitrary bytes: no crash, leak or read outside the
// buffers, and a cut-out that succeeds agrees with the header-only size.
// Input: cut-out width and height (a byte each), then the file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "launcher/jpeg_cutout.h"
#include "fuzz/fuzz_check.h"

using namespace velkor;
using velkor::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int want_w = data[0] % 128, want_h = data[1] % 96;
  const std::span<const std::uint8_t> file(data + 2, size - 2);
  const auto cut = DecodeJpegCutout(file, want_w, want_h);
  if (!cut) return 0;
  const auto size_only = ReadJpegSize(file);
  Check(size_only && size_only->width == cut->picture.width &&
            size_only->height == cut->picture.height,
        "the header-only size differs");
  Check(cut->width >= 0 && cut->width <= want_w && cut->width <= cut->picture.width &&
            cut->height >= 0 && cut->height <= want_h && cut->height <= cut->picture.height,
        "cut-out outside what was asked or the picture");
  Check(cut->bgr.size() == cut->stride * cut->height && cut->stride >= cut->width * 3u,
        "pixel buffer of the wrong size");
  return 0;
}
