#pragma once

// Sets how the C library reuses freed memory, once, before the program reads anything. A
// result of a year of salaries passes through a few hundred megabytes of small blocks (the
// server's answer as libpq holds it, the rows as they are read) that are freed as soon as the
// open result is made. Left to itself, the C library hands that memory back to the system and
// raises its thresholds as it sees large blocks come and go, so the next query maps and faults
// it all in again, page by page, and how fast a query is depends on which ran before it. Kept
// for reuse up to a fixed size, the next query finds it ready; the peak the process reaches is
// the same either way.
void keepFreedMemoryForReuse();
