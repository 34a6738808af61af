#pragma once
// A registry file read a piece at a time, so that applying a large profile
// never holds its bytes whole.
#include "platform/WholeFile.h"
#include "regfile/RegFile.h"
#include "regfile/RegFileBytes.h"

#include <string>

namespace changes {

// The text of a registry file in Windows-1252 as RegFileTextOf makes it,
// from a read of the open file (platform::ReadFileAsItGoes), a piece at a
// time. A file that starts with a byte-order mark is not read this way: its
// text ends at once, and ByteOrderMark tells the caller to read it whole.
class RegistryFilePieces final : public regfile::RegTextSource {
public:
    explicit RegistryFilePieces(const platform::ReadPart& read) : read_(read) {}

    // Throws as the read does.
    bool More(std::string& text) override;
    bool ByteOrderMark() const { return byteOrderMark_; }

private:
    const platform::ReadPart& read_;
    regfile::RegFileTextPieces text_;
    std::string bytes_;
    bool started_ = false;
    bool ended_ = false;
    bool byteOrderMark_ = false;
};

} // namespace changes
