#include "text/LargePages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace trellane {

void PreferLargePages(void* start, std::size_t size) noexcept {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::size_t HugePage = std::size_t{2} << 20;
  if (size < 2 * HugePage)
    return;
  // Every page the buffer spans, not only the huge pages inside it: a large
  // block is a mapping of its own, and advising part of it splits it in
  // two, which realloc's mremap refuses (it then copies).
  static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto first = reinterpret_cast<std::uintptr_t>(start);
  const std::uintptr_t begin = first & ~(page - 1);
  const std::uintptr_t end = (first + size + page - 1) & ~(page - 1);
  madvise(static_cast<char*>(start) - (first - begin), end - begin, MADV_HUGEPAGE);
#else
  (void)start;
  (void)size;
#endif
}

}  // namespace trellane
