// The settings store against the platform's private-profile service, on one
// file of 200 document sections with the ten keys an editor window writes.
// Both sides run in alternating rounds of 100 operations on the same file, so
// that a slower or faster stretch of the machine falls on both; much shorter
// rounds would measure two writers taking turns on one file, which slows
// both and happens nowhere in use.
#include <cstdio>
#include <string>
#include <vector>

#include "clock.h"
#include "state/settings.h"
#include "platform/text.h"
#include "platform/win32.h"

using namespace velkor;

namespace {

constexpr int kSections = 200;
constexpr int kOps = 1000;
constexpr int kRounds = 10;
const wchar_t* const kKeys[] = {L"File",           L"Width", L"Height", L"EditFormWidth", L"EditFormHeight",
                                L"Name",           L"Size",  L"Color",  L"Style",         L"WordWrap"};

std::wstring Section(int i) { return L"C:\\Users\\velkor\\Documents\\メモ\\memo" + std::to_wstring(i) + L".txt"; }

std::string SampleFile() {
  std::wstring text;
  for (int i = 0; i < kSections; ++i) {
    const std::wstring s = Section(i);
    text += L"[" + s + L"]\r\nFile=" + s + L"\r\nWidth=548\r\nHeight=322\r\nEditFormWidth=560\r\n"
            L"EditFormHeight=350\r\nName=ＭＳ ゴシック\r\nSize=10\r\nColor=-2147483640\r\nStyle=0\r\n"
            L"WordWrap=0\r\n";
  }
  return WideToCp932(text).bytes;
}

void Write(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD n = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(h);
}

// Milliseconds.
double Now() { return bench::Now() * 1000.0; }

struct Op {
  std::wstring section;
  const wchar_t* key;
  std::wstring value;
};

std::vector<Op> Ops() {
  std::vector<Op> ops;
  for (int i = 0; i < kOps; ++i)
    ops.push_back({Section((i * 37) % kSections), kKeys[i % 10], std::to_wstring(1000 + i)});
  return ops;
}

template <typename Ours, typename Platform>
void Compare(const char* what, const std::vector<Op>& ops, Ours ours, Platform platform) {
  double ours_ms = 0, platform_ms = 0;
  const int per_round = kOps / kRounds;
  for (int r = 0; r < kRounds; ++r) {
    double t = Now();
    for (int i = r * per_round; i < (r + 1) * per_round; ++i) ours(ops[i]);
    ours_ms += Now() - t;
    t = Now();
    for (int i = r * per_round; i < (r + 1) * per_round; ++i) platform(ops[i]);
    platform_ms += Now() - t;
  }
  std::printf("settings %s: %.3f ms/op  anchor (platform) %.3f ms/op  ratio %.2f\n", what, ours_ms / kOps,
              platform_ms / kOps, ours_ms / platform_ms);
}

}  // namespace

int main() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring dir = std::wstring(temp) + L"velkor-settings-bench-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::wstring path = dir + L"\\Velkor.INI";
  Write(path, SampleFile());
  const std::vector<Op> ops = Ops();

  // Both sides must read the same values, or the figures mean nothing.
  for (int i = 0; i < 20; ++i) {
    wchar_t buf[1024];
    const DWORD n = GetPrivateProfileStringW(ops[i].section.c_str(), ops[i].key, L"", buf, 1024, path.c_str());
    if (Settings(path).ReadString(ops[i].section, ops[i].key, L"") != std::wstring(buf, n)) {
      std::printf("settings: the store and the platform read different values\n");
      return 1;
    }
  }

  std::size_t sink = 0;
  Compare(
      "read", ops, [&](const Op& op) { sink += Settings(path).ReadString(op.section, op.key, L"").size(); },
      [&](const Op& op) {
        wchar_t buf[1024];
        sink += GetPrivateProfileStringW(op.section.c_str(), op.key, L"", buf, 1024, path.c_str());
      });
  Compare(
      "write", ops, [&](const Op& op) { Settings(path).WriteString(op.section, op.key, op.value); },
      [&](const Op& op) {
        // A value of its own, so that every write changes the file on both sides.
        const std::wstring value = op.value + L"p";
        WritePrivateProfileStringW(op.section.c_str(), op.key, value.c_str(), path.c_str());
      });

  DeleteFileW(path.c_str());
  RemoveDirectoryW(dir.c_str());
  return sink == 0 ? 1 : 0;
}
