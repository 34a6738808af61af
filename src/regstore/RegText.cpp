#include "regstore/RegText.h"

#include "regstore/Texts.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace tk {

namespace {

// Large enough that reading costs little more than the bytes, small enough
// that a large store never needs much memory at once: a piece's buffer is
// fresh memory, each page of it a fault on first touch.
constexpr std::size_t kPieceBytes = std::size_t{64} << 10;

} // namespace

RegText::RegText(std::string held, UniqueFd file, std::size_t size, std::string fileName, RegFileFormat format)
    : held_(std::move(held)), file_(std::move(file)), size_(size), fileName_(std::move(fileName)), format_(format)
{
}

RegText RegText::Held(std::string text, std::string fileName, RegFileFormat format)
{
    const std::size_t size = text.size();
    return RegText(std::move(text), UniqueFd(), size, std::move(fileName), format);
}

RegText RegText::InFile(UniqueFd file, std::size_t size, std::string fileName)
{
    return RegText({}, std::move(file), size, std::move(fileName), RegFileFormat::Store);
}

Result<std::string_view, RegFileError> RegText::Read(std::size_t at, std::size_t end, std::string& buffer) const
{
    if (!file_.Valid())
        return std::string_view(held_).substr(at, end - at);
    buffer.resize(end - at);
    for (std::size_t done = 0; done < buffer.size();) {
        const ssize_t count = ::pread(file_.Get(), buffer.data() + done, buffer.size() - done,
                                      static_cast<off_t>(at + done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return RegFileError{fileName_, 0, tk::Text(text::StoreCannotBeRead, {std::strerror(errno)})};
        if (count == 0)
            return RegFileError{fileName_, 0, tk::Text(text::StoreChangedInPlace)};
        done += static_cast<std::size_t>(count);
    }
    return std::string_view(buffer);
}

Result<void, RegFileError> RegText::ForEachPiece(const Piece& piece) const
{
    if (!file_.Valid())
        return piece(held_, 0);
    std::string buffer;
    std::size_t pieceBytes = kPieceBytes;
    for (std::size_t at = 0; at < size_;) {
        const std::size_t end = std::min(size_, at + pieceBytes);
        auto bytes = Read(at, end, buffer);
        if (!bytes)
            return bytes.Error();
        std::string_view view = bytes.Value();
        if (end < size_) {
            const std::size_t lastLineEnd = view.rfind('\n');
            // A line longer than a piece: the piece grows to hold it.
            if (lastLineEnd == std::string_view::npos) {
                pieceBytes *= 2;
                continue;
            }
            view = view.substr(0, lastLineEnd + 1);
        }
        if (auto taken = piece(view, at); !taken)
            return taken;
        at += view.size();
    }
    return {};
}

Result<RegText, RegFileError> RegText::Whole() const
{
    std::string bytes;
    auto read = Read(0, size_, bytes);
    if (!read)
        return read.Error();
    if (InMemory())
        bytes = read.Value();
    return Held(std::move(bytes), fileName_, format_);
}

int RegText::LineAt(std::size_t offset) const
{
    int line = 1;
    std::string buffer;
    for (std::size_t at = 0; at < offset;) {
        const std::size_t end = std::min(offset, at + kPieceBytes);
        const auto bytes = Read(at, end, buffer);
        if (!bytes)
            break;
        line += static_cast<int>(std::count(bytes.Value().begin(), bytes.Value().end(), '\n'));
        at = end;
    }
    return line;
}

} // namespace tk
