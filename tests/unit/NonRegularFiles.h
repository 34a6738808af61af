#pragma once
// Paths that name no regular file, as each platform has them: the test
// folder itself, and the platform's devices and pipes.
#include "unit/TempAppFolder.h"

#include <string>
#include <vector>

std::vector<std::string> NonRegularFiles(const TempAppFolder& app);
