#pragma once

// Sets the C allocator up for the way Lamello uses memory: every rebuild
// frees and makes again tens of thousands of small objects at once. Call it
// first thing in main().
void tuneAllocator();

// Hands memory the process has freed back to the system; after a large sheet
// is discarded, most of it would otherwise stay with the process.
void releaseFreeMemory();
