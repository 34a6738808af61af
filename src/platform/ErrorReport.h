#pragma once
// Faults that no caller asked about, such as a registry store found broken
// while nothing but a read was under way: the user must hear of them, yet no
// caller is waiting for them. The user interface installs where they go;
// until it does they go to standard error, so that none is lost.
#include <string>

namespace tk {

using ErrorSink = void (*)(const std::string& text);

// Returns the sink it replaces; null restores standard error.
ErrorSink SetErrorSink(ErrorSink sink);

void ReportError(const std::string& text);

} // namespace tk
