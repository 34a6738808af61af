#include "saving/RegistryCause.h"

#include "saving/Texts.h"

std::string CauseText(tk::RegError error)
{
    switch (error) {
    case tk::RegError::AccessDenied: return tk::Text(text::CauseAccessDenied);
    case tk::RegError::StoreBroken: return tk::Text(text::CauseCannotRead);
    case tk::RegError::BadKeyPath: return tk::Text(text::CauseNoKey);
    case tk::RegError::KeyNotFound: return tk::Text(text::CauseKeyCannotOpen);
    case tk::RegError::ValueNotFound:
    case tk::RegError::WriteFailed: break;
    }
    return tk::Text(text::CauseRefused);
}

std::string CauseText(const tk::RegFault& fault)
{
    return fault.cause.empty() ? CauseText(fault.error) : fault.cause;
}
