#include "launcher/jpeg_cutout.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h uses FILE and size_t without including them
#include <cstring>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

namespace velkor {
namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return.
// Ours jumps back with longjmp to the setjmp of the Decompressor member that
// made the call. Those members hold nothing with a destructor in their frames,
// so the jump skips no C++ clean-up, and no C++ exception ever has to pass
// through libjpeg's C frames.
struct ErrorTrap {
  jpeg_error_mgr mgr;  // first: libjpeg's pointer to it is a pointer to the trap
  std::jmp_buf jump;
};

extern "C" {

static void JumpOut(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

// The program has no console; warnings would go nowhere useful.
static void Silent(j_common_ptr) {}

static void Warn(j_common_ptr info, int level) {
  if (level >= 0) return;  // trace messages
  // On a truncated file libjpeg goes on with gray in place of what is
  // missing; the file list shows such a picture as one it cannot read.
  if (info->err->msg_code == JWRN_JPEG_EOF) JumpOut(info);
  ++info->err->num_warnings;  // corrupt data that libjpeg decodes past
}

}  // extern "C"

// The whole-picture coefficient buffer of a progressive picture is the one
// large allocation; this bound still takes a progressive picture of some 40
// million pixels at full colour resolution, while a damaged header naming a
// giant picture fails instead of exhausting a 32-bit address space.
constexpr long kMemoryLimit = 256L << 20;

class Decompressor {
 public:
  Decompressor() = default;
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;
  // Safe on a failed or half-made decompressor: it checks for its memory pool.
  ~Decompressor() { jpeg_destroy_decompress(&info_); }

  bool Open(std::span<const std::uint8_t> file) {
    info_.err = jpeg_std_error(&trap_.mgr);
    trap_.mgr.error_exit = JumpOut;
    trap_.mgr.output_message = Silent;
    trap_.mgr.emit_message = Warn;
    if (setjmp(trap_.jump)) return false;
    jpeg_create_decompress(&info_);
    info_.mem->max_memory_to_use = kMemoryLimit;
    jpeg_mem_src(&info_, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info_, TRUE);
    return true;
  }

  JpegSize size() const {
    return {static_cast<int>(info_.image_width), static_cast<int>(info_.image_height)};
  }
  bool cmyk() const { return info_.out_color_space == JCS_CMYK; }
  bool adobe() const { return info_.saw_Adobe_marker; }
  int channels() const { return info_.output_components; }
  int row_width() const { return static_cast<int>(info_.output_width); }

  // Starts decoding the leftmost columns. With fancy upsampling each pixel
  // takes colour from its neighbours, and at the crop's right edge libjpeg
  // repeats the edge as at the picture's; one column more than is shown keeps
  // the last shown column as a whole decode gives it.
  bool Start(int columns) {
    if (setjmp(trap_.jump)) return false;
    const bool cmyk = info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
    info_.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&info_);
    // The left edge is the picture's own, so the iMCU alignment of the offset
    // leaves nothing to skip.
    JDIMENSION x = 0;
    JDIMENSION width = std::min(static_cast<JDIMENSION>(columns) + 1, info_.output_width);
    jpeg_crop_scanline(&info_, &x, &width);
    return true;
  }

  bool ReadRow(JSAMPLE* row) {
    if (setjmp(trap_.jump)) return false;
    return jpeg_read_scanlines(&info_, &row, 1) == 1;
  }

 private:
  jpeg_decompress_struct info_{};
  ErrorTrap trap_{};
};

// Adobe's writers store CMYK inverted (255 = no ink).
void CmykToBgr(const JSAMPLE* in, std::uint8_t* out, int pixels, bool inverted) {
  for (int i = 0; i < pixels; ++i, in += 4, out += 3) {
    const unsigned flip = inverted ? 0 : 255;
    const unsigned k = in[3] ^ flip;
    for (int c = 0; c < 3; ++c) out[2 - c] = static_cast<std::uint8_t>(((in[c] ^ flip) * k + 127) / 255);
  }
}

}  // namespace

std::optional<JpegSize> ReadJpegSize(std::span<const std::uint8_t> file) {
  Decompressor d;
  if (!d.Open(file)) return std::nullopt;
  return d.size();
}

std::optional<JpegCutout> DecodeJpegCutout(std::span<const std::uint8_t> file, int width,
                                           int height) {
  Decompressor d;
  if (!d.Open(file)) return std::nullopt;
  JpegCutout cut;
  cut.picture = d.size();
  if (width <= 0 || height <= 0) return cut;
  cut.width = std::min(width, cut.picture.width);
  cut.height = std::min(height, cut.picture.height);
  cut.stride = (static_cast<std::size_t>(cut.width) * 3 + 3) & ~std::size_t{3};
  if (!d.Start(cut.width)) return std::nullopt;
  std::vector<JSAMPLE> row;
  try {
    // A whole picture at the largest size JPEG allows does not fit 32 bits.
    if (cut.stride > cut.bgr.max_size() / static_cast<std::size_t>(cut.height)) return std::nullopt;
    cut.bgr.resize(cut.stride * cut.height);
    row.resize(static_cast<std::size_t>(d.row_width()) * d.channels());
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  for (int y = 0; y < cut.height; ++y) {
    if (!d.ReadRow(row.data())) return std::nullopt;
    std::uint8_t* to = cut.bgr.data() + y * cut.stride;
    if (d.cmyk()) {
      CmykToBgr(row.data(), to, cut.width, d.adobe());
    } else {
      std::memcpy(to, row.data(), static_cast<std::size_t>(cut.width) * 3);
    }
  }
  // Destroying the decompressor abandons the rows below unread.
  return cut;
}

}  // namespace velkor
