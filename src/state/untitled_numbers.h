#pragma once
// The numbers of the editor windows made by New. Each new window takes the
// number after the newest; the newest number is given back for reuse when
// its window is closed from the menu, so two windows never share a number.

namespace velkor {

class UntitledNumbers {
 public:
  // The newest number given, 0 before the first.
  int Newest() const { return newest_; }
  int Next() { return ++newest_; }
  // Only the newest number comes back; 0, a window without a number, never does.
  void GiveBack(int number) {
    if (number != 0 && number == newest_) --newest_;
  }

 private:
  int newest_ = 0;
};

}  // namespace velkor
