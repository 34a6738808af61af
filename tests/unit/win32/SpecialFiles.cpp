#include "unit/SpecialFiles.h"

std::vector<std::string> NonRegularFiles(const TempAppFolder& app)
{
    return {app.Folder().string(), "NUL"};
}
