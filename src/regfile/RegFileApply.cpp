#include "regfile/RegFile.h"

#include "platform/RegNames.h"

#include <algorithm>

namespace regfile {

platform::RegResult ApplyRegFile(const RegFileDocument& document, RegEditTarget& target, RegFileComments comments)
{
    const auto& sections = document.sections;
    if (std::any_of(sections.begin(), sections.end(),
                    [](const RegFileSection& section) { return !platform::SplitKeyPath(section.subKey); }))
        return platform::RegError::BadKeyPath;
    const bool keep = comments == RegFileComments::Keep;
    // With every sub-key valid, creating keys and setting values cannot fail,
    // and removing what is not there is no error here.
    for (const RegFileSection& section : sections) {
        if (section.deleteKey) {
            static_cast<void>(target.DeleteKey(section.root, section.subKey));
            continue;
        }
        static_cast<void>(target.CreateKey(section.root, section.subKey));
        if (keep)
            target.AddKeyComments(section.root, section.subKey, section.comments);
        for (const RegFileValueLine& line : section.values) {
            if (!line.value) {
                static_cast<void>(target.DeleteValue(section.root, section.subKey, line.name));
                continue;
            }
            static_cast<void>(target.SetValue(section.root, section.subKey, line.name, *line.value));
            if (keep)
                target.AddValueComments(section.root, section.subKey, line.name, line.comments);
        }
    }
    if (keep)
        target.AddClosingComments(document.closingComments);
    return {};
}

} // namespace regfile
