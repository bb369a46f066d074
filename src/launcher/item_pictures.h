#pragma once
// Reading the pictures of the file list's items from their files: what the
// item drawing, the selection's thumbnail and the preview share.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "controls/picture.h"
#include "launcher/jpeg_cutout.h"
#include "platform/win32.h"

namespace velkor {

// The cut-out's size, chosen once the picture's size is known.
using CutoutSize = std::function<JpegSize(JpegSize picture)>;

// The top-left corner of a JPEG (jpeg true) or ".BMP" file, clipped to the
// picture, with the whole picture's size; nothing when it cannot be read.
// A JPEG is decoded only as far as the corner reaches.
std::optional<JpegCutout> ReadPictureCutout(const std::wstring& path, bool jpeg, const CutoutSize& size);

// An old Windows metafile, with or without the placeable header in front,
// as an enhanced metafile; null when the file is none.
HENHMETAFILE LoadWindowsMetafile(const std::wstring& path);

// Pixels in the cut-out form drawn 1:1 at (x, y).
void DrawCutout(HDC dc, int x, int y, const JpegCutout& pixels);

// How many times a picture file was decoded for the file list since the
// program started: repaints served from what the list keeps do not count.
std::size_t PictureDecodeCount();
void CountPictureDecode();

}  // namespace velkor
