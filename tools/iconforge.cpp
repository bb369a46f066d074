// iconforge draws every icon and bitmap of Velkor from rectangles, lines,
// ellipses and polygons, and writes them as .ico and .bmp files together with
// the resource script that names them. The files under src/resources/images are
// therefore build products that are reviewed as code: change a drawing here,
// then regenerate the committed copies from the top of the working tree with
//
//     build/native/tools/iconforge src/resources/images src/resources/images.rc
//
// The CTest test resources.reproducible runs this program into the build tree
// and fails while any committed file differs from its output.
//
//     iconforge --check <images-dir> <images.rc>
//
// reads the files back and validates their formats (the test resources.check).
//
// Determinism: only integer and plain IEEE double arithmetic (no library
// maths, no clock, no locale), so two runs give byte-identical files.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Colours

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 0;
  friend bool operator==(const Rgba&, const Rgba&) = default;
};

constexpr Rgba Rgb(int r, int g, int b) {
  return {uint8_t(r), uint8_t(g), uint8_t(b), 255};
}

constexpr Rgba kClear{0, 0, 0, 0};

// The standard 16-colour palette in the order of the system's 4-bit bitmaps.
namespace vga {
constexpr Rgba black = Rgb(0, 0, 0);
constexpr Rgba maroon = Rgb(128, 0, 0);
constexpr Rgba green = Rgb(0, 128, 0);
constexpr Rgba olive = Rgb(128, 128, 0);
constexpr Rgba navy = Rgb(0, 0, 128);
constexpr Rgba purple = Rgb(128, 0, 128);
constexpr Rgba teal = Rgb(0, 128, 128);
constexpr Rgba silver = Rgb(192, 192, 192);
constexpr Rgba gray = Rgb(128, 128, 128);
constexpr Rgba red = Rgb(255, 0, 0);
constexpr Rgba lime = Rgb(0, 255, 0);
constexpr Rgba yellow = Rgb(255, 255, 0);
constexpr Rgba blue = Rgb(0, 0, 255);
constexpr Rgba fuchsia = Rgb(255, 0, 255);
constexpr Rgba aqua = Rgb(0, 255, 255);
constexpr Rgba white = Rgb(255, 255, 255);
constexpr Rgba palette[16] = {black, maroon, green, olive,  navy, purple, teal,    silver,
                              gray,  red,    lime,  yellow, blue, fuchsia, aqua, white};
}  // namespace vga

// Glyphs and the directory images are transparent where they are olive: the
// speed buttons take the bottom-left pixel's colour as transparent, the image
// list of the directory tree is loaded with olive as its mask colour.
constexpr Rgba kBackdrop = vga::olive;

// ---------------------------------------------------------------------------
// Masks: sets of pixels, built by testing each pixel's centre against a shape.

struct Point {
  double x, y;
};

class Mask {
 public:
  Mask(int w, int h) : w_(w), h_(h), bits_(size_t(w) * size_t(h), false) {}

  template <class Inside>
  static Mask Of(int w, int h, Inside inside) {
    Mask m(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) m.bits_[Index(m, x, y)] = inside(x + 0.5, y + 0.5);
    return m;
  }

  int width() const { return w_; }
  int height() const { return h_; }
  bool at(int x, int y) const {
    return x >= 0 && y >= 0 && x < w_ && y < h_ && bits_[Index(*this, x, y)];
  }
  void set(int x, int y, bool v) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) bits_[Index(*this, x, y)] = v;
  }

  Mask operator|(const Mask& o) const { return Combine(o, [](bool a, bool b) { return a || b; }); }
  Mask operator&(const Mask& o) const { return Combine(o, [](bool a, bool b) { return a && b; }); }
  Mask operator-(const Mask& o) const { return Combine(o, [](bool a, bool b) { return a && !b; }); }

  // The pixels of the mask with a side neighbour outside it (the picture's
  // edge counts as outside, so shapes cut by the edge are closed).
  Mask Border() const {
    Mask m(w_, h_);
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (at(x, y) && (!at(x - 1, y) || !at(x + 1, y) || !at(x, y - 1) || !at(x, y + 1)))
          m.set(x, y, true);
    return m;
  }

  // The pixels just outside the mask that touch it at a side.
  Mask Halo() const {
    Mask m(w_, h_);
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (!at(x, y) && (at(x - 1, y) || at(x + 1, y) || at(x, y - 1) || at(x, y + 1)))
          m.set(x, y, true);
    return m;
  }

 private:
  static size_t Index(const Mask& m, int x, int y) { return size_t(y) * size_t(m.w_) + size_t(x); }
  template <class Op>
  Mask Combine(const Mask& o, Op op) const {
    Mask m(w_, h_);
    for (size_t i = 0; i < bits_.size(); ++i) m.bits_[i] = op(bits_[i], o.bits_[i]);
    return m;
  }

  int w_, h_;
  std::vector<bool> bits_;
};

// ---------------------------------------------------------------------------
// Canvas: an RGBA picture with pixel primitives and shape constructors.
// Pixel coordinates are integers, inclusive at both ends; shape coordinates
// are continuous, pixel (x, y) covering [x, x+1) x [y, y+1).

class Canvas {
 public:
  Canvas(int w, int h, Rgba background) : w_(w), h_(h), px_(size_t(w) * size_t(h), background) {}

  int width() const { return w_; }
  int height() const { return h_; }
  Rgba at(int x, int y) const { return px_[size_t(y) * size_t(w_) + size_t(x)]; }

