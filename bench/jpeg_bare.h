#pragma once
// libjpeg-turbo with nothing around it, the anchor the JPEG benchmarks measure
// the program's decoding against.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace bench {

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
