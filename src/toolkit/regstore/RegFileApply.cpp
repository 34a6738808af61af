#include "toolkit/regstore/RegFile.h"

#include "toolkit/regstore/RegistryTree.h"

namespace tk {

void ApplyRegFile(const RegFileDocument& document, RegistryTree& tree)
{
    for (const RegFileSection& section : document.sections) {
        if (section.deleteKey) {
            tree.DeleteKey(section.root, section.subKey);
            continue;
        }
        tree.CreateKey(section.root, section.subKey);
        for (const RegFileValueLine& line : section.values) {
            if (line.value)
                tree.SetValue(section.root, section.subKey, line.name, *line.value);
            else
                tree.DeleteValue(section.root, section.subKey, line.name);
        }
    }
}

} // namespace tk
