#pragma once
// Sizes in the window layouts are designed at 96 dots per inch; every one of
// them goes through Scale so that other settings follow.
namespace velkor {

int ScreenDpi();
inline int Scale(int designed) {
  const int dpi = ScreenDpi();
  if (dpi == 96) return designed;
  const long long v = static_cast<long long>(designed) * dpi;
  return static_cast<int>(v >= 0 ? (v + 48) / 96 : (v - 48) / 96);
}

}  // namespace velkor
