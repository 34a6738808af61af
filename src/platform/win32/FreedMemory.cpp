#include "platform/FreedMemory.h"

namespace tk {

// The Windows heap keeps freed blocks for reuse by itself.
void KeepFreedMemory() {}

} // namespace tk
