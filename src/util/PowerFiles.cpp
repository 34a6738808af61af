#include "util/PowerClass.h"

#include "util/TextFile.h"

namespace util {

bool PowerClass::FileHasLine(const std::string& path, const std::string& line)
{
    // The whole file is read even when the line comes early, so a file that
    // cannot be read to its end is reported rather than half-searched.
    return FindLine(ReadTextFile(path), line).has_value();
}

} // namespace util
