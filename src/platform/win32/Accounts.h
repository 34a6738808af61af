#pragma once
// Whose settings the program changes: the functions below
// HKEY_CURRENT_USER belong to the account the program runs as, which is not
// always the one signed in to the desktop (a standard user who typed an
// administrator's password into "Run as administrator" runs it as that
// administrator).
#include <optional>
#include <string>

namespace platform::win32 {

struct AccountPair {
    std::string program; // DOMAIN\name of this process's account
    std::string desktop; // DOMAIN\name of the account that owns the desktop's shell
};

// Both accounts when the program runs as another account than the one
// signed in to the desktop; nothing when they are the same, and nothing when
// either cannot be told (no shell running, a token that cannot be read).
std::optional<AccountPair> OtherThanDesktopAccount();

} // namespace platform::win32