  void Plot(int x, int y, Rgba c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[size_t(y) * size_t(w_) + size_t(x)] = c;
  }
  void Fill(int x0, int y0, int x1, int y1, Rgba c) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) Plot(x, y, c);
  }
  void Frame(int x0, int y0, int x1, int y1, Rgba c) {
    Fill(x0, y0, x1, y0, c);
    Fill(x0, y1, x1, y1, c);
    Fill(x0, y0, x0, y1, c);
    Fill(x1, y0, x1, y1, c);
  }
  // A box with an edge colour and a body colour.
  void Panel(int x0, int y0, int x1, int y1, Rgba body, Rgba edge) {
    Fill(x0, y0, x1, y1, body);
    Frame(x0, y0, x1, y1, edge);
  }
  // Bresenham's line between pixel centres, both ends included.
  void Line(int x0, int y0, int x1, int y1, Rgba c) {
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      Plot(x0, y0, c);
      if (x0 == x1 && y0 == y1) break;
      int e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x0 += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y0 += sy;
      }
    }
  }

  void Paint(const Mask& m, Rgba c) {
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (m.at(x, y)) Plot(x, y, c);
  }
  // A filled shape with an outline of one pixel inside its edge.
  void Blob(const Mask& m, Rgba body, Rgba edge) {
    Paint(m, body);
    Paint(m.Border(), edge);
  }

  // Shapes.
  Mask Box(double x0, double y0, double x1, double y1) const {
    return Mask::Of(w_, h_, [=](double x, double y) { return x > x0 && x < x1 && y > y0 && y < y1; });
  }
  // Pixel rectangle, inclusive.
  Mask Cells(int x0, int y0, int x1, int y1) const { return Box(x0, y0, x1 + 1, y1 + 1); }
  Mask Oval(double cx, double cy, double rx, double ry) const {
    return Mask::Of(w_, h_, [=](double x, double y) {
      double u = (x - cx) / rx, v = (y - cy) / ry;
      return u * u + v * v <= 1.0;
    });
  }
  Mask Disc(double cx, double cy, double r) const { return Oval(cx, cy, r, r); }
  // Even-odd polygon fill.
  Mask Polygon(std::vector<Point> pts) const {
    return Mask::Of(w_, h_, [pts = std::move(pts)](double x, double y) {
      bool in = false;
      for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
        const Point& a = pts[i];
        const Point& b = pts[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
      }
      return in;
    });
  }
  // A segment with round ends, `width` across.
  Mask Stroke(double x0, double y0, double x1, double y1, double width) const {
    double r2 = width * width / 4.0;
    return Mask::Of(w_, h_, [=](double x, double y) {
      double dx = x1 - x0, dy = y1 - y0;
      double len2 = dx * dx + dy * dy;
      double t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0.0;
      t = t < 0 ? 0 : (t > 1 ? 1 : t);
      double ex = x0 + t * dx - x, ey = y0 + t * dy - y;
      return ex * ex + ey * ey <= r2;
    });
  }
  Mask Ring(double cx, double cy, double outer, double inner) const {
    return Disc(cx, cy, outer) - Disc(cx, cy, inner);
  }

  Canvas FlippedVertically() const {
    Canvas c(w_, h_, kClear);
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) c.Plot(x, h_ - 1 - y, at(x, y));
    return c;
  }
  // Copies `src` with its top-left corner at (x, y), leaving out `skip`.
  void Stamp(const Canvas& src, int x, int y, Rgba skip) {
    for (int sy = 0; sy < src.h_; ++sy)
      for (int sx = 0; sx < src.w_; ++sx)
        if (!(src.at(sx, sy) == skip)) Plot(x + sx, y + sy, src.at(sx, sy));
  }

 private:
  int w_, h_;
  std::vector<Rgba> px_;
};

// ---------------------------------------------------------------------------
// File formats

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
uint32_t Get16(const Bytes& b, size_t at) {
  if (at + 2 > b.size()) throw std::runtime_error("file ends inside a header");
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8;
}
uint32_t Get32(const Bytes& b, size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }

void PutInfoHeader(Bytes& b, int w, int h, int bits, uint32_t image_size, uint32_t colours) {
  Put32(b, 40);
  Put32(b, uint32_t(w));
  Put32(b, uint32_t(h));
  Put16(b, 1);
  Put16(b, uint32_t(bits));
  Put32(b, 0);  // BI_RGB
  Put32(b, image_size);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, colours);
  Put32(b, 0);
}

int PaletteIndex(Rgba c) {
  for (int i = 0; i < 16; ++i)
    if (vga::palette[i] == c) return i;
  throw std::runtime_error("colour outside the 16-colour palette");
}

constexpr uint32_t kBmpPixelOffset = 14 + 40 + 16 * 4;

Bytes EncodeBmp4(const Canvas& c) {
  const uint32_t stride = uint32_t((c.width() * 4 + 31) / 32 * 4);
  const uint32_t image_size = stride * uint32_t(c.height());
  Bytes b;
  b.push_back('B');
  b.push_back('M');
  Put32(b, kBmpPixelOffset + image_size);
  Put32(b, 0);
  Put32(b, kBmpPixelOffset);
  PutInfoHeader(b, c.width(), c.height(), 4, image_size, 16);
  for (Rgba p : vga::palette) {
    b.push_back(p.b);
    b.push_back(p.g);
    b.push_back(p.r);
    b.push_back(0);
  }
  for (int y = c.height() - 1; y >= 0; --y) {
    Bytes row(stride, 0);
    for (int x = 0; x < c.width(); ++x)
      row[size_t(x / 2)] |= uint8_t(PaletteIndex(c.at(x, y)) << (x % 2 ? 0 : 4));
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

uint32_t MaskStride(int w) { return uint32_t((w + 31) / 32 * 4); }

// 32-bit images with alpha, each with the AND mask that older readers use.
Bytes EncodeIco(const std::vector<Canvas>& images) {
  std::vector<Bytes> bodies;
  for (const Canvas& c : images) {
    const int w = c.width(), h = c.height();
    const uint32_t mask_stride = MaskStride(w);
    Bytes b;
    PutInfoHeader(b, w, 2 * h, 32, uint32_t(w * h * 4) + mask_stride * uint32_t(h), 0);
    for (int y = h - 1; y >= 0; --y)
      for (int x = 0; x < w; ++x) {
        Rgba p = c.at(x, y);
        if (p.a == 0) p = kClear;
        b.push_back(p.b);
        b.push_back(p.g);
        b.push_back(p.r);
        b.push_back(p.a);
      }
    for (int y = h - 1; y >= 0; --y) {
      Bytes row(mask_stride, 0);
      for (int x = 0; x < w; ++x)
        if (c.at(x, y).a == 0) row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
      b.insert(b.end(), row.begin(), row.end());
    }
    bodies.push_back(std::move(b));
  }
  Bytes out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, uint32_t(images.size()));
  uint32_t offset = uint32_t(6 + 16 * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    out.push_back(uint8_t(images[i].width()));
    out.push_back(uint8_t(images[i].height()));
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, uint32_t(bodies[i].size()));
    Put32(out, offset);
    offset += uint32_t(bodies[i].size());
  }
  for (const Bytes& b : bodies) out.insert(out.end(), b.begin(), b.end());
  return out;
}

// ---------------------------------------------------------------------------
// Drawing helpers shared by the pictograms (16-colour, 16 x 16 scale)

namespace px {
using namespace vga;

Canvas Glyph() { return Canvas(16, 16, kBackdrop); }

// A sheet of paper with its top-right corner folded over.
void Page(Canvas& c, int x0, int y0, int x1, int y1, int ear) {
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      int corner = x - (x1 - ear) - (y - y0);
      if (corner > 0) continue;
      bool edge = x == x0 || x == x1 || y == y0 || y == y1 || corner == 0;
      c.Plot(x, y, edge ? black : white);
    }
  c.Line(x1 - ear, y0, x1 - ear, y0 + ear, black);
  c.Line(x1 - ear, y0 + ear, x1, y0 + ear, black);
}

// Lines of text on a page, `gap` rows apart.
void TextLines(Canvas& c, int x0, int y0, int x1, int y1, int gap, Rgba ink) {
  for (int y = y0; y <= y1; y += gap) c.Line(x0, y, x1 - ((y / gap) % 2) * 2, y, ink);
}

