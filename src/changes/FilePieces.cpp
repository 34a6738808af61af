#include "changes/FilePieces.h"

namespace changes {

namespace {

constexpr std::size_t kPieceBytes = std::size_t{64} << 10;

} // namespace

bool RegistryFilePieces::More(std::string& text)
{
    const std::size_t before = text.size();
    while (text.size() == before && !ended_) {
        bytes_.resize(kPieceBytes);
        const std::size_t count = read_(bytes_.data(), bytes_.size());
        if (!started_) {
            started_ = true;
            if (regfile::StartsWithByteOrderMark(std::string_view(bytes_.data(), count))) {
                byteOrderMark_ = true;
                ended_ = true;
                return false;
            }
        }
        if (count == 0) {
            text_.End(text);
            ended_ = true;
            break;
        }
        text_.Add(std::string_view(bytes_.data(), count), text);
    }
    return text.size() > before;
}

} // namespace changes
