#pragma once
// What the JPEG benchmarks share: large made-up pictures, and libjpeg-turbo
// with nothing around it, the anchor the program's decoding is measured
// against.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "native/jpeg_encode.h"

namespace bench {

// A width x height picture of waves and noise, different for each seed, that
// compresses about as a photograph does.
inline std::vector<std::uint8_t> MakePicture(unsigned seed, int width, int height) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  unsigned s = seed * 2654435761u + 1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      s = s * 1103515245u + 12345u;
      const unsigned noise = (s >> 16) & 15;
      std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
      const int wave = ((x * x / 97 + y * 3 + static_cast<int>(seed) * 40) ^ (x / 7 + y / 5)) & 127;
      p[0] = static_cast<std::uint8_t>(60 + wave + noise);
      p[1] = static_cast<std::uint8_t>(40 + ((x + y * 2) >> 5 & 127) + noise);
      p[2] = static_cast<std::uint8_t>(30 + ((y >> 3) & 63) + wave / 2 + noise);
    }
  }
  return jpegtest::Encode(rgb, width, height, 3, {2, 2, false, 90});
}

// Decodes the top `rows` rows of a picture in memory, `columns` wide from the
// left (0: the full width); returns a sum of the pixels so nothing is skipped.
inline std::size_t DecodeBare(const std::vector<std::uint8_t>& file, int columns, int rows) {
  jpeg_decompress_struct info{};
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&info);
  if (columns > 0) {
    JDIMENSION x = 0, w = static_cast<JDIMENSION>(columns);
    jpeg_crop_scanline(&info, &x, &w);
  }
  std::vector<JSAMPLE> row(static_cast<std::size_t>(info.output_width) * 3);
  JSAMPROW p = row.data();
  std::size_t sum = 0;
  while (static_cast<int>(info.output_scanline) < rows) {
    jpeg_read_scanlines(&info, &p, 1);
    sum += row[0];
  }
  jpeg_destroy_decompress(&info);
  return sum;
}

}  // namespace bench
