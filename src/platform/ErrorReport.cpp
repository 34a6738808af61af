#include "platform/ErrorReport.h"

#include <iostream>

namespace tk {

namespace {

ErrorSink& SinkSlot()
{
    static ErrorSink sink = nullptr;
    return sink;
}

} // namespace

ErrorSink SetErrorSink(ErrorSink sink)
{
    const ErrorSink previous = SinkSlot();
    SinkSlot() = sink;
    return previous;
}

void ReportError(const std::string& text)
{
    if (const ErrorSink sink = SinkSlot())
        sink(text);
    else
        std::cerr << text << '\n';
}

} // namespace tk
