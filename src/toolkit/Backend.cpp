#include "toolkit/Backend.h"

#include "platform/Exceptions.h"

#include <iostream>

namespace tk {

namespace {

IBackend*& BackendSlot()
{
    static IBackend* backend = nullptr;
    return backend;
}

void ToInstalledBackend(const std::string& text)
{
    if (IBackend* backend = BackendSlot())
        backend->ReportError(text);
    else
        std::cerr << text << '\n';
}

void Install(IBackend* backend)
{
    BackendSlot() = backend;
    SetErrorSink(&ToInstalledBackend);
}

} // namespace

IBackend& CurrentBackend()
{
    if (!BackendSlot())
        throw CException("no toolkit backend is installed");
    return *BackendSlot();
}

void SetBackend(IBackend* backend)
{
    Install(backend);
}

ScopedBackend::ScopedBackend(IBackend& backend) : previous_(BackendSlot())
{
    Install(&backend);
}

ScopedBackend::~ScopedBackend()
{
    Install(previous_);
}

} // namespace tk
