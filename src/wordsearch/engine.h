#pragma once
// The per-file line scan of the word search: finds the lines of one file that
// contain the keyword and hands each one (line number and text) to a sink.
// Works on code page 932 bytes; the file comes through a ByteSource, so the
// same scan serves files (ReadFile) and memory.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velkor {

// Sequential bytes of one file. Read returns up to max bytes, 0 at the end of
// the data, and throws when reading fails. A short count before the end is
// allowed: the scanner asks again until its request is filled.
struct ByteSource {
  virtual ~ByteSource() = default;
  virtual int Read(unsigned char* dst, int max) = 0;
  // Back to the first byte; false when the source cannot go back.
  virtual bool Rewind() { return false; }
  // The scanner's word, before each refill, that the lines before `line`
  // give no further hit: what the source keeps for them may go.
  virtual void LinesDone(long long /*line*/) {}
};

// A ByteSource over bytes held in memory (not owned).
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view data) : data_(data) {}
  int Read(unsigned char* dst, int max) override;
  bool Rewind() override {
    pos_ = 0;
    return true;
  }

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

// Scans files one after the other with one read window of 16,384 bytes. The
// scan of a full window stops at 15,872 and the window slides: its last 512
// bytes, not scanned yet, move to its start and the next 15,872 bytes of the
// file are read behind them. A line may run through any number of windows;
// what a hit needs of its part in earlier windows (its first 255 bytes, the
// byte before the keyword, where its characters start) goes along. At most
// one hit is reported per line, and only where the keyword starts on a
// character of the line. A keyword longer than the 512 bytes kept widens the
// part kept, and the window, to its length.
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

  bool case_sensitive() const { return case_sensitive_; }

 private:
  struct Cursor;

  bool KeyAt(std::size_t pos, std::size_t count) const;
  bool CharStart(Cursor& at, std::size_t pos) const;
  bool TakeHit(Cursor& at, std::size_t pos) const;
  bool Candidate(Cursor& at, std::size_t pos, const HitSink& sink) const;
  bool ScanChunks(const HitSink& sink, Cursor& at, std::size_t i, std::size_t end) const;
  bool ScanBlocks(const HitSink& sink, Cursor& at, std::size_t from, std::size_t to) const;
  void Slide(ByteSource& source, Cursor& at);

  std::string match_key_;
  bool case_sensitive_;
  bool class_check_;
  bool searchable_ = false;
  // Both cases of the first and second keyword bytes (the same byte twice
  // where case does not count).
  unsigned char first_forms_[2] = {0, 0};
  unsigned char second_forms_[2] = {0, 0};
  std::size_t window_size_;  // kRefillFrom and the part kept
  std::vector<unsigned char> storage_;
  unsigned char* window_;  // in storage_, 64-byte aligned
};

// One file, one scanner: the engine's SearchFile over an open source.
ScanEnd SearchFile(const SearchKey& key, ByteSource& source, const HitSink& sink);

}  // namespace velkor
