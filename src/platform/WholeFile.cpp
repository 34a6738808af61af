#include "platform/WholeFile.h"

#include "platform/Exceptions.h"
#include "platform/Texts.h"

#include <algorithm>
#include <exception>
#include <memory>

namespace platform::detail {

namespace {

std::string SizeText(std::size_t bytes)
{
    constexpr std::size_t kMegabyte = std::size_t{1} << 20;
    if (bytes >= kMegabyte && bytes % kMegabyte == 0)
        return std::to_string(bytes / kMegabyte) + " MB";
    return std::to_string(bytes) + " bytes";
}

[[noreturn]] void ThrowTooLarge(const std::string& path, std::size_t limit)
{
    throw CFileException(path, Text(text::TooLarge, {SizeText(limit)}));
}

} // namespace

bool ReadAtMost(std::size_t sizeHint, std::size_t limit, const ReadSome& read, std::string& content)
{
    // One byte more than expected is asked for, so that the end shows at once.
    std::size_t room = std::min(sizeHint, limit) + 1;
    std::size_t used = 0;
    bool failed = false;
    bool ended = false;
    std::exception_ptr fault;
    // The bytes are read straight into the string's room, never filled with
    // zeros first: for a file of megabytes that fill costs as much as the
    // read. The operation may not throw, so a fault of `read` waits outside.
    const auto fill = [&](char* bytes, std::size_t size) {
        try {
            while (used < size) {
                const std::optional<std::size_t> count = read(bytes + used, size - used);
                if (!count) {
                    failed = true;
                    break;
                }
                if (*count == 0) {
                    ended = true;
                    break;
                }
                used += *count;
            }
        } catch (...) {
            fault = std::current_exception();
        }
        return used;
    };
    for (;;) {
#if defined(__cpp_lib_string_resize_and_overwrite)
        content.resize_and_overwrite(room, fill);
#else
        content.resize(room);
        content.resize(fill(content.data(), room));
#endif
        if (fault)
            std::rethrow_exception(fault);
        if (failed)
            return false;
        if (ended || used > limit)
            return true;
        room = std::min(std::max(2 * used, std::size_t{65536}), limit + 1);
    }
}

std::string ReadUpToLimit(const std::string& path, std::size_t limit, std::uint64_t reportedSize,
                          const ReadSome& read)
{
    if (reportedSize > limit)
        ThrowTooLarge(path, limit);
    // The size is only where reading starts: a file may grow while it is read,
    // and some report no size at all, so the limit holds for what is read.
    std::string content;
    if (!ReadAtMost(static_cast<std::size_t>(reportedSize), limit, read, content))
        throw CFileException(path, Text(text::CannotReadFile));
    if (content.size() > limit)
        ThrowTooLarge(path, limit);
    return content;
}

ReadPart LimitedRead(const std::string& path, std::size_t limit, std::uint64_t reportedSize, const ReadSome& read)
{
    if (reportedSize > limit)
        ThrowTooLarge(path, limit);
    return [&read, path, limit, total = std::size_t{0}](char* buffer, std::size_t size) mutable {
        const std::optional<std::size_t> count = read(buffer, size);
        if (!count)
            throw CFileException(path, Text(text::CannotReadFile));
        total += *count;
        if (total > limit)
            ThrowTooLarge(path, limit);
        return *count;
    };
}

void ReadPieces(const ReadPart& read, std::size_t pieceBytes, const TakePiece& take)
{
    // One buffer, reused: its pages are touched once, however large the file.
    std::unique_ptr<char[]> buffer(new char[pieceBytes]);
    std::size_t kept = 0; // a line begun in the piece before
    for (;;) {
        if (kept == pieceBytes) {
            std::unique_ptr<char[]> larger(new char[2 * pieceBytes]);
            std::copy_n(buffer.get(), kept, larger.get());
            buffer = std::move(larger);
            pieceBytes *= 2;
        }
        const std::size_t count = read(buffer.get() + kept, pieceBytes - kept);
        if (count == 0) {
            if (kept > 0)
                take(std::string_view(buffer.get(), kept));
            return;
        }
        const std::string_view filled(buffer.get(), kept + count);
        const std::size_t lineFeed = filled.rfind('\n');
        if (lineFeed == std::string_view::npos) {
            kept = filled.size();
            continue;
        }
        if (!take(filled.substr(0, lineFeed + 1)))
            return;
        kept = filled.size() - lineFeed - 1;
        std::copy(filled.begin() + static_cast<std::ptrdiff_t>(lineFeed) + 1, filled.end(), buffer.get());
    }
}

} // namespace platform::detail

namespace platform {

namespace {

// Large enough that reading costs little more than the bytes: passing over
// the other seven languages of a 1.7 MB translation in pieces of 64 KB took
// a tenth longer than reading the file whole, in these 13 pieces a tenth
// less; and small enough that a new process touches few fresh pages for it.
constexpr std::size_t kPieceBytes = std::size_t{128} << 10;

} // namespace

std::string ReadWholeFile(const std::string& path, std::size_t limit)
{
    std::string content;
    detail::WithRegularFile(path, [&](std::uint64_t reportedSize, const detail::ReadSome& read) {
        content = detail::ReadUpToLimit(path, limit, reportedSize, read);
    });
    return content;
}

void ReadFileAsItGoes(const std::string& path, std::size_t limit, const std::function<void(const ReadPart& read)>& use)
{
    detail::WithRegularFile(path, [&](std::uint64_t reportedSize, const detail::ReadSome& read) {
        use(detail::LimitedRead(path, limit, reportedSize, read));
    });
}

void ReadFileInPieces(const std::string& path, std::size_t limit, const TakePiece& take)
{
    ReadFileAsItGoes(path, limit, [&](const ReadPart& read) { detail::ReadPieces(read, kPieceBytes, take); });
}

} // namespace platform
