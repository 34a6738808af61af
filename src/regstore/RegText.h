#pragma once
// The bytes of one version of a text that the store reads: held in memory (a
// file being imported, a text just written), or in the store's file, kept
// open and read a piece at a time when something needs it, so that a large
// store costs its index in memory and not its bytes. Writers replace the
// store's file by rename, so the open file keeps the bytes it was indexed
// with; one that was changed in place all the same is found out by its size.
#include "platform/posix/UniqueFd.h"
#include "platform/Result.h"
#include "regfile/RegFile.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace regstore {

class RegText {
public:
    static RegText Held(std::string text, std::string fileName, regfile::RegFileFormat format = regfile::RegFileFormat::Store);
    // `size` is the file's size when it was opened.
    static RegText InFile(platform::UniqueFd file, std::size_t size, std::string fileName);

    // The same bytes held in memory, read from the file at once.
    platform::Result<RegText, regfile::RegFileError> Whole() const;

    bool InMemory() const { return !file_.Valid(); }
    std::size_t Size() const { return size_; }
    const std::string& FileName() const { return fileName_; }
    regfile::RegFileFormat Format() const { return format_; }

    // The bytes from `at` to `end`: a view of the held text, or of `buffer`
    // read from the file. A file that cannot be read fails with line 0.
    platform::Result<std::string_view, regfile::RegFileError> Read(std::size_t at, std::size_t end, std::string& buffer) const;

    // The whole text in pieces from the start, each but the last ending after
    // a line end: `piece(bytes, offset)`. Its first failure ends the reading.
    using Piece = std::function<platform::Result<void, regfile::RegFileError>(std::string_view bytes, std::size_t offset)>;
    platform::Result<void, regfile::RegFileError> ForEachPiece(const Piece& piece) const;

    // The number of the line that holds the byte at `offset`, as the parser
    // counts lines; an error's line, so it is counted only when needed.
    int LineAt(std::size_t offset) const;

private:
    RegText(std::string held, platform::UniqueFd file, std::size_t size, std::string fileName, regfile::RegFileFormat format);

    std::string held_;
    platform::UniqueFd file_;
    std::size_t size_ = 0;
    std::string fileName_;
    regfile::RegFileFormat format_ = regfile::RegFileFormat::Store;
};

} // namespace regstore
