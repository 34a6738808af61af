#pragma once
// A registry file read a piece at a time, so that applying a large profile
// never holds its bytes whole.
#include "platform/Result.h"
#include "regfile/RegFile.h"
#include "regfile/RegFileBytes.h"

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace changes {

// The text of a registry file in Windows-1252 as RegFileTextOf makes it,
// read from the file a piece at a time. Open gives none for a file that is
// not read this way: one that starts with a byte-order mark, or that the
// reading cannot open as a regular file within the size a registry file may
// have; platform::ReadWholeFile reads that one, or words its fault.
class RegistryFilePieces final : public regfile::RegTextSource {
public:
    static std::optional<RegistryFilePieces> Open(const std::string& path);

    bool More(std::string& text) override;
    // Why the reading ended before the end of the file.
    const std::optional<std::string>& Fault() const { return fault_; }

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    RegistryFilePieces(std::string path, std::unique_ptr<std::FILE, Closer> file)
        : path_(std::move(path)), file_(std::move(file))
    {
    }

    std::string path_;
    std::unique_ptr<std::FILE, Closer> file_;
    regfile::RegFileTextPieces text_;
    std::string bytes_;
    std::size_t read_ = 0;
    bool ended_ = false;
    std::optional<std::string> fault_;
};

} // namespace changes
