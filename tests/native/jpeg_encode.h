#pragma once
// Test pictures made with libjpeg's own compressor, and libjpeg's plain decode
// of a whole picture to compare cut-outs with. Its default error handler
// ends the program, which is right for pictures a test makes itself.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace jpegtest {

struct Options {
  int h_sampling = 2;  // of the luminance: 2 x 2 is 4:2:0, 1 x 1 is 4:4:4
  int v_sampling = 2;
  bool progressive = false;
  int quality = 90;
};

// pixels: width * height * components bytes; components 1 (gray), 3 (RGB) or 4 (CMYK).
inline std::vector<std::uint8_t> Encode(const std::vector<std::uint8_t>& pixels, int width, int height,
                                        int components, const Options& o = {}) {
  jpeg_compress_struct info{};
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, o.quality, TRUE);
  if (components == 3) {
    info.comp_info[0].h_samp_factor = o.h_sampling;
    info.comp_info[0].v_samp_factor = o.v_sampling;
  }
  if (o.progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPLE*>(pixels.data()) +
                   static_cast<std::size_t>(info.next_scanline) * width * components;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> file(out, out + size);
  std::free(out);
  return file;
}

// Colours that change from each pixel to the next, so that the chroma of
// neighbouring blocks differs and upsampling has something to blend.
inline std::vector<std::uint8_t> Pattern(int width, int height, int components, unsigned seed = 1) {
  std::vector<std::uint8_t> p(static_cast<std::size_t>(width) * height * components);
  unsigned s = seed;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < components; ++c) {
        s = s * 1103515245u + 12345u;
        const int smooth = (x * (3 + c * 2) + y * (5 - c) + c * 60) & 255;
        p[(static_cast<std::size_t>(y) * width + x) * components + c] =
            static_cast<std::uint8_t>(smooth ^ ((s >> 16) & 31));
      }
  return p;
}

// The first `rows` rows of the whole decode, blue-green-red, unpadded.
inline std::vector<std::uint8_t> DecodeRows(const std::vector<std::uint8_t>& file, int rows) {
  jpeg_decompress_struct info{};
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&info);
  const std::size_t stride = static_cast<std::size_t>(info.output_width) * 3;
  std::vector<std::uint8_t> bgr(stride * rows);
  while (static_cast<int>(info.output_scanline) < rows) {
    JSAMPROW row = bgr.data() + info.output_scanline * stride;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_abort_decompress(&info);
  jpeg_destroy_decompress(&info);
  return bgr;
}

}  // namespace jpegtest
