#include "unit/NonRegularFiles.h"

#include <stdexcept>
#include <sys/stat.h>

std::vector<std::string> NonRegularFiles(const TempAppFolder& app)
{
    const std::string fifo = app.Path("fifo.ini");
    if (::mkfifo(fifo.c_str(), 0600) != 0)
        throw std::runtime_error("cannot make a pipe for the test");
    return {app.Folder().string(), fifo, "/dev/null"};
}
