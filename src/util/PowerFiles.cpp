#include "util/PowerClass.h"

#include "util/TextFile.h"

#include <algorithm>

bool PowerClass::FileHasLine(const std::string& path, const std::string& line)
{
    // The whole file is read even after a match, so a file that cannot be read
    // to its end is reported rather than half-searched.
    const std::vector<std::string> lines = ReadTextLines(path);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
