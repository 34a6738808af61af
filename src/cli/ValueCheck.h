#pragma once
// The values of a registry file that a function of the catalogue names,
// checked as set checks a value for it: the kind's type, and a number within
// its bounds. A profile or a backup that holds another value for such a
// function is refused; values that no function names pass as they are.
#include "cli/Functions.h"
#include "regfile/RegFile.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace cli {

struct RefusedValue {
    int line = 0;
    std::string data; // as the value line writes it
    const Function* function = nullptr;
};

// The functions that store a value, found by the value's key and name, so
// that a profile's values cost a look-up each, not a comparison with every
// function.
class ValueChecker {
public:
    explicit ValueChecker(const Functions& functions);
    ~ValueChecker();

    // The section's first value line whose value the function that names it
    // could not hold; removing a value ("name"=-) always passes.
    std::optional<RefusedValue> FirstRefused(const regfile::RegFileSection& section) const;

    struct Named; // a function that stores a value

private:
    std::vector<Named> named_;
    // Folded "KEY\0name" to the functions of that value, in the functions' order.
    std::unordered_map<std::string, std::vector<std::size_t>> byValue_;
    std::unordered_set<std::string> keys_; // folded
};

// The same for every section of a document, in order.
std::optional<RefusedValue> FirstRefusedValue(const Functions& functions, const regfile::RegFileDocument& document);

} // namespace cli
