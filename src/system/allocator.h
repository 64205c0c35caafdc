#pragma once

#include <QtGlobal>

// Sets the C allocator up for the way Lamello uses memory: every rebuild
// frees and makes again tens of thousands of small objects at once. Call it
// first thing in main().
void tuneAllocator();

// Hands memory the process has freed back to the system; after a large sheet
// is discarded, most of it would otherwise stay with the process.
void releaseFreeMemory();

// For a run that writes many pages and ends (lamello-batch): every page makes
// and drops buffers of some hundred kilobytes (its drawing, compressed), which
// the allocator would otherwise hand back to the system after each page and
// take again, zeroed, for the next. Kept instead; freed memory is not given
// back until the process ends.
void keepFreedMemory();

// About how many more bytes the process may take before an allocation fails
// or the system runs short: what the system has available now, and no more
// than its address-space limit (RLIMIT_AS) leaves over what it has mapped.
qint64 memoryRoom();
