// Code page 932 through glibc's CP932 tables, for the native build of the logic.
#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "platform/text.h"

namespace velkor {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  // Converts as much as possible; returns false and stops at an invalid input.
  bool Run(const char*& in, std::size_t& in_left, std::string& out) {
    char buf[4096];
    while (in_left > 0) {
      char* o = buf;
      std::size_t o_left = sizeof buf;
      const std::size_t rc = iconv(cd_, const_cast<char**>(&in), &in_left, &o, &o_left);
      out.append(buf, static_cast<std::size_t>(o - buf));
      if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }
  void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

 private:
  iconv_t cd_;
};

}  // namespace

std::wstring Cp932ToWide(std::string_view bytes) {
  static thread_local Converter conv("WCHAR_T", "CP932");
  std::wstring out;
  std::string raw;
  const char* in = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    raw.clear();
    const bool ok = conv.Run(in, left, raw);
    out.append(reinterpret_cast<const wchar_t*>(raw.data()), raw.size() / sizeof(wchar_t));
    if (!ok) {
      // Like the system: an undecodable byte becomes one replacement character.
      conv.Reset();
      out.push_back(L'\x30FB');
      ++in;
      --left;
    }
  }
  return out;
}

Cp932Bytes WideToCp932(std::wstring_view text) {
  static thread_local Converter conv("CP932", "WCHAR_T");
  Cp932Bytes r;
  const char* in = reinterpret_cast<const char*>(text.data());
  std::size_t left = text.size() * sizeof(wchar_t);
  while (left > 0) {
    if (!conv.Run(in, left, r.bytes)) {
      conv.Reset();
      const std::size_t index = text.size() - left / sizeof(wchar_t);
      if (r.lost == 0) r.first_lost = index;
      ++r.lost;
      r.bytes.push_back('?');
      in += sizeof(wchar_t);
      left -= sizeof(wchar_t);
    }
  }
  return r;
}

}  // namespace velkor
