#include "util/PowerClass.h"

#include "util/TextFile.h"

namespace util {

bool PowerClass::FileHasLine(const std::string& path, const std::string& line)
{
    // The whole file is read even when the line comes early, so a file that
    // cannot be read to its end is reported rather than half-searched.
    bool found = false;
    ReadTextPieces(path, [&](std::string_view piece) {
        found = found || FindLine(piece, line).has_value();
        return true;
    });
    return found;
}

} // namespace util