// A closed folder filling 15 x 13 pixels from (x, y).
void FolderClosed(Canvas& c, int x, int y) {
  Mask m = c.Cells(x + 1, y, x + 6, y + 2) | c.Cells(x, y + 2, x + 14, y + 12);
  m.set(x + 1, y, false);
  m.set(x + 6, y, false);
  c.Blob(m, yellow, black);
  c.Plot(x + 1, y + 1, black);
  c.Plot(x + 6, y + 1, black);
  c.Line(x + 2, y + 1, x + 5, y + 1, white);
  c.Line(x + 1, y + 3, x + 13, y + 3, white);
  c.Line(x + 1, y + 3, x + 1, y + 11, white);
}

// An open folder filling 16 x 13 pixels from (x, y): the back, and the front
// flap tilted towards the viewer.
void FolderOpen(Canvas& c, int x, int y) {
  Mask back = c.Cells(x + 1, y, x + 5, y + 2) | c.Cells(x, y + 2, x + 12, y + 12);
  back.set(x + 1, y, false);
  back.set(x + 5, y, false);
  c.Blob(back, yellow, black);
  c.Line(x + 1, y + 3, x + 1, y + 11, white);
  c.Line(x + 2, y + 1, x + 4, y + 1, white);
  Mask flap = c.Polygon({{x + 0.0, y + 13.0}, {x + 3.0, y + 6.0}, {x + 16.0, y + 6.0}, {x + 13.0, y + 13.0}});
  c.Blob(flap, yellow, black);
  c.Line(x + 4, y + 7, x + 13, y + 7, white);
}

// A 3.5-inch diskette, `size` pixels square from (x0, y0): shutter at the
// top, label at the bottom, the top-right corner cut off.
void Floppy(Canvas& c, int x0, int y0, int size, Rgba body) {
  int x1 = x0 + size - 1, y1 = y0 + size - 1;
  c.Panel(x0, y0, x1, y1, body, black);
  c.Plot(x1, y0, kBackdrop);
  c.Plot(x1 - 1, y0 + 1, black);
  int sx0 = x0 + size / 4, sx1 = x1 - size / 4 - 1;
  int sy1 = y0 + size * 3 / 8;
  c.Panel(sx0, y0, sx1, sy1, silver, black);
  c.Fill(sx1 - (sx1 - sx0) / 3, y0 + 1, sx1 - 1, sy1 - 1, body);
  int ly0 = y0 + size / 2 + 1;
  c.Panel(x0 + 2, ly0, x1 - 2, y1, white, black);
  c.Line(x0 + 3, ly0 + 2, x1 - 3, ly0 + 2, gray);
  if (y1 - ly0 >= 5) c.Line(x0 + 3, ly0 + 4, x1 - 3, ly0 + 4, gray);
  c.Plot(x0 + 1, y1 - 1, silver);
}

// A magnifying glass: lens centred on (cx, cy) with radius r, handle towards
// the lower right ending at (hx, hy).
void Magnifier(Canvas& c, double cx, double cy, double r, double hx, double hy, Rgba glass = aqua) {
  const double d = r * 0.7;
  c.Blob(c.Stroke(cx + d, cy + d, hx, hy, 3.2), maroon, black);
  c.Blob(c.Disc(cx, cy, r), glass, black);
  if (glass == aqua) c.Paint(c.Ring(cx, cy, r - 1.0, r - 2.2) & c.Box(0, 0, cx - 0.4, cy - 0.4), white);
}

// A small window: frame, navy title bar and white client area.
void Window(Canvas& c, int x0, int y0, int x1, int y1, int title = 2) {
  c.Panel(x0, y0, x1, y1, white, black);
  c.Fill(x0 + 1, y0 + 1, x1 - 1, y0 + title, navy);
}

// A block arrow pointing right, tip at (tx, cy), shaft from x0.
void ArrowRight(Canvas& c, int x0, int tx, int cy, int half_head, int half_shaft, Rgba body) {
  int hx = tx - half_head;
  Mask m = c.Cells(x0, cy - half_shaft, hx, cy + half_shaft) |
           c.Polygon({{hx + 0.0, cy - half_head + 0.0}, {tx + 1.0, cy + 0.5}, {hx + 0.0, cy + half_head + 1.0}});
  c.Blob(m, body, black);
}

// Bold capitals, 6 x 7 pixels from (x, y), with strokes two pixels wide.
void LetterA(Canvas& c, int x, int y, Rgba ink) {
  c.Fill(x + 2, y, x + 3, y, ink);
  c.Fill(x + 1, y + 1, x + 4, y + 1, ink);
  c.Fill(x, y + 2, x + 1, y + 6, ink);
  c.Fill(x + 4, y + 2, x + 5, y + 6, ink);
  c.Fill(x + 2, y + 4, x + 3, y + 4, ink);
}
void LetterB(Canvas& c, int x, int y, Rgba ink) {
  c.Fill(x, y, x + 1, y + 6, ink);
  for (int row : {0, 3, 6}) c.Fill(x + 2, y + row, x + 4, y + row, ink);
  c.Fill(x + 4, y + 1, x + 5, y + 2, ink);
  c.Fill(x + 4, y + 4, x + 5, y + 5, ink);
}

// A check mark with its corner at (x, y).
void Check(Canvas& c, double x, double y, double width, Rgba ink) {
  Mask m = c.Stroke(x - 3.5, y - 3.5, x, y, width) | c.Stroke(x, y, x + 6.5, y - 6.5, width);
  c.Paint(m.Halo(), black);
  c.Paint(m, ink);
}
}  // namespace px

// ---------------------------------------------------------------------------
// Tool-bar glyphs

