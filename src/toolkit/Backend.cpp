#include "toolkit/Backend.h"

#include "toolkit/Exceptions.h"

#include <iostream>

namespace tk {

namespace {

IBackend*& BackendSlot()
{
    static IBackend* backend = nullptr;
    return backend;
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
    BackendSlot() = backend;
}

ScopedBackend::ScopedBackend(IBackend& backend) : previous_(BackendSlot())
{
    BackendSlot() = &backend;
}

ScopedBackend::~ScopedBackend()
{
    BackendSlot() = previous_;
}

void ReportError(const std::string& text)
{
    if (IBackend* backend = BackendSlot())
        backend->ReportError(text);
    else
        std::cerr << text << '\n';
}

} // namespace tk
