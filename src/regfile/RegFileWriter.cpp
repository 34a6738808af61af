#include "regfile/RegFile.h"

#include "regfile/RegValueLine.h"
#include "regfile/RegistryTree.h"

#include <vector>

namespace regfile {

void AppendRegLines(std::string& out, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) {
        out += line;
        out += "\r\n";
    }
}

void AppendRegKeyLine(std::string& out, platform::RegRoot root, std::string_view path)
{
    out += '[';
    out += platform::RootName(root);
    if (!path.empty()) {
        out += '\\';
        out += path;
    }
    out += "]\r\n";
}

void AppendRegValueLine(std::string& out, std::string_view name, const platform::RegValue& value)
{
    AppendValueLine(out, name, value);
    out += "\r\n";
}

std::string SerialiseRegFile(const RegistryTree& tree)
{
    std::string out = "REGEDIT4\r\n";
    tree.ForEachKey([&out](platform::RegRoot root, const std::string& path, const RegistryTree::KeyView& key) {
        if (path.empty() && key.values.empty() && key.comments.empty())
            return;
        out += "\r\n";
        AppendRegLines(out, key.comments);
        AppendRegKeyLine(out, root, path);
        for (const auto& [name, value] : key.values) {
            if (const auto comments = key.valueComments.find(name); comments != key.valueComments.end())
                AppendRegLines(out, comments->second);
            AppendRegValueLine(out, name, value);
        }
    });
    if (!tree.ClosingComments().empty()) {
        out += "\r\n";
        AppendRegLines(out, tree.ClosingComments());
    }
    return out;
}

} // namespace regfile