namespace glyph {
using namespace vga;
using px::Glyph;

Canvas Exit() {
  Canvas c = Glyph();
  c.Panel(1, 0, 9, 14, white, black);  // the doorway, light from outside
  Mask door = c.Polygon({{1, 0}, {6, 2}, {6, 16}, {1, 15}});
  c.Blob(door, maroon, black);
  c.Plot(4, 8, yellow);
  px::ArrowRight(c, 7, 15, 8, 3, 1, lime);
  return c;
}

Canvas New() {
  Canvas c = Glyph();
  px::Page(c, 3, 1, 12, 14, 3);
  return c;
}

Canvas Open() {
  Canvas c = Glyph();
  px::FolderOpen(c, 0, 2);
  return c;
}

Canvas Tile() {
  Canvas c = Glyph();
  px::Window(c, 0, 2, 7, 13);
  px::Window(c, 8, 2, 15, 13);
  return c;
}

Canvas Cascade() {
  Canvas c = Glyph();
  px::Window(c, 1, 1, 10, 8, 1);
  px::Window(c, 3, 4, 12, 11, 1);
  px::Window(c, 5, 7, 14, 14, 1);
  return c;
}

Canvas IconMini() {
  Canvas c = Glyph();
  // three minimized windows lined up at the bottom, an arrow pointing down to them
  auto bar = [&](int x0, int y0) {
    c.Panel(x0, y0, x0 + 6, y0 + 3, navy, black);
    c.Fill(x0 + 1, y0 + 1, x0 + 2, y0 + 2, white);
  };
  bar(1, 11);
  bar(8, 11);
  Mask arrow = c.Polygon({{6, 0}, {10, 0}, {10, 4}, {13, 4}, {8, 9}, {3, 4}, {6, 4}});
  c.Blob(arrow, lime, black);
  return c;
}

Canvas NormalSize() {
  Canvas c = Glyph();
  px::Window(c, 5, 1, 15, 9);
  px::Window(c, 0, 5, 10, 14);
  return c;
}

Canvas SearchWord() {
  Canvas c = Glyph();
  px::FolderClosed(c, 0, 2);
  px::Magnifier(c, 10.0, 5.0, 4.0, 15.0, 11.0);
  return c;
}

Canvas About() {
  Canvas c = Glyph();
  Mask balloon = c.Oval(8.5, 6.5, 7.4, 6.0) | c.Polygon({{3, 9}, {8, 11}, {2, 15}});
  c.Blob(balloon, white, black);
  c.Fill(8, 2, 9, 3, blue);
  c.Fill(8, 5, 9, 10, blue);
  c.Fill(7, 5, 7, 5, blue);
  c.Fill(7, 10, 10, 10, blue);
  return c;
}

Canvas CloseForm() {
  Canvas c = Glyph();
  px::Window(c, 0, 1, 12, 12);
  Mask x = c.Stroke(9.0, 9.0, 14.0, 14.0, 2.2) | c.Stroke(14.0, 9.0, 9.0, 14.0, 2.2);
  c.Paint(x.Halo(), black);
  c.Paint(x, red);
  return c;
}

Canvas Save() {
  Canvas c = Glyph();
  px::Floppy(c, 1, 1, 14, navy);
  return c;
}

Canvas SaveAs() {
  Canvas c = Glyph();
  px::Floppy(c, 0, 3, 12, navy);
  // a pencil writing down towards the disk's label
  Mask body = c.Polygon({{15, 2}, {13, 0}, {7, 6}, {9, 8}});
  c.Blob(body, yellow, black);
  Mask tip = c.Polygon({{7, 6}, {9, 8}, {5.5, 9.5}});
  c.Paint(tip, white);
  c.Plot(6, 8, black);
  c.Line(14, 1, 15, 2, red);
  return c;
}

Canvas Cut() {
  Canvas c = Glyph();
  c.Paint(c.Stroke(4.0, 0.5, 12.0, 10.0, 1.8), gray);
  c.Paint(c.Stroke(12.0, 0.5, 4.0, 10.0, 1.8), black);
  c.Paint(c.Ring(4.0, 12.0, 3.0, 1.2) | c.Ring(12.0, 12.0, 3.0, 1.2), navy);
  c.Plot(7, 5, white);
  return c;
}

void TwoPages(Canvas& c, bool selected) {
  px::Page(c, 1, 0, 9, 10, 3);
  px::TextLines(c, 3, 3, 6, 9, 2, navy);
  px::Page(c, 6, 4, 14, 15, 3);
  if (selected) {
    c.Fill(7, 8, 13, 12, navy);
    for (int y = 9; y <= 11; y += 2) c.Line(8, y, 12, y, white);
    c.Line(8, 14, 11, 14, navy);
  } else {
    px::TextLines(c, 8, 8, 12, 14, 2, navy);
  }
}

Canvas Copy() {
  Canvas c = Glyph();
  TwoPages(c, false);
  return c;
}

Canvas CopySel() {
  Canvas c = Glyph();
  TwoPages(c, true);
  return c;
}

Canvas Paste() {
  Canvas c = Glyph();
  c.Panel(1, 2, 11, 14, maroon, black);
  c.Panel(4, 1, 8, 3, silver, black);
  c.Plot(6, 0, black);
  px::Page(c, 6, 5, 15, 15, 0);
  px::TextLines(c, 8, 7, 13, 13, 2, navy);
  return c;
}

Canvas Undo() {
  Canvas c = Glyph();
  // an arc over the top, coming back down to the left into the arrow head
  Mask arc = (c.Ring(8.5, 9.0, 6.2, 3.0) & c.Box(-1, -1, 17, 9.0)) | c.Box(11.6, 8, 14.6, 13);
  Mask head = c.Polygon({{0, 8}, {9, 8}, {4.5, 13.5}});
  Mask m = arc | head;
  c.Blob(m, blue, navy);
  return c;
}

Canvas TopLine() {
  Canvas c = Glyph();
  c.Panel(1, 0, 14, 2, blue, black);
  Mask m = c.Polygon({{8, 4}, {14, 10}, {10, 10}, {10, 15}, {6, 15}, {6, 10}, {2, 10}});
  c.Blob(m, lime, black);
  return c;
}

Canvas LastLine() { return TopLine().FlippedVertically(); }

Canvas DateTime() {
  Canvas c = Glyph();
  // a calendar leaf behind a clock
  c.Panel(0, 1, 11, 11, white, black);
  c.Fill(1, 2, 10, 4, red);
  c.Line(3, 0, 3, 2, black);
  c.Line(8, 0, 8, 2, black);
  for (int y = 6; y <= 9; y += 3)
    for (int x = 2; x <= 9; x += 2) c.Plot(x, y, gray);
  Mask face = c.Disc(10.5, 10.5, 5.2);
  c.Blob(face, yellow, black);
  c.Paint(c.Disc(10.5, 10.5, 3.8), white);
  c.Line(10, 7, 10, 10, black);
  c.Line(10, 10, 12, 10, navy);
  c.Plot(10, 13, navy);
  c.Plot(13, 10, navy);
  c.Plot(7, 10, navy);
  return c;
}

Canvas Find() {
  Canvas c = Glyph();
  px::Magnifier(c, 6.0, 6.0, 5.0, 14.5, 14.5);
  return c;
}

Canvas FindNext() {
  Canvas c = Glyph();
  px::Magnifier(c, 5.5, 5.5, 4.3, 10.5, 10.5);
  px::ArrowRight(c, 6, 15, 12, 3, 1, lime);
  return c;
}

Canvas Replace() {
  Canvas c = Glyph();
  px::LetterA(c, 1, 1, navy);
  // a bent arrow from the A down to the B
  c.Line(8, 3, 12, 3, black);
  c.Line(12, 3, 12, 5, black);
  c.Line(10, 5, 14, 5, black);
  c.Line(11, 6, 13, 6, black);
  c.Plot(12, 7, black);
  px::LetterB(c, 9, 8, red);
  return c;
}

Canvas Font() {
  Canvas c = Glyph();
  Mask a = c.Polygon({{1, 12}, {6, 0}, {9, 0}, {14, 12}, {11, 12}, {9.8, 9}, {5.2, 9}, {4, 12}}) -
           c.Polygon({{6.0, 7}, {9.0, 7}, {7.5, 3}});
  c.Blob(a, black, black);
  c.Fill(1, 13, 4, 15, red);
  c.Fill(6, 13, 9, 15, lime);
  c.Fill(11, 13, 14, 15, blue);
  return c;
}

Canvas Zoom(bool in) {
  Canvas c = Glyph();
  px::Magnifier(c, 6.5, 6.5, 5.3, 14.5, 14.5, white);
  c.Fill(4, 6, 8, 6, navy);
  if (in) c.Fill(6, 4, 6, 8, navy);
  return c;
}
Canvas ZoomOut() { return Zoom(false); }
Canvas ZoomIn() { return Zoom(true); }

Canvas Search() {
  Canvas c = Glyph();
  px::Magnifier(c, 5.5, 5.5, 4.3, 11.0, 11.0);
  Mask go = c.Polygon({{9, 8}, {15.5, 11.5}, {9, 15}});
  c.Blob(go, lime, black);
  return c;
}

Canvas FileOpen() {
  Canvas c = Glyph();
  px::Page(c, 1, 0, 11, 13, 3);
  px::TextLines(c, 3, 3, 7, 11, 2, navy);
  Mask eye = c.Oval(10.0, 11.5, 6.2, 3.6);
  c.Blob(eye, white, black);
  c.Paint(c.Disc(10.0, 11.5, 2.2), blue);
  c.Paint(c.Disc(10.0, 11.5, 1.0), black);
  c.Plot(9, 10, white);
  return c;
}

Canvas CloseFile() {
  Canvas c = Glyph();
  c.Panel(5, 1, 15, 14, white, black);
  for (int y = 3; y <= 12; y += 3) {
    c.Fill(7, y, 8, y + 1, navy);
    c.Line(10, y, 13, y, gray);
  }
  Mask arrow = c.Cells(4, 7, 9, 9) | c.Polygon({{0.5, 8.5}, {5, 4}, {5, 13}});
  c.Blob(arrow, lime, black);
  return c;
}

Canvas Setup() {
  Canvas c = Glyph();
  px::FolderClosed(c, 0, 1);
  px::Check(c, 10.0, 13.0, 2.2, red);
  return c;
}

Canvas ShellOpen() {
  Canvas c = Glyph();
  Mask globe = c.Disc(8.0, 8.0, 7.4);
  c.Paint(globe, blue);
  Mask land = c.Polygon({{3, 3}, {8, 2}, {9, 5}, {6, 7}, {7, 11}, {5, 13}, {3, 9}, {1.5, 6}}) |
              c.Polygon({{10, 7}, {14, 6}, {15, 10}, {12, 14}, {10, 11}}) | c.Oval(11.5, 2.5, 2.0, 1.0);
  c.Paint(land & globe, lime);
  c.Paint((land & globe).Border() - globe.Border(), green);
  c.Paint(c.Oval(5.0, 4.5, 1.2, 0.8) & globe, white);
  c.Paint(globe.Border(), black);
  return c;
}

Canvas CloseAbout() {
  Canvas c = Glyph();
  px::Check(c, 6.0, 12.0, 3.0, lime);
  return c;
}
}  // namespace glyph

