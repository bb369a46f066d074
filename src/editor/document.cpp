#include "editor/document.h"

#include "platform/path_names.h"
#include "platform/text.h"

namespace velkor {
namespace {

bool StartsWith(const std::string& s, const char* prefix, std::size_t n) { return s.compare(0, n, prefix, n) == 0; }

bool HasNonAscii(const std::string& bytes) {
  for (unsigned char c : bytes)
    if (c >= 0x80) return true;
  return false;
}

}  // namespace

DecodedDocument DecodeDocument(const std::string& bytes) {
  DecodedDocument d;
  std::string body = bytes;
  if (StartsWith(bytes, "\xEF\xBB\xBF", 3)) {
    d.encoding = DocEncoding::Utf8Bom;
    d.text = Utf8ToWide(std::string_view(bytes).substr(3));
  } else if (StartsWith(bytes, "\xFF\xFE", 2)) {
    d.encoding = DocEncoding::Utf16Le;
    d.text = Utf16LeToWide(std::string_view(bytes).substr(2));
  } else if (StartsWith(bytes, "\xFE\xFF", 2)) {
    d.encoding = DocEncoding::Utf16Be;
    std::string swapped = bytes.substr(2);
    for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
    d.text = Utf16LeToWide(swapped);
  } else if (HasNonAscii(bytes) && IsValidUtf8(bytes)) {
    d.encoding = DocEncoding::Utf8;
    d.text = Utf8ToWide(bytes);
  } else {
    d.text = Cp932ToWide(bytes);
  }
  const auto nul = d.text.find(L'\0');
  if (nul != std::wstring::npos) {
    d.text.resize(nul);
    d.cut_at_nul = true;
  }
  return d;
}

EncodedDocument EncodeDocument(const std::wstring& text, DocEncoding encoding) {
  EncodedDocument e;
  switch (encoding) {
    case DocEncoding::ShiftJis: {
      Cp932Bytes b = WideToCp932(text);
      e.bytes = std::move(b.bytes);
      e.lost = b.lost;
      e.first_lost = b.first_lost;
      break;
    }
    case DocEncoding::Utf8:
      e.bytes = WideToUtf8(text);
      break;
    case DocEncoding::Utf8Bom:
      e.bytes = "\xEF\xBB\xBF" + WideToUtf8(text);
      break;
    case DocEncoding::Utf16Le:
      e.bytes = "\xFF\xFE" + WideToUtf16Le(text);
      break;
    case DocEncoding::Utf16Be: {
      std::string le = WideToUtf16Le(text);
      for (std::size_t i = 0; i + 1 < le.size(); i += 2) std::swap(le[i], le[i + 1]);
      e.bytes = "\xFE\xFF" + le;
      break;
    }
  }
  return e;
}

TextPlace PlaceOf(const std::wstring& text, std::size_t index) {
  TextPlace p;
  for (std::size_t i = 0; i < index && i < text.size(); ++i) {
    if (text[i] == L'\n') {
      ++p.line;
      p.column = 1;
    } else if (text[i] != L'\r') {
      ++p.column;
    }
  }
  return p;
}

std::wstring BackupNameOf(const std::wstring& path) { return ReplaceExtension(path, L".BAK"); }

bool HasExtension(const std::wstring& path) { return ExtensionDot(path) != std::wstring::npos; }

}  // namespace velkor
