#include "launcher/file_list_items.h"

#include <shellapi.h>

#include <list>
#include <optional>
#include <unordered_map>
#include <vector>

#include "launcher/file_items.h"
#include "platform/file_utils.h"
#include "launcher/item_pictures.h"
#include "ui/app.h"
#include "platform/path_names.h"

namespace velkor {
namespace {

// What the list keeps for the pictures and icons on the screen and near it.
// Scrolling a screenful back and forth decodes nothing; a directory of
// thousands of pictures stays within these bounds, the oldest going first.
constexpr std::size_t kCacheBytes = 48u << 20;
constexpr std::size_t kCacheHandles = 2000;
constexpr std::size_t kCacheEntries = 1000;
// A rough cost of an icon kept: its colour and mask bitmaps.
constexpr std::size_t kIconBytes = 8192;

struct Stamp {
  ULONGLONG size = 0;
  FILETIME written{};
  bool operator==(const Stamp& o) const {
    return size == o.size && written.dwLowDateTime == o.written.dwLowDateTime &&
           written.dwHighDateTime == o.written.dwHighDateTime;
  }
};

std::optional<Stamp> StampOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  Stamp s;
  s.size = (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  s.written = data.ftLastWriteTime;
  return s;
}

bool IsIcon(HICON icon) { return reinterpret_cast<UINT_PTR>(icon) > 1; }

// What is kept for one file. Pictures keep only the corner shown, so that
// the cost of an entry is that of its item on the screen.
struct Entry {
  Stamp stamp;
  ItemKind kind = ItemKind::Other;
  // Pictures (".BMP", ".JPG"): the corner asked for; -1 before the first.
  JpegSize asked{-1, -1};
  bool failed = false;  // not readable: drawn empty, not tried again
  JpegCutout pixels;
  Picture picture;  // ".WMF" (its metafile) and ".ICO" (its icon)
  bool loaded = false;
  // Programs: the first icon as extracted (0, 1 for "none", or an icon),
  // the number of icons and those extracted so far.
  HICON first = nullptr;
  bool first_known = false;
  int count = -1;
  std::vector<HICON> icons;

  Entry() = default;
  Entry(const Entry&) = delete;
  Entry& operator=(const Entry&) = delete;
  ~Entry() {
    if (IsIcon(first)) DestroyIcon(first);
    for (HICON icon : icons)
      if (IsIcon(icon)) DestroyIcon(icon);
  }

