#include "unit/NonRegularFiles.h"

std::vector<std::string> NonRegularFiles(const TempAppFolder& app)
{
    return {app.Folder().string(), "NUL"};
}
