#pragma once
// Dialog templates, menus and strings as plain data, read from the program's
// resource script. Backends without a resource compiler build their dialogs
// from these.
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace toolkit {

enum class ControlKind {
    ListView,
    PushButton,
    GroupBox,
    RadioButton,
    CheckBox,
    ComboBox,
    Edit,
    StaticText,
    StaticBitmap,
    StaticIcon,
};

struct ControlTemplate {
    int id = -1;
    ControlKind kind = ControlKind::StaticText;
    std::string text;
    int resourceId = 0; // picture of a bitmap or icon static
    int x = 0, y = 0, cx = 0, cy = 0; // dialog units
    std::set<std::string> styles;     // style names as the script spells them

    bool Has(std::string_view style) const { return styles.count(std::string(style)) != 0; }
    bool Visible() const { return Has("WS_VISIBLE"); }
    bool TabStop() const { return Has("WS_TABSTOP"); }
    bool StartsGroup() const { return Has("WS_GROUP"); }
    bool DefaultButton() const { return Has("BS_DEFPUSHBUTTON"); }
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    // Where the dialog opens, in dialog units from its owner's client area;
    // 0, 0 opens it centred.
    int x = 0, y = 0;
    int cx = 0, cy = 0;
    int menuId = 0;
    std::string fontName;
    int fontSize = 0;
    std::set<std::string> styles;
    std::vector<ControlTemplate> controls;

    const ControlTemplate* Find(int controlId) const;
    // Whether the template gives the dialog a place over its owner.
    bool Placed() const { return x != 0 || y != 0; }
    // The radio buttons of the group that holds the control, in template
    // order. A group runs from a control that starts one to the next.
    std::vector<int> RadioGroup(int controlId) const;
};

struct MenuItemTemplate {
    std::string text;
    int id = 0;             // command id; 0 for drop-downs and separators
    bool separator = false;
    bool popup = false;
    std::vector<MenuItemTemplate> items;
};

struct MenuTemplate {
    int id = 0;
    std::vector<MenuItemTemplate> items;
};

// The virtual-key code of function key Fn, n from 1 to 24 (VK_F1 is 0x70).
constexpr int FunctionKeyCode(int n)
{
    return 0x6F + n;
}

// A key with its modifiers. `key` is a Windows virtual-key code: 'A' to 'Z',
// '0' to '9', FunctionKeyCode(1) to FunctionKeyCode(24).
struct KeyChord {
    int key = 0;
    bool control = false;
    bool shift = false;
    bool alt = false;

    bool operator==(const KeyChord&) const = default;
};

struct Accelerator {
    KeyChord chord;
    int command = 0;
};

// A dialog takes the keys of the table that has its menu's id; a dialog
// without a menu takes those of the dialog that opened it. Each key sends
// its command to the dialog that has the keyboard.
struct AcceleratorTable {
    int id = 0;
    std::vector<Accelerator> entries;

    std::optional<int> CommandFor(const KeyChord& chord) const;
};

struct ResourceScript {
    std::vector<DialogTemplate> dialogs;
    std::vector<MenuTemplate> menus;
    std::vector<std::pair<int, std::string>> strings;
    std::vector<std::pair<int, std::string>> bitmaps; // id, file name
    std::vector<std::pair<int, std::string>> icons;
    std::vector<AcceleratorTable> accelerators;
};

// Names of ids: the "#define NAME number" lines of a resource header. Other
// lines, other definitions included, are passed over.
using ResourceSymbols = std::map<std::string, int, std::less<>>;
ResourceSymbols ParseResourceSymbols(std::string_view headerText);

// Parses the subset of the resource-script language that our script uses.
// Preprocessor lines are passed over; an id may be a number, a name from
// `symbols`, or one of the dialog-button names of the Windows headers.
// Throws CException naming the line of anything it does not understand.
ResourceScript ParseResourceScript(std::string_view text, const std::string& fileName,
                                   const ResourceSymbols& symbols = {});

// The program's own resources (parsed once from the embedded script).
const ResourceScript& ProgramResources();
const DialogTemplate& GetDialogTemplate(int id);
const MenuTemplate& GetMenuTemplate(int id);
std::string LoadResourceString(int id); // empty when absent
std::optional<std::string> BitmapFileName(int id);
// Null when the resources have no such table.
const AcceleratorTable* FindAccelerators(int id);

// The embedded copies of res/tunewright.rc and of its id header res/resource.h.
const char* EmbeddedResourceScript();
const char* EmbeddedResourceHeader();

} // namespace toolkit