  std::size_t Bytes() const {
    std::size_t icons_kept = IsIcon(first) ? 1 : 0;
    for (HICON icon : icons) icons_kept += IsIcon(icon) ? 1 : 0;
    std::size_t own = 256 + pixels.bgr.size() + icons_kept * kIconBytes;
    if (picture.kind() == Picture::Kind::Metafile) own += GetEnhMetaFileBits(picture.metafile(), 0, nullptr);
    if (picture.kind() == Picture::Kind::Icon) own += kIconBytes;
    return own;
  }
  std::size_t Handles() const {
    std::size_t n = picture.empty() ? 0 : 1;
    if (IsIcon(first)) ++n;
    for (HICON icon : icons) n += IsIcon(icon) ? 1 : 0;
    return n;
  }
};

struct Colors {
  COLORREF text, back;
};

COLORREF Ref(Rgb c) { return RGB(c.r, c.g, c.b); }

void Text(HDC dc, int x, int y, const std::wstring& text) {
  ExtTextOutW(dc, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

SIZE Extent(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

// The pixel height of the characters of the font selected into dc.
int FontHeight(HDC dc) {
  LOGFONTW font{};
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  if (GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font) && font.lfHeight != 0)
    return font.lfHeight < 0 ? -font.lfHeight : font.lfHeight - tm.tmInternalLeading;
  return tm.tmHeight;
}

}  // namespace

struct FileItemPainter::Cache {
  using Order = std::list<std::pair<std::wstring, std::unique_ptr<Entry>>>;
  Order order;  // most recently drawn first
  std::unordered_map<std::wstring, Order::iterator> index;
  std::size_t bytes = 0, handles = 0;

  // The entry of path as it stands on disk, made afresh when the file changed.
  Entry& Get(const std::wstring& path, ItemKind kind) {
    const std::optional<Stamp> stamp = StampOf(path);
    auto found = index.find(path);
    if (found != index.end()) {
      Entry& e = *found->second->second;
      if (e.stamp == stamp.value_or(Stamp()) && e.kind == kind) {
        order.splice(order.begin(), order, found->second);
        return e;
      }
      Remove(found->second);
    }
    auto e = std::make_unique<Entry>();
    e->kind = kind;
    if (stamp) e->stamp = *stamp;
    order.emplace_front(path, std::move(e));
    index[path] = order.begin();
    bytes += order.front().second->Bytes();
    handles += order.front().second->Handles();
    return *order.front().second;
  }

  // Accounts for what an entry gained, then makes room by dropping the
  // entries drawn longest ago (never the one just drawn).
  void Changed(Entry& e, std::size_t bytes_before, std::size_t handles_before) {
    bytes += e.Bytes() - bytes_before;
    handles += e.Handles() - handles_before;
    while (order.size() > 1 &&
           (bytes > kCacheBytes || handles > kCacheHandles || order.size() > kCacheEntries))
      Remove(std::prev(order.end()));
  }

  void Remove(Order::iterator it) {
    bytes -= it->second->Bytes();
    handles -= it->second->Handles();
    index.erase(it->first);
    order.erase(it);
  }

  void Clear() {
    index.clear();
    order.clear();
    bytes = handles = 0;
  }
};

FileItemPainter::FileItemPainter() : cache_(std::make_unique<Cache>()) {}
FileItemPainter::~FileItemPainter() = default;

void FileItemPainter::Clear() { cache_->Clear(); }

void FileItemPainter::Draw(HDC dc, const RECT& item, const std::wstring& path, const ItemLook& look) {
  const std::wstring name = FileNameOf(path);
  const ItemKind kind = ItemKindOf(FileKindExtension(path));
  const int icon_w = GetSystemMetrics(SM_CXICON), icon_h = GetSystemMetrics(SM_CYICON);
  const int L = item.left, T = item.top, IH = look.item_height, CW = look.column_width;

  Rgb kind_color;
  Colors colors{RGB(0, 0, 0), RGB(255, 255, 255)};
  if (ItemTextColor(kind, kind_color)) {
    colors.text = Ref(kind_color);
    if (look.selected) colors.back = Ref(SelectedBackground(kind_color));
  } else if (look.selected) {
    colors = {GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_HIGHLIGHT)};
  }
  const COLORREF old_text = SetTextColor(dc, colors.text);
  const COLORREF old_back = SetBkColor(dc, colors.back);
  const int old_mode = SetBkMode(dc, OPAQUE);
  const UINT old_align = SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);

  Entry* entry = kind == ItemKind::Other ? nullptr : &cache_->Get(path, kind);
  const std::size_t bytes_before = entry ? entry->Bytes() : 0, handles_before = entry ? entry->Handles() : 0;

  auto caption = [&](int w, JpegSize whole) {
    const int TH = Extent(dc, path).cy, FH = FontHeight(dc);
    Text(dc, L + w + 10, T + (IH - TH) / 2, name);
    SetTextColor(dc, RGB(0, 0, 0));
    Text(dc, L + w + 10, T + (IH - TH) / 2 + FH + 5,
         std::to_wstring(whole.width) + L"\u00D7" + std::to_wstring(whole.height));
  };
  int name_w = -1;  // the name and five blanks, measured once
  auto cutout_size = [&](JpegSize whole) {
    if (name_w < 0) name_w = Extent(dc, name + L"     ").cx;
    const Size cut = PictureCutout(CW, name_w, IH, {whole.width, whole.height});
    return JpegSize{cut.w, cut.h};
  };

