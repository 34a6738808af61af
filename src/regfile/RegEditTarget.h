#pragma once
// What a registry file is applied to: a tree in memory. Sub-keys and names as
// in Registry.h.
#include "platform/Registry.h"

#include <string>
#include <string_view>
#include <vector>

namespace regfile {

class RegEditTarget {
public:
    using Comments = std::vector<std::string>;

    virtual ~RegEditTarget() = default;

    // Creates the key and every missing key above it.
    virtual platform::RegResult CreateKey(platform::RegRoot root, std::string_view subKey) = 0;
    // Removes the key with its values and all keys below it; AccessDenied for
    // a root, which cannot be removed.
    virtual platform::RegResult DeleteKey(platform::RegRoot root, std::string_view subKey) = 0;
    virtual platform::RegResult SetValue(platform::RegRoot root, std::string_view subKey, std::string_view name,
                                         const platform::RegValue& value) = 0;
    virtual platform::RegResult DeleteValue(platform::RegRoot root, std::string_view subKey, std::string_view name) = 0;

    // Comment lines, for a target that keeps them; others let them go.
    virtual void AddKeyComments(platform::RegRoot, std::string_view, const Comments&) {}
    virtual void AddValueComments(platform::RegRoot, std::string_view, std::string_view, const Comments&) {}
    virtual void AddClosingComments(const Comments&) {}
};

} // namespace regfile
