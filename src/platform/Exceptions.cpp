#include "platform/Exceptions.h"

#include <cerrno>
#include <cstring>

namespace platform {

CFileException::CFileException(std::string path, std::string cause)
    : CException("\"" + path + "\": " + cause), path_(std::move(path)), cause_(std::move(cause))
{
}

void CFileException::ThrowErrno(const std::string& path, const std::string& action)
{
    const int err = errno;
    throw CFileException(path, action + " (" + std::strerror(err) + ")");
}

} // namespace platform
