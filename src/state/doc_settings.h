#pragma once
// What an editor window keeps of its document in a section of the settings
// file: the path, the sizes of the text area and of the window, the font and
// word wrap. A document's section is named by its path, a window made by New
// as number n reads "ChildNo<n>FontSelect" (and writes the same name as
// "ChildNO<n>FontSelect", which the store takes for the same section), and
// every save also writes the section "LastUse".
#include <string>
#include <string_view>

#include "state/settings_store.h"

namespace velkor {

struct DocSettings {
  std::wstring file;    // written, never read back at creation
  int width = 0;        // the text area, pixels
  int height = 0;
  int form_width = 0;   // the window, pixels
  int form_height = 0;
  std::wstring font_name;
  int font_size = 0;    // points
  int font_color = 0;   // 0x00BBGGRR, or a system colour with the high bit set
  int font_style = 0;   // 1 bold, 2 italic, 4 underline, 8 strike-out
  bool word_wrap = false;
  bool operator==(const DocSettings&) const = default;

  // What a window takes where its section has no key: the sizes from the
  // main window's outer size (six sevenths of its width, two thirds of its
  // height), the text area's current font without style, no word wrap.
  static DocSettings Defaults(int frame_width, int frame_height, std::wstring font_name, int font_size,
                              int font_color);
  // Every key but File; a missing one gives the default's value.
  static DocSettings Load(const SettingsStore& store, std::wstring_view section, const DocSettings& defaults);
  // Every key, in the order the section has always been written in.
  void Save(SettingsStore& store, std::wstring_view section) const;
};

}  // namespace velkor
