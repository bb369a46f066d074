#include "launcher/group_thousands.h"

namespace velkor {

std::wstring GroupThousands(int64_t n) {
  // The magnitude is never taken, so the most negative value needs no care;
  // a comma is due for every further power of 1000 that n reaches, and
  // inserting from the right keeps the earlier positions where they were.
  std::wstring s = std::to_wstring(n);
  const std::size_t length = s.size();
  std::size_t k = 3;
  for (int64_t m = n / 1000; m != 0; m /= 1000) {
    s.insert(length - k, 1, L',');
    k += 3;
  }
  return s;
}

}  // namespace velkor