// ---------------------------------------------------------------------------
// Images of the directory tree: closed folder, open folder, hard disk,
// diskette, CD-ROM.

namespace dir {
using namespace vga;

void HardDisk(Canvas& c, int x) {
  Mask top = c.Polygon({{x + 3.0, 5}, {x + 15.0, 5}, {x + 13.0, 8}, {x + 1.0, 8}});
  c.Blob(top, white, black);
  c.Panel(x + 1, 8, x + 13, 12, silver, black);
  Mask side = c.Polygon({{x + 15.0, 5}, {x + 15.0, 10}, {x + 13.0, 13}, {x + 13.0, 8}});
  c.Blob(side, gray, black);
  c.Line(x + 2, 11, x + 12, 11, gray);
  c.Line(x + 3, 10, x + 7, 10, black);
  c.Fill(x + 10, 10, x + 11, 10, lime);
}

void Cd(Canvas& c, int x) {
  Canvas d(16, 16, kBackdrop);
  Mask disc = d.Disc(8.0, 8.0, 7.4) - d.Disc(8.0, 8.0, 1.6);
  d.Paint(disc, silver);
  d.Paint(disc & d.Polygon({{8, 8}, {0, 2}, {3, 0}}), white);
  d.Paint(disc & d.Polygon({{8, 8}, {16, 12}, {13, 16}}), white);
  d.Paint(disc & d.Polygon({{8, 8}, {0, 5}, {0, 2}}), aqua);
  d.Paint(disc & d.Polygon({{8, 8}, {16, 10}, {16, 12}}), fuchsia);
  d.Paint(d.Ring(8.0, 8.0, 3.2, 1.6), white);
  d.Paint(disc.Border(), black);
  d.Paint((d.Disc(8.0, 8.0, 2.6)).Border() & d.Disc(8.0, 8.0, 2.6), gray);
  c.Stamp(d, x, 0, kBackdrop);
}

Canvas Strip() {
  Canvas c(80, 16, kBackdrop);
  Canvas cell = px::Glyph();
  px::FolderClosed(cell, 0, 2);
  c.Stamp(cell, 0, 0, kBackdrop);
  cell = px::Glyph();
  px::FolderOpen(cell, 0, 2);
  c.Stamp(cell, 16, 0, kBackdrop);
  HardDisk(c, 32);
  cell = px::Glyph();
  px::Floppy(cell, 1, 1, 14, navy);
  c.Stamp(cell, 48, 0, kBackdrop);
  Cd(c, 64);
  return c;
}
}  // namespace dir

// ---------------------------------------------------------------------------
// The mascot ベルコ君 (a small round bear with a memo pad) in three poses, and
// the picture for files without an icon of their own. Each icon is drawn
// separately at 32 and at 16 pixels so that the small one stays readable.

