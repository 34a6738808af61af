#include "platform/FreedMemory.h"

namespace platform {

// The Windows heap keeps freed blocks for reuse by itself.
void KeepFreedMemory() {}

} // namespace platform
