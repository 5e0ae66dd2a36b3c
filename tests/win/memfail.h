// Allocation failures on demand: the program's memory manager takes its
// blocks from calloc and malloc, which this test program replaces by
// forwarders that can refuse a request.
#pragma once
#include <cstddef>

// The next count requests (calloc or malloc) of exactly size bytes fail.
void TU_fail_allocation(size_t size, int count = 1);
// Requests of that size still to fail (0 once all have been met).
int TU_failures_left();
