// Large buffers that are filled whole (an image, a file read at once) are
// faulted in a page at a time, and on a virtual machine each fault is dear.
// Where the system gives transparent huge pages on request (Linux), asking
// for them before the first touch makes one fault bring in 2 MB instead of
// 4 KB. Elsewhere, and for buffers under 4 MB, nothing is asked.
#pragma once

#include <cstddef>

namespace trellane {

// Advice only: the buffer is the same whether the system follows it or not.
void PreferLargePages(void* start, std::size_t size) noexcept;

}  // namespace trellane
