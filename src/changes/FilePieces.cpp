#include "changes/FilePieces.h"

#include "platform/Exceptions.h"
#include "platform/Texts.h"
#include "platform/WholeFile.h"

#include <filesystem>
#include <system_error>

namespace changes {

namespace {

constexpr std::size_t kPieceBytes = std::size_t{64} << 10;

// A read that failed, or a file that grew too large while it was read, in
// the words of the whole read, which meets the same fault.
std::string WholeReadFault(const std::string& path)
{
    try {
        (void)platform::ReadWholeFile(path, regfile::kMaxRegStoreBytes);
    } catch (const platform::CException& e) {
        return e.what();
    }
    return platform::CFileException(path, platform::Text(platform::text::CannotReadFile)).what();
}

} // namespace

std::optional<RegistryFilePieces> RegistryFilePieces::Open(const std::string& path)
{
    // Only a regular file is opened here, so that the open cannot wait on a
    // pipe; anything else is left to the whole read, which refuses it.
    std::error_code error;
    const std::filesystem::path file(path);
    if (!std::filesystem::is_regular_file(file, error) || std::filesystem::file_size(file, error) > regfile::kMaxRegStoreBytes
        || error)
        return std::nullopt;
    std::unique_ptr<std::FILE, Closer> opened(std::fopen(path.c_str(), "rb"));
    if (!opened)
        return std::nullopt;
    RegistryFilePieces pieces(path, std::move(opened));
    char first[3];
    const std::size_t count = std::fread(first, 1, sizeof first, pieces.file_.get());
    if (regfile::StartsWithByteOrderMark(std::string_view(first, count)) || std::fseek(pieces.file_.get(), 0, SEEK_SET) != 0)
        return std::nullopt;
    return pieces;
}

bool RegistryFilePieces::More(std::string& text)
{
    const std::size_t before = text.size();
    while (text.size() == before && !ended_) {
        bytes_.resize(kPieceBytes);
        const std::size_t count = std::fread(bytes_.data(), 1, bytes_.size(), file_.get());
        read_ += count;
        if (std::ferror(file_.get()) != 0 || read_ > regfile::kMaxRegStoreBytes) {
            fault_ = WholeReadFault(path_);
            ended_ = true;
            return false;
        }
        text_.Add(std::string_view(bytes_.data(), count), text);
        if (count < bytes_.size()) {
            text_.End(text);
            ended_ = true;
        }
    }
    return text.size() > before;
}

} // namespace changes
