#pragma once
// How a program that reads its data files whole, again and again, uses the
// memory it frees.

namespace platform {

// Keeps freed memory in the process for the next allocation instead of giving
// it back to the system at once: a file of megabytes read again (the
// catalogue for each function shown) then lands in memory that is already
// there, not in fresh pages that each cost a fault. Called once, at the start
// of a program that a user starts and waits for.
void KeepFreedMemory();

} // namespace platform
