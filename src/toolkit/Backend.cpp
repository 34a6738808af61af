#include "toolkit/Backend.h"

#include "platform/Exceptions.h"
#include "platform/WholeFile.h"
#include "toolkit/Texts.h"

#include <iostream>

namespace toolkit {

namespace {

IBackend*& BackendSlot()
{
    static IBackend* backend = nullptr;
    return backend;
}

} // namespace

void ReportError(const std::string& text)
{
    if (IBackend* backend = BackendSlot())
        backend->ReportError(text);
    else
        std::cerr << text << '\n';
}

IBackend& CurrentBackend()
{
    if (!BackendSlot())
        throw platform::CException("no toolkit backend is installed");
    return *BackendSlot();
}

void SetBackend(IBackend* backend)
{
    BackendSlot() = backend;
}

platform::Result<std::string, HelpFileFault> ReadHelpFile(const std::string& path)
{
    // More than any help; a larger file is no help file of ours.
    constexpr std::size_t kLargestHelp = 64u << 20;
    try {
        return platform::ReadWholeFile(path, kLargestHelp);
    } catch (const platform::CFileException& e) {
        return HelpFileFault{platform::Text(text::HelpCannotBeShown, {path, e.Cause()})};
    }
}

ScopedBackend::ScopedBackend(IBackend& backend) : previous_(BackendSlot())
{
    BackendSlot() = &backend;
}

ScopedBackend::~ScopedBackend()
{
    BackendSlot() = previous_;
}

} // namespace toolkit
