#include "state/doc_settings.h"

#include <utility>

namespace velkor {

DocSettings DocSettings::Defaults(int frame_width, int frame_height, std::wstring font_name, int font_size,
                                  int font_color) {
  DocSettings d;
  d.width = d.form_width = frame_width * 6 / 7;
  d.height = d.form_height = frame_height * 2 / 3;
  d.font_name = std::move(font_name);
  d.font_size = font_size;
  d.font_color = font_color;
  return d;
}

DocSettings DocSettings::Load(const SettingsStore& store, std::wstring_view section, const DocSettings& defaults) {
  DocSettings d;
  d.form_width = store.ReadInteger(section, L"EditFormWidth", defaults.form_width);
  d.form_height = store.ReadInteger(section, L"EditFormHeight", defaults.form_height);
  d.word_wrap = store.ReadBool(section, L"WordWrap", defaults.word_wrap);
  d.width = store.ReadInteger(section, L"Width", defaults.width);
  d.height = store.ReadInteger(section, L"Height", defaults.height);
  d.font_name = store.ReadString(section, L"Name", defaults.font_name);
  d.font_size = store.ReadInteger(section, L"Size", defaults.font_size);
  d.font_color = store.ReadInteger(section, L"Color", defaults.font_color);
  d.font_style = store.ReadInteger(section, L"Style", defaults.font_style);
  return d;
}

void DocSettings::Save(SettingsStore& store, std::wstring_view section) const {
  store.WriteString(section, L"File", file);
  store.WriteInteger(section, L"Width", width);
  store.WriteInteger(section, L"Height", height);
  store.WriteInteger(section, L"EditFormWidth", form_width);
  store.WriteInteger(section, L"EditFormHeight", form_height);
  store.WriteString(section, L"Name", font_name);
  store.WriteInteger(section, L"Size", font_size);
  store.WriteInteger(section, L"Color", font_color);
  store.WriteInteger(section, L"Style", font_style);
  store.WriteBool(section, L"WordWrap", word_wrap);
}

}  // namespace velkor