namespace mascot {

constexpr Rgba fur = Rgb(226, 150, 72);
constexpr Rgba fur_edge = Rgb(96, 54, 24);
constexpr Rgba fur_light = Rgb(252, 226, 182);
constexpr Rgba ear_pink = Rgb(242, 160, 150);
constexpr Rgba blush = Rgb(250, 150, 150);
constexpr Rgba ink = Rgb(32, 20, 12);
constexpr Rgba paper = Rgb(255, 255, 255);
constexpr Rgba paper_edge = Rgb(70, 80, 110);
constexpr Rgba rule = Rgb(110, 150, 230);
constexpr Rgba binding = Rgb(220, 56, 56);
constexpr Rgba mouth_red = Rgb(200, 40, 50);
constexpr Rgba pencil = Rgb(250, 200, 40);
constexpr Rgba star = Rgb(255, 216, 0);

enum class Pose { Holding, Waving, Winking };

void Memo(Canvas& c, int x0, int y0, int x1, int y1) {
  c.Panel(x0, y0, x1, y1, paper, paper_edge);
  c.Fill(x0 + 1, y0 + 1, x1 - 1, y0 + 2, binding);
  for (int y = y0 + 4; y < y1; y += 2) c.Line(x0 + 2, y, x1 - 2, y, rule);
}

void Sparkle(Canvas& c, int x, int y) {
  c.Line(x - 2, y, x + 2, y, star);
  c.Line(x, y - 2, x, y + 2, star);
  c.Plot(x, y, Rgb(255, 255, 255));
}

Canvas Large(Pose pose) {
  Canvas c(32, 32, kClear);
  // the head leans aside to make room for the raised paw or the pencil
  const double tilt = pose == Pose::Winking ? -1.0 : (pose == Pose::Waving ? -2.0 : 0.0);
  // body and ears behind the head
  c.Blob(c.Oval(16.0, 27.5, 9.5, 6.0), fur, fur_edge);
  c.Paint(c.Oval(16.0, 28.5, 6.0, 4.0), fur_light);
  const double ear_y = pose == Pose::Winking ? 5.5 : 6.0;
  for (double ex : {7.5 + tilt, 24.5 + tilt}) {
    double ey = ex < 16 ? ear_y : ear_y + (pose == Pose::Winking ? 1.5 : 0.0);
    c.Blob(c.Disc(ex, ey, 4.6), fur, fur_edge);
    c.Paint(c.Disc(ex, ey + 0.3, 2.3), ear_pink);
  }
  // head
  const double hx = 16.0 + tilt;
  c.Blob(c.Oval(hx, 13.5, 12.8, 10.4), fur, fur_edge);
  c.Paint(c.Oval(hx, 18.0, 5.6, 3.8), fur_light);
  c.Paint(c.Oval(hx - 8.6, 17.0, 2.2, 1.3), blush);
  c.Paint(c.Oval(hx + 8.6, 17.0, 2.2, 1.3), blush);
  // eyes
  const int lx = int(hx) - 6, rx = int(hx) + 4;
  auto open_eye = [&](int x) {
    c.Fill(x, 11, x + 2, 14, ink);
    c.Plot(x, 11, fur);
    c.Plot(x + 2, 11, fur);
    c.Plot(x, 14, fur);
    c.Plot(x + 2, 14, fur);
    c.Plot(x + 1, 12, Rgb(255, 255, 255));
  };
  if (pose == Pose::Winking) {
    c.Line(lx - 1, 13, lx + 1, 12, ink);
    c.Line(lx + 1, 12, lx + 3, 13, ink);
    open_eye(rx);
  } else if (pose == Pose::Waving) {
    // happy, closed-arc eyes
    for (int x : {lx, rx}) {
      c.Line(x - 1, 13, x, 12, ink);
      c.Line(x, 12, x + 2, 12, ink);
      c.Line(x + 2, 12, x + 3, 13, ink);
    }
  } else {
    open_eye(lx);
    open_eye(rx);
  }
  // nose and mouth
  const int nx = int(hx);
  c.Fill(nx - 2, 16, nx + 1, 17, ink);
  c.Fill(nx - 1, 18, nx, 18, ink);
  if (pose == Pose::Holding) {
    c.Line(nx - 1, 19, nx - 3, 20, ink);
    c.Line(nx, 19, nx + 2, 20, ink);
  } else {
    Mask mouth = c.Oval(nx, 20.2, 2.6, 1.8) & c.Box(0, 19.0, 32, 32);
    c.Blob(mouth, mouth_red, ink);
    if (pose == Pose::Winking) c.Fill(nx, 21, nx + 1, 22, Rgb(250, 120, 140));
  }
  // arms and the memo pad
  switch (pose) {
    case Pose::Holding:
      Memo(c, 10, 22, 21, 31);
      c.Blob(c.Disc(9.5, 26.5, 2.6), fur, fur_edge);
      c.Blob(c.Disc(22.5, 26.5, 2.6), fur, fur_edge);
      break;
    case Pose::Waving:
      Memo(c, 3, 22, 12, 31);
      c.Blob(c.Disc(12.5, 27.0, 2.5), fur, fur_edge);
      // the raised arm with its paw beside the head
      c.Blob(c.Stroke(21.5, 26.0, 26.5, 18.5, 5.0), fur, fur_edge);
      c.Blob(c.Disc(27.0, 16.5, 3.4), fur, fur_edge);
      c.Paint(c.Disc(27.0, 16.8, 1.4), fur_light);
      c.Line(25, 11, 26, 9, fur_edge);
      c.Line(28, 11, 29, 9, fur_edge);
      c.Line(30, 13, 31, 12, fur_edge);
      break;
    case Pose::Winking:
      Memo(c, 17, 20, 29, 31);
      c.Blob(c.Disc(16.5, 27.5, 2.6), fur, fur_edge);
      // a pencil writing on the pad
      c.Blob(c.Stroke(27.0, 24.0, 30.5, 14.0, 3.0), pencil, fur_edge);
      c.Paint(c.Stroke(30.5, 14.0, 31.0, 12.6, 2.0), binding);
      c.Plot(27, 25, ink);
      c.Blob(c.Disc(28.5, 24.0, 2.6), fur, fur_edge);
      Sparkle(c, 28, 4);
      break;
  }
  return c;
}

Canvas Small(Pose pose) {
  Canvas c(16, 16, kClear);
  const double tilt = pose == Pose::Winking ? -0.5 : 0.0;
  for (double ex : {3.0 + tilt, 13.0 + tilt}) {
    double ey = (pose == Pose::Winking && ex > 8) ? 3.3 : 2.6;
    c.Blob(c.Disc(ex, ey, 2.6), fur, fur_edge);
    c.Plot(int(ex), int(ey), ear_pink);
  }
  const double hx = 8.0 + tilt;
  c.Blob(c.Oval(hx, 7.2, 7.0, 5.8), fur, fur_edge);
  c.Paint(c.Oval(hx, 9.6, 2.6, 1.7), fur_light);
  const int lx = int(hx) - 4, rx = int(hx) + 2, ey = 6;
  c.Plot(lx - 1, 9, blush);
  c.Plot(rx + 3, 9, blush);
  auto open_eye = [&](int x) { c.Fill(x, ey, x + 1, ey + 1, ink); };
  if (pose == Pose::Winking) {
    c.Line(lx, ey + 1, lx + 1, ey + 1, ink);
    open_eye(rx);
  } else if (pose == Pose::Waving) {
    for (int x : {lx, rx}) {
      c.Line(x, ey, x + 1, ey, ink);
      c.Plot(x - 1, ey + 1, ink);
      c.Plot(x + 2, ey + 1, ink);
    }
  } else {
    open_eye(lx);
    open_eye(rx);
  }
  const int nx = int(hx);
  c.Fill(nx - 1, 9, nx, 9, ink);
  if (pose != Pose::Holding) c.Fill(nx - 1, 10, nx, 10, mouth_red);
  switch (pose) {
    case Pose::Holding:
      c.Panel(5, 11, 10, 15, paper, paper_edge);
      c.Fill(5, 11, 10, 11, binding);
      c.Line(6, 13, 9, 13, rule);
      c.Plot(4, 13, fur_edge);
      c.Plot(11, 13, fur_edge);
      break;
    case Pose::Waving:
      c.Panel(1, 11, 6, 15, paper, paper_edge);
      c.Fill(1, 11, 6, 11, binding);
      c.Line(2, 13, 5, 13, rule);
      c.Blob(c.Disc(13.8, 10.0, 2.2), fur, fur_edge);
      c.Line(15, 6, 15, 5, fur_edge);
      break;
    case Pose::Winking:
      c.Panel(8, 11, 14, 15, paper, paper_edge);
      c.Fill(8, 11, 14, 11, binding);
      c.Line(9, 13, 12, 13, rule);
      c.Line(15, 8, 13, 13, pencil);
      c.Plot(13, 14, ink);
      break;
  }
  return c;
}

}  // namespace mascot

