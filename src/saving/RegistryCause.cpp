#include "saving/RegistryCause.h"

#include "saving/Texts.h"

namespace saving {

std::string CauseText(platform::RegError error)
{
    switch (error) {
    case platform::RegError::AccessDenied: return platform::Text(text::CauseAccessDenied);
    case platform::RegError::StoreBroken: return platform::Text(text::CauseCannotRead);
    case platform::RegError::BadKeyPath: return platform::Text(text::CauseNoKey);
    case platform::RegError::KeyNotFound: return platform::Text(text::CauseKeyCannotOpen);
    case platform::RegError::ValueNotFound:
    case platform::RegError::WriteFailed: break;
    }
    return platform::Text(text::CauseRefused);
}

std::string CauseText(const platform::RegFault& fault)
{
    return fault.cause.empty() ? CauseText(fault.error) : fault.cause;
}

} // namespace saving
