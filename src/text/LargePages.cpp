#include "text/LargePages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace trellane {

void PreferLargePages(void* start, std::size_t size) noexcept {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::uintptr_t HugePage = std::uintptr_t{2} << 20;
  if (size < 2 * HugePage)
    return;
  // Only the huge pages wholly inside the buffer.
  const auto first = reinterpret_cast<std::uintptr_t>(start);
  const std::uintptr_t begin = (first + HugePage - 1) & ~(HugePage - 1);
  const std::uintptr_t end = (first + size) & ~(HugePage - 1);
  if (end > begin)
    madvise(static_cast<char*>(start) + (begin - first), end - begin, MADV_HUGEPAGE);
#else
  (void)start;
  (void)size;
#endif
}

}  // namespace trellane