namespace document {
using namespace vga;

constexpr Rgba sheet_edge = Rgb(64, 64, 64);
constexpr Rgba fold = Rgb(210, 210, 210);
constexpr Rgba line_ink = Rgb(150, 160, 180);

Canvas Draw(int size) {
  Canvas c(size, size, kClear);
  const bool large = size == 32;
  const int x0 = large ? 6 : 2, y0 = large ? 1 : 0, x1 = large ? 25 : 13, y1 = large ? 30 : 15;
  const int ear = large ? 8 : 4;
  Mask sheet = c.Polygon({{x0 + 0.0, y0 + 0.0}, {x1 + 1.0 - ear, y0 + 0.0}, {x1 + 1.0, y0 + ear + 0.0},
                          {x1 + 1.0, y1 + 1.0}, {x0 + 0.0, y1 + 1.0}});
  c.Blob(sheet, white, sheet_edge);
  Mask corner = c.Polygon({{x1 + 1.0 - ear, y0 + 0.0}, {x1 + 1.0 - ear, y0 + ear + 1.0}, {x1 + 1.0, y0 + ear + 1.0}});
  c.Blob(corner, fold, sheet_edge);
  if (large) {
    for (int y = 5; y <= 9; y += 4) c.Fill(x0 + 3, y, x1 - ear - 3, y + 1, line_ink);
    for (int y = 13; y <= 25; y += 4) c.Fill(x0 + 3, y, x1 - (y == 21 ? 8 : 3), y + 1, line_ink);
  } else {
    for (int y = 6; y <= 12; y += 2) c.Line(x0 + 2, y, x1 - (y == 10 ? 4 : 2), y, line_ink);
  }
  return c;
}
}  // namespace document

// ---------------------------------------------------------------------------
// The list of outputs

struct Output {
  std::string name;
  bool icon;  // ICON (.ico), otherwise BITMAP (.bmp)
  std::function<Bytes()> make;

  std::string file() const { return name + (icon ? ".ico" : ".bmp"); }
};

Bytes MascotIcon(mascot::Pose pose) { return EncodeIco({mascot::Large(pose), mascot::Small(pose)}); }

Bytes GlyphFile(const std::string& name, Canvas (*draw)()) {
  Canvas c = draw();
  if (!(c.at(0, c.height() - 1) == kBackdrop))
    throw std::runtime_error(name + " must leave its bottom-left pixel transparent");
  return EncodeBmp4(c);
}

std::vector<Output> Outputs() {
  using mascot::Pose;
  std::vector<Output> out = {
      {"MAINICON", true, [] { return MascotIcon(Pose::Holding); }},
      {"SICON_1", true, [] { return MascotIcon(Pose::Waving); }},
      {"SICON_2", true, [] { return EncodeIco({document::Draw(32), document::Draw(16)}); }},
      {"SICON_3", true, [] { return MascotIcon(Pose::Winking); }},
      {"DIRIMGS", false, [] { return EncodeBmp4(dir::Strip()); }},
  };
  const std::pair<const char*, Canvas (*)()> glyphs[] = {
      {"GLYPH_EXIT", glyph::Exit},
      {"GLYPH_NEW", glyph::New},
      {"GLYPH_OPEN", glyph::Open},
      {"GLYPH_TILE", glyph::Tile},
      {"GLYPH_CASCADE", glyph::Cascade},
      {"GLYPH_ICONMINI", glyph::IconMini},
      {"GLYPH_NORMALSIZE", glyph::NormalSize},
      {"GLYPH_SEARCHWORD", glyph::SearchWord},
      {"GLYPH_ABOUT", glyph::About},
      {"GLYPH_CLOSEFORM", glyph::CloseForm},
      {"GLYPH_SAVE", glyph::Save},
      {"GLYPH_SAVEAS", glyph::SaveAs},
      {"GLYPH_CUT", glyph::Cut},
      {"GLYPH_COPY", glyph::Copy},
      {"GLYPH_PASTE", glyph::Paste},
      {"GLYPH_UNDO", glyph::Undo},
      {"GLYPH_TOPLINE", glyph::TopLine},
      {"GLYPH_LASTLINE", glyph::LastLine},
      {"GLYPH_DATETIME", glyph::DateTime},
      {"GLYPH_FIND", glyph::Find},
      {"GLYPH_FINDNEXT", glyph::FindNext},
      {"GLYPH_REPLACE", glyph::Replace},
      {"GLYPH_FONT", glyph::Font},
      {"GLYPH_ZOOMOUT", glyph::ZoomOut},
      {"GLYPH_ZOOMIN", glyph::ZoomIn},
      {"GLYPH_FINISH", glyph::Exit},
      {"GLYPH_SEARCH", glyph::Search},
      {"GLYPH_COPYSEL", glyph::CopySel},
      {"GLYPH_FILEOPEN", glyph::FileOpen},
      {"GLYPH_CLOSEFILE", glyph::CloseFile},
      {"GLYPH_SETUP", glyph::Setup},
      {"GLYPH_SHELLOPEN", glyph::ShellOpen},
      {"GLYPH_CLOSEABOUT", glyph::CloseAbout},
  };
  for (auto [name, draw] : glyphs) out.push_back({name, false, [name = std::string(name), draw = draw] { return GlyphFile(name, draw); }});
  return out;
}

std::string ResourceScript(const std::vector<Output>& outputs) {
  std::string s = "// Icons and bitmaps, written by tools/iconforge with the files under resources/images.\n"
                  "// MAINICON comes first: the first icon is the program's own.\n";
  for (const Output& o : outputs)
    s += o.name + (o.icon ? " ICON" : " BITMAP") + " \"resources/images/" + o.file() + "\"\n";
  return s;
}

// ---------------------------------------------------------------------------
// Files

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string_view data) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(data.data(), std::streamsize(data.size()));
  if (!f) throw std::runtime_error("cannot write " + path.string());
}

