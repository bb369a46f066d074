#pragma once
// The search window over a main window of its own, with directories in a
// fresh folder registered in the test's settings file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/settings.h"
#include "platform/text.h"
#include "support/frame_fixture.h"
#include "wordsearch/search_window.h"

namespace velkor::test {

class SearchWindowTest : public FrameTest {
 protected:
  void TearDown() override {
    if (SearchWindow* form = SearchWindow::Get()) DestroyWindow(form->hwnd());
    PumpFor(10);
    FrameTest::TearDown();
  }

  // Registers directory number n (a path ending with a backslash) and checks it.
  void Register(int n, const std::wstring& dir, bool checked = true) {
    Settings ini(IniPath());
    ini.WriteBool(L"Option", L"No" + std::to_wstring(n), checked);
    ini.WriteString(L"Option", L"No" + std::to_wstring(n) + L"Dir", dir);
  }

  // Starts the main window and opens the search window from it.
  SearchWindow& Open() {
    if (!frame_) StartFrame();
    frame_->ShowSearchWindow();
    PumpFor(20);
    return *SearchWindow::Get();
  }

  // Closes the search window as its close box does.
  void Close(SearchWindow& form) {
    SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    PumpFor(10);
  }

  static void Search(SearchWindow& form, const std::wstring& keyword) {
    SetWindowTextW(form.KeyWordEditB(), keyword.c_str());
    form.StartSearch();
  }

  // The result lines as the list shows them, in code page 932.
  static std::vector<std::string> Lines(SearchWindow& form) {
    std::vector<std::string> lines;
    const int n = static_cast<int>(SendMessageW(form.FileList(), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      const int len = static_cast<int>(SendMessageW(form.FileList(), LB_GETTEXTLEN, i, 0));
      std::wstring text(static_cast<size_t>(len) + 1, L'\0');
      SendMessageW(form.FileList(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
      text.resize(static_cast<size_t>(len));
      lines.push_back(WideToCp932(text).bytes);
    }
    return lines;
  }

  // The line texts (columns 50-159, blanks at the end dropped) of the listed hits.
  static std::vector<std::string> Texts(SearchWindow& form) {
    std::vector<std::string> texts;
    for (const std::string& line : Lines(form)) {
      std::string text = line.size() > 49 ? line.substr(49, 110) : "";
      while (!text.empty() && text.back() == ' ') text.pop_back();
      texts.push_back(text);
    }
    return texts;
  }

  // A directory of the tree, created, as a registered path (with its backslash).
  std::wstring Dir(const std::wstring& name) {
    const std::wstring path = tree_ / name;
    CreateDirectoryW(path.c_str(), nullptr);
    return path + L"\\";
  }

  static std::wstring Cp(const std::string& bytes) { return Cp932ToWide(bytes); }

  TempDir tree_;  // apart from the settings file, which a search would read too
};

}  // namespace velkor::test
