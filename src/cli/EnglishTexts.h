#pragma once
// The installation's English texts, the [1033] section of its translation
// file, whatever language the installation shows: the switch captions that a
// script may give in English, and the names in a profile's comment lines,
// which read the same on every machine of a fleet.
#include "util/PowerClass.h"

#include <optional>
#include <string>
#include <unordered_map>

namespace cli {

class EnglishTexts {
public:
    // The translation file of the installation that `power` lies in, read on
    // the first Find: most commands never ask, and the file is large. No
    // config.ini, an unreadable file or one without the section gives no
    // texts: a folder with the program and a profile alone is an
    // installation too.
    explicit EnglishTexts(const util::PowerClass& power) : power_(power) {}

    std::optional<std::string> Find(int key) const;

private:
    const std::unordered_map<int, std::string>& Texts() const;

    util::PowerClass power_;
    mutable std::optional<std::unordered_map<int, std::string>> texts_;
};

} // namespace cli
