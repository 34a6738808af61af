#include "toolkit/Exceptions.h"
#include "toolkit/Resources.h"

namespace tk {

const ControlTemplate* DialogTemplate::Find(int controlId) const
{
    for (const auto& c : controls)
        if (c.id == controlId)
            return &c;
    return nullptr;
}

const ResourceScript& ProgramResources()
{
    static const ResourceScript script = ParseResourceScript(EmbeddedResourceScript(), "tunewright.rc");
    return script;
}

const DialogTemplate& GetDialogTemplate(int id)
{
    for (const auto& d : ProgramResources().dialogs)
        if (d.id == id)
            return d;
    throw CException("dialog template " + std::to_string(id) + " is missing from the resources");
}

const MenuTemplate& GetMenuTemplate(int id)
{
    for (const auto& m : ProgramResources().menus)
        if (m.id == id)
            return m;
    throw CException("menu " + std::to_string(id) + " is missing from the resources");
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

} // namespace tk
