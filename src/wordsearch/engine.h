#pragma once
// The per-file line scan of the word search: finds the lines of one file that
// contain the keyword and hands each one (line number and text) to a sink.
// Works on code page 932 bytes; the file comes through a ByteSource, so the
// same scan serves files (ReadFile) and memory.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace velkor {

// Sequential bytes of one file. Read returns up to max bytes, 0 at the end of
// the data, and throws when reading fails. A short count before the end is
// allowed: the scanner asks again until its request is filled.
struct ByteSource {
  virtual ~ByteSource() = default;
  virtual int Read(unsigned char* dst, int max) = 0;
};

// A ByteSource over bytes held in memory (not owned).
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view data) : data_(data) {}
  int Read(unsigned char* dst, int max) override;

 private:
  std::string_view data_;
  std::size_t pos_ = 0;
};

// A keyword with a double-byte character is always matched exactly: letting
// A-Z and a-z meet would also let second bytes in 0x41-0x7A meet, and match
// characters that only share a lead byte.
bool EffectiveCaseSensitive(std::string_view keyword, bool case_sensitive);

// The keyword with A-Z lowered when matching ignores case, else unchanged.
std::string MakeMatchKey(std::string_view keyword, bool case_sensitive);

struct SearchKey {
  std::string keyword;          // as typed
  bool case_sensitive = false;  // the effective setting for this search
  bool class_check = false;     // the byte before a hit must be space, '(' or '.'
};

// Receives one hit: its line number (counting line feeds from 1) and the line
// text (at most 255 bytes from the start of the line). Returning false, or
// throwing, ends the scan of this file.
using HitSink = std::function<bool(long long line_number, std::string_view text)>;

enum class ScanEnd { Finished, Refused };

// Scans files one after the other with one 16 KB read window. The window
// holds 16,384 bytes; it slides only at a line feed past position 15,872 of a
// full window, keeping the last 512 bytes, so a full window without such a
// line feed ends the scan of its file. At most one hit is reported per line.
class FileScanner {
 public:
  static constexpr int kWindowSize = 16384;
  static constexpr int kRefillFrom = 15872;  // the part kept is kWindowSize - kRefillFrom
  static constexpr int kLineMax = 255;

  explicit FileScanner(const SearchKey& key);
  ~FileScanner();
  FileScanner(const FileScanner&) = delete;
  FileScanner& operator=(const FileScanner&) = delete;

  // Refused when the sink returned false; the sink's exceptions and those of
  // the source pass through.
  ScanEnd Scan(ByteSource& source, const HitSink& sink);

 private:
  struct Window;
  struct Cursor;
  enum class Step { Done, Slid, Refused };

  bool KeyAt(std::size_t pos, std::size_t count) const;
  bool TakeHit(std::size_t line_start, std::size_t pos, std::size_t count,
               std::string& text) const;
  bool Candidate(Cursor& at, std::size_t pos, const HitSink& sink) const;
  Step ScanChunks(ByteSource& source, const HitSink& sink, Cursor& at, std::size_t& i,
                  std::size_t end);
  bool ScanBlocks(ByteSource& source, const HitSink& sink, Cursor& at, std::size_t from,
                  std::size_t to);

  std::string match_key_;
  bool case_sensitive_;
  bool class_check_;
  bool searchable_ = false;
  // Both cases of the first and second keyword bytes (the same byte twice
  // where case does not count).
  unsigned char first_forms_[2] = {0, 0};
  unsigned char second_forms_[2] = {0, 0};
  std::unique_ptr<Window> window_;
};

// One file, one scanner: the engine's SearchFile over an open source.
ScanEnd SearchFile(const SearchKey& key, ByteSource& source, const HitSink& sink);

}  // namespace velkor
