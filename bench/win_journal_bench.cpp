// The copies of unsaved text against typing, on a 1 MB document (made by
// win_editor_bench make), in one process:
//   win_journal_bench FILE
// prints "copy: <ms>", the time to take the text of the editor and write its
// copy whole (the writer thread's work and the text taken on the window's
// thread), and "typing: <ms>" / "typing while copied: <ms>", the median time
// from a keystroke to the first idle after its paint, without a copy being
// written and while the copy of the same document is written beside it, the
// two taking turns.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "clock.h"
#include "editor/editor_window.h"
#include "editor/recovery_copy.h"
#include "editor/recovery_journal.h"
#include "frame/main_window.h"
#include "state/settings.h"
#include "platform/files.h"

using namespace velkor;

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: win_journal_bench FILE\n");
    return 2;
  }
  const std::wstring doc = argv[1];
  const std::wstring folder = doc.substr(0, doc.find_last_of(L'\\') + 1);
  const std::wstring settings = folder + L"Velkor.INI";
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  SetSettingsFilePathForTesting(settings);
  double copy_ms = 0;
  std::vector<double> bare, copied;
  {
    MainWindow frame{{}};
    frame.CreateForm();
    frame.ShowForStartup(SW_SHOWNORMAL);
    bench::PumpUntilIdle();
    EditorWindow* e = frame.OpenDocument(doc, doc, 0, true);
    bench::PumpUntilIdle();

    // The copy's cost: the text taken on this thread, encoded and written whole.
    const std::wstring path = RecoveryFolderFor(settings) + L"\\bench.copy";
    CreateDirectoryW(RecoveryFolderFor(settings).c_str(), nullptr);
    std::vector<double> writes;
    RecoveryCopy copy;
    for (int i = 0; i < 5; ++i) {
      const double t0 = bench::Now();
      copy.path = doc;
      copy.text = e->memo().Text();
      ReplaceFileContents(path, EncodeRecoveryCopy(copy));
      writes.push_back(bench::Now() - t0);
    }
    DeleteFileW(path.c_str());
    copy_ms = Median(writes) * 1000;

    // Keystrokes, in turns without and with a copy being written meanwhile.
    RecoveryJournal& journal = *frame.journal();
    const int key = journal.NewKey();
    e->memo().SetSel(e->memo().TextLength() / 2, 0);
    for (int i = 0; i < 60; ++i) {
      const bool with_copy = i % 2 == 1;
      if (with_copy) journal.Write(key, copy);
      const double t0 = bench::Now();
      SendMessageW(e->memo().hwnd(), WM_CHAR, L'a' + i % 26, 1);
      UpdateWindow(e->memo().hwnd());
      bench::PumpUntilIdle();
      (with_copy ? copied : bare).push_back(bench::Now() - t0);
      if (with_copy) Sleep(100);  // lets that write end before the next turn
    }
    e->memo().SetModified(false);
    DestroyWindow(frame.hwnd());
  }
  DeleteFileW(settings.c_str());
  std::printf("copy: %.1f\ntyping: %.2f\ntyping while copied: %.2f\n", copy_ms, Median(bare) * 1000,
              Median(copied) * 1000);
  return 0;
}
