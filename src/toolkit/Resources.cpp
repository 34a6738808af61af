#include "platform/Exceptions.h"
#include "toolkit/Resources.h"

namespace toolkit {

const ControlTemplate* DialogTemplate::Find(int controlId) const
{
    for (const auto& c : controls)
        if (c.id == controlId)
            return &c;
    return nullptr;
}

const ResourceScript& ProgramResources()
{
    static const ResourceScript script =
        ParseResourceScript(EmbeddedResourceScript(), "tunewright.rc", ParseResourceSymbols(EmbeddedResourceHeader()));
    return script;
}

const DialogTemplate& GetDialogTemplate(int id)
{
    for (const auto& d : ProgramResources().dialogs)
        if (d.id == id)
            return d;
    throw platform::CException("dialog template " + std::to_string(id) + " is missing from the resources");
}

const MenuTemplate& GetMenuTemplate(int id)
{
    for (const auto& m : ProgramResources().menus)
        if (m.id == id)
            return m;
    throw platform::CException("menu " + std::to_string(id) + " is missing from the resources");
}

std::string LoadResourceString(int id)
{
    for (const auto& [sid, text] : ProgramResources().strings)
        if (sid == id)
            return text;
    return {};
}

std::optional<std::string> BitmapFileName(int id)
{
    for (const auto& [bid, file] : ProgramResources().bitmaps)
        if (bid == id)
            return file;
    return std::nullopt;
}

const AcceleratorTable* FindAccelerators(int id)
{
    for (const auto& table : ProgramResources().accelerators)
        if (table.id == id)
            return &table;
    return nullptr;
}

std::optional<int> AcceleratorTable::CommandFor(const KeyChord& chord) const
{
    for (const Accelerator& a : entries)
        if (a.chord == chord)
            return a.command;
    return std::nullopt;
}

std::vector<int> DialogTemplate::RadioGroup(int controlId) const
{
    std::size_t at = 0;
    while (at < controls.size() && controls[at].id != controlId)
        ++at;
    if (at == controls.size())
        return {};
    std::size_t first = at;
    while (first > 0 && !controls[first].StartsGroup())
        --first;
    std::vector<int> group;
    for (std::size_t i = first; i < controls.size(); ++i) {
        if (i > first && controls[i].StartsGroup())
            break;
        if (controls[i].kind == ControlKind::RadioButton)
            group.push_back(controls[i].id);
    }
    return group;
}

} // namespace toolkit