Bytes ReadFile(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("cannot read " + path.string());
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

int Generate(const fs::path& dir, const fs::path& rc) {
  fs::create_directories(dir);
  const std::vector<Output> outputs = Outputs();
  for (const Output& o : outputs) {
    Bytes b = o.make();
    WriteFile(dir / o.file(), std::string_view(reinterpret_cast<const char*>(b.data()), b.size()));
  }
  if (!rc.empty()) WriteFile(rc, ResourceScript(outputs));
  return 0;
}

// ---------------------------------------------------------------------------
// --check: reads the files back with an independent decoder.

struct Problems {
  std::vector<std::string> list;
  void Add(const std::string& file, const std::string& what) { list.push_back(file + ": " + what); }
};

void CheckBmp(const std::string& file, const Bytes& b, int want_w, bool glyph, Problems& p) {
  if (b.size() < kBmpPixelOffset || b[0] != 'B' || b[1] != 'M') return p.Add(file, "not a bitmap file");
  const uint32_t w = Get32(b, 18), h = Get32(b, 22);
  if (Get32(b, 2) != b.size()) p.Add(file, "file size field does not match the file");
  if (Get32(b, 14) != 40) p.Add(file, "not a BITMAPINFOHEADER");
  if (w != uint32_t(want_w) || h != 16) p.Add(file, "size " + std::to_string(w) + " x " + std::to_string(h));
  if (Get16(b, 28) != 4) p.Add(file, "not 4 bits per pixel");
  if (Get32(b, 30) != 0) p.Add(file, "compressed");
  const uint32_t colours = Get32(b, 46);
  if (colours != 16 && colours != 0) p.Add(file, "palette of " + std::to_string(colours) + " colours");
  for (int i = 0; i < 16; ++i) {
    const size_t at = 54 + size_t(i) * 4;
    const Rgba want = vga::palette[i];
    if (b[at] != want.b || b[at + 1] != want.g || b[at + 2] != want.r)
      p.Add(file, "palette entry " + std::to_string(i) + " is not the standard colour");
  }
  const uint32_t offset = Get32(b, 10);
  const size_t stride = (size_t(w) * 4 + 31) / 32 * 4;
  if (offset + stride * h > b.size()) return p.Add(file, "pixel data cut short");
  // The first row in the file is the bottom row of the picture.
  const int bottom_left = b[offset] >> 4;
  if (glyph && bottom_left != PaletteIndex(kBackdrop)) p.Add(file, "bottom-left pixel is not olive");
  if (!glyph) {
    for (uint32_t cell = 0; cell < w / 16; ++cell) {
      bool transparent = false, drawn = false;
      for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = cell * 16; x < cell * 16 + 16; ++x) {
          int v = b[offset + y * stride + x / 2] >> (x % 2 ? 0 : 4) & 15;
          (v == PaletteIndex(kBackdrop) ? transparent : drawn) = true;
        }
      if (!transparent || !drawn) p.Add(file, "image " + std::to_string(cell) + " is blank or has no olive background");
    }
  }
}

void CheckIco(const std::string& file, const Bytes& b, Problems& p) {
  if (b.size() < 6 || Get16(b, 0) != 0 || Get16(b, 2) != 1) return p.Add(file, "not an icon file");
  const uint32_t count = Get16(b, 4);
  std::set<int> sizes;
  for (uint32_t i = 0; i < count; ++i) {
    const size_t e = 6 + size_t(i) * 16;
    if (e + 16 > b.size()) return p.Add(file, "directory cut short");
    const int w = b[e] ? b[e] : 256, h = b[e + 1] ? b[e + 1] : 256;
    const uint32_t bytes = Get32(b, e + 8), at = Get32(b, e + 12);
    const std::string what = file + " " + std::to_string(w) + "x" + std::to_string(h);
    if (size_t(at) + bytes > b.size() || bytes < 40) {
      p.Add(what, "image data outside the file");
      continue;
    }
    sizes.insert(w);
    if (w != h) p.Add(what, "not square");
    if (Get16(b, e + 6) != 32) p.Add(what, "directory does not say 32 bits");
    if (Get32(b, at) != 40 || int(Get32(b, at + 4)) != w || int(Get32(b, at + 8)) != 2 * h)
      p.Add(what, "header does not match the directory (the height counts the mask too)");
    if (Get16(b, at + 14) != 32) p.Add(what, "not 32 bits per pixel");
    const size_t mask_stride = MaskStride(w);
    if (40 + size_t(w) * h * 4 + mask_stride * h != bytes) {
      p.Add(what, "size does not hold the colour and mask rows");
      continue;
    }
    int opaque = 0, mismatched = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint8_t alpha = b[at + 40 + (size_t(y) * w + x) * 4 + 3];
        const bool masked = b[at + 40 + size_t(w) * h * 4 + size_t(y) * mask_stride + x / 8] & (0x80 >> (x % 8));
        mismatched += masked != (alpha == 0);
        opaque += alpha == 255;
      }
    if (mismatched) p.Add(what, "AND mask disagrees with the alpha channel at " + std::to_string(mismatched) + " pixels");
    if (opaque == 0) p.Add(what, "nothing drawn");
  }
  if (sizes != std::set<int>{16, 32}) p.Add(file, "wants exactly a 32 x 32 and a 16 x 16 image");
}

void CheckScript(const std::string& rc_text, const std::vector<Output>& outputs, Problems& p) {
  std::map<std::string, std::string> statements;
  std::string first_icon;
  std::istringstream in(rc_text);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line.starts_with("//")) continue;
    std::istringstream words(line);
    std::string name, kind, file;
    words >> name >> kind >> file;
    if (kind == "ICON" && first_icon.empty()) first_icon = name;
    statements[name] = kind + " " + file;
  }
  if (first_icon != "MAINICON") p.Add("images.rc", "the first icon is not MAINICON");
  for (const Output& o : outputs) {
    const std::string want = std::string(o.icon ? "ICON" : "BITMAP") + " \"resources/images/" + o.file() + "\"";
    auto it = statements.find(o.name);
    if (it == statements.end())
      p.Add("images.rc", o.name + " is missing");
    else if (it->second != want)
      p.Add("images.rc", o.name + " reads " + it->second);
  }
}

int Check(const fs::path& dir, const fs::path& rc) {
  Problems p;
  const std::vector<Output> outputs = Outputs();
  std::set<std::string> expected;
  for (const Output& o : outputs) {
    expected.insert(o.file());
    const fs::path path = dir / o.file();
    if (!fs::exists(path)) {
      p.Add(o.file(), "missing");
      continue;
    }
    const Bytes b = ReadFile(path);
    if (o.icon)
      CheckIco(o.file(), b, p);
    else
      CheckBmp(o.file(), b, o.name == "DIRIMGS" ? 80 : 16, o.name != "DIRIMGS", p);
  }
  for (const auto& entry : fs::directory_iterator(dir))
    if (!expected.count(entry.path().filename().string()))
      p.Add(entry.path().filename().string(), "not made by iconforge");
  const Bytes rc_bytes = ReadFile(rc);
  CheckScript(std::string(rc_bytes.begin(), rc_bytes.end()), outputs, p);
  for (const std::string& s : p.list) std::fprintf(stderr, "%s\n", s.c_str());
  std::printf("%zu files checked, %zu problems\n", outputs.size(), p.list.size());
  return p.list.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "--check") return Check(args[1], args[2]);
    if (args.size() == 1 || (args.size() == 2 && !args[0].starts_with("--"))) return Generate(args[0], args.size() == 2 ? args[1] : "");
    std::fprintf(stderr,
                 "usage: iconforge <images-dir> [<images.rc>]\n"
                 "       iconforge --check <images-dir> <images.rc>\n");
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "iconforge: %s\n", e.what());
    return 1;
  }
}
