#pragma once
// The values of a registry file that a function of the catalogue names,
// checked as set checks a value for it: the kind's type, and a number within
// its bounds. A profile or a backup that holds another value for such a
// function is refused; values that no function names pass as they are.
#include "cli/Functions.h"
#include "regfile/RegFile.h"

#include <optional>
#include <string>

namespace cli {

struct RefusedValue {
    int line = 0;
    std::string data; // as the value line writes it
    const Function* function = nullptr;
};

// The first value line whose value the function that names it could not
// hold; removing a value ("name"=-) always passes.
std::optional<RefusedValue> FirstRefusedValue(const Functions& functions, const tk::RegFileDocument& document);

} // namespace cli