  switch (kind) {
    case ItemKind::IconFile: {
      if (!entry->loaded) {
        entry->loaded = true;
        entry->picture = Picture::FromIcon(LoadIconFile(path));
      }
      if (!entry->picture.empty()) DrawIcon(dc, L + 4, T + 2, entry->picture.icon());
      Text(dc, L + icon_w + 15, T + icon_h / 2 - 4, name);
      break;
    }
    case ItemKind::Bitmap:
    case ItemKind::Jpeg: {
      const JpegSize want = entry->failed ? JpegSize{} : cutout_size(entry->pixels.picture);
      if (!entry->failed && (want.width != entry->asked.width || want.height != entry->asked.height)) {
        BusyCursor busy;
        JpegSize asked{};
        std::optional<JpegCutout> read = ReadPictureCutout(path, kind == ItemKind::Jpeg, [&](JpegSize whole) {
          return asked = cutout_size(whole);
        });
        if (read) {
          entry->pixels = std::move(*read);
          entry->asked = asked;
        } else {
          entry->pixels = JpegCutout();
          entry->failed = true;
        }
      }
      DrawCutout(dc, L + 2, T + 2, entry->pixels);
      caption(entry->pixels.width, entry->pixels.picture);
      break;
    }
    case ItemKind::Metafile: {
      if (!entry->loaded) {
        BusyCursor busy;
        CountPictureDecode();
        entry->loaded = true;
        entry->picture = Picture::FromMetafile(LoadWindowsMetafile(path));
      }
      const Picture& mf = entry->picture;
      const JpegSize cut = cutout_size({mf.width(), mf.height()});
      if (!mf.empty() && cut.width > 0 && cut.height > 0) {
        const RECT bounds{L + 2, T + 2, L + 2 + cut.width, T + 2 + cut.height};
        mf.StretchDraw(dc, bounds);
      }
      caption(cut.width, {mf.width(), mf.height()});
      break;
    }
    case ItemKind::Program: {
      HINSTANCE self = GetModuleHandleW(nullptr);
      if (!entry->first_known) {
        entry->first_known = true;
        entry->first = ExtractIconW(self, path.c_str(), 0);
      }
      if (!look.multi_icon) {
        if (IsIcon(entry->first)) DrawIcon(dc, L + 4, T + 2, entry->first);
        Text(dc, L + icon_w + 12, T + icon_h / 2 - 4, name);
        break;
      }
      if (!IsIcon(entry->first)) {
        Text(dc, L + icon_w + 5, T + (IH - Extent(dc, path).cy) / 2, name);
        break;
      }
      if (entry->count < 0) {
        const UINT_PTR n = reinterpret_cast<UINT_PTR>(ExtractIconW(self, path.c_str(), static_cast<UINT>(-1)));
        entry->count = n > 0x7fff ? 0 : static_cast<int>(n);
        entry->icons.assign(static_cast<std::size_t>(entry->count), nullptr);
      }
      if (entry->count <= 0) break;
      const IconGrid grid = LayoutIconGrid(entry->count, CW, icon_w, icon_h, FontHeight(dc));
      // Icons outside what is being painted are not extracted: drawing them
      // would change no pixel.
      RECT clip{};
      const int clip_kind = GetClipBox(dc, &clip);
      const bool clipped = clip_kind != ERROR && clip_kind != NULLREGION;
      for (int i = 0; i < entry->count; ++i) {
        const IconCell& cell = grid.cells[static_cast<std::size_t>(i)];
        const RECT cell_rect{L + cell.x, T + cell.y, L + cell.x + icon_w + 4 + 20, T + cell.number_y + 20};
        RECT meet;
        if (clipped && !IntersectRect(&meet, &cell_rect, &clip)) continue;
        HICON& kept = entry->icons[static_cast<std::size_t>(i)];
        if (i > 0 && !kept) {
          kept = ExtractIconW(self, path.c_str(), static_cast<UINT>(i));
          if (!kept) kept = reinterpret_cast<HICON>(1);  // asked once only
        }
        const HICON icon = i == 0 ? entry->first : kept;
        if (IsIcon(icon)) DrawIcon(dc, L + cell.x, T + cell.y, icon);
        Text(dc, L + cell.number_x, T + cell.number_y, std::to_wstring(i));
      }
      Text(dc, L + grid.name_x, T + grid.name_y, name + L" (合計：" + std::to_wstring(entry->count) + L" )");
      break;
    }
    case ItemKind::Other:
      Text(dc, L + icon_w + 12, T + icon_h / 2 - 4, name);
      break;
  }

  if (entry) cache_->Changed(*entry, bytes_before, handles_before);
  SetTextAlign(dc, old_align);
  SetBkMode(dc, old_mode);
  SetBkColor(dc, old_back);
  SetTextColor(dc, old_text);
}

}  // namespace velkor
