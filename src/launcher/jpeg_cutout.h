#pragma once
// JPEG pictures for the file list: the pixel size from the header, and the
// top-left corner of the picture decoded without decoding the rest of it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace velkor {

struct JpegSize {
  int width = 0;
  int height = 0;
};

// The top-left corner of a picture, as rows of a 24-bit DIB: top-down (a
// BITMAPINFOHEADER with biHeight = -height), three bytes per pixel in the
// order blue, green, red, each row padded to a multiple of four bytes.
struct JpegCutout {
  JpegSize picture;  // the whole picture, not the cut-out
  int width = 0;
  int height = 0;
  std::size_t stride = 0;  // bytes from one row to the next
  std::vector<std::uint8_t> bgr;  // height * stride bytes

  const std::uint8_t* Pixel(int x, int y) const { return bgr.data() + y * stride + x * 3; }
};

// The picture's pixel size from its header alone; nothing when the bytes do
// not begin with a JPEG header that libjpeg takes.
std::optional<JpegSize> ReadJpegSize(std::span<const std::uint8_t> file);

// The top-left width x height pixels of the picture, clipped to it (ask for
// INT_MAX x INT_MAX to decode it whole). Decoding stops after the rows shown;
// within them the compressed data has to be read across the full width, but
// the rest of the work is done for the columns shown only. A progressive
// picture is read whole all the same, since each of its scans refines all of
// it. Grayscale pictures come out gray in all three channels, CMYK and YCCK
// ones converted to RGB (taken as Adobe's inverted CMYK when the file carries
// Adobe's marker, as Photoshop's files do, and as plain CMYK without).
// Nothing when the file is damaged, or truncated before the last row shown
// (data missing after it is never looked at). A width or height of 0 or less
// gives the picture's size with an empty cut-out.
std::optional<JpegCutout> DecodeJpegCutout(std::span<const std::uint8_t> file, int width,
                                           int height);

}  // namespace velkor
