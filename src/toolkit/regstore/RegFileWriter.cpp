#include "toolkit/regstore/RegFile.h"

#include "toolkit/regstore/RegValueLine.h"
#include "toolkit/regstore/RegistryTree.h"

#include <vector>

namespace tk {

namespace {

void AppendLines(std::string& out, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) {
        out += line;
        out += "\r\n";
    }
}

} // namespace

std::string SerialiseRegFile(const RegistryTree& tree)
{
    std::string out = "REGEDIT4\r\n";
    tree.ForEachKey([&out](RegRoot root, const std::string& path, const RegistryTree::KeyView& key) {
        if (path.empty() && key.values.empty() && key.comments.empty())
            return;
        out += "\r\n";
        AppendLines(out, key.comments);
        out += '[';
        out += RootName(root);
        if (!path.empty()) {
            out += '\\';
            out += path;
        }
        out += "]\r\n";
        for (const auto& [name, value] : key.values) {
            if (const auto comments = key.valueComments.find(name); comments != key.valueComments.end())
                AppendLines(out, comments->second);
            AppendValueLine(out, name, value);
            out += "\r\n";
        }
    });
    if (!tree.ClosingComments().empty()) {
        out += "\r\n";
        AppendLines(out, tree.ClosingComments());
    }
    return out;
}

} // namespace tk
