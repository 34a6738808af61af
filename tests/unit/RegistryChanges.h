#pragma once
// One table of changes of many values at once, run against every registry
// that makes them: each row starts from a registry text, applies its changes
// and expects the text the registry then holds (the tree of the file for the
// store).
#include "platform/Registry.h"

#include <optional>
#include <string>
#include <vector>

struct ChangesCase {
    const char* what;
    const char* before; // after "REGEDIT4"
    std::vector<platform::RegValueChange> values;
    std::vector<platform::RegKeyPath> emptyKeys;
    const char* after;
};

inline platform::RegValueChange SetTo(const char* subKey, const char* name, const char* text)
{
    return {platform::ShareKey({platform::RegRoot::CurrentUser, subKey}), name, platform::RegValue::String(text)};
}

inline platform::RegValueChange Remove(const char* subKey, const char* name)
{
    return {platform::ShareKey({platform::RegRoot::CurrentUser, subKey}), name, std::nullopt};
}

inline platform::RegKeyPath Key(const char* subKey)
{
    return {platform::RegRoot::CurrentUser, subKey};
}

inline const std::vector<ChangesCase>& ChangesCases()
{
    static const std::vector<ChangesCase> cases = {
        {"values set and removed in order; a value not there is no fault",
         "[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n\"y\"=\"2\"\r\n",
         {SetTo("A", "x", "9"), Remove("A", "y"), Remove("A", "gone"), Remove("Missing", "z"), SetTo("A", "y", "3")},
         {},
         "[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"9\"\r\n\"y\"=\"3\"\r\n"},
        {"empty keys go deepest first, up to the one named last",
         "[HKEY_CURRENT_USER\\New]\r\n[HKEY_CURRENT_USER\\New\\Sub]\r\n\"v\"=\"1\"\r\n",
         {Remove("New\\Sub", "v")},
         {Key("New\\Sub"), Key("New")},
         ""},
        {"a key with a value, or with a key below it, stays",
         "[HKEY_CURRENT_USER\\A]\r\n[HKEY_CURRENT_USER\\A\\B]\r\n[HKEY_CURRENT_USER\\C]\r\n\"v\"=\"1\"\r\n",
         {},
         {Key("A"), Key("C"), Key("Missing")},
         "[HKEY_CURRENT_USER\\A]\r\n[HKEY_CURRENT_USER\\A\\B]\r\n[HKEY_CURRENT_USER\\C]\r\n\"v\"=\"1\"\r\n"},
        {"a key that the change itself fills stays",
         "[HKEY_CURRENT_USER\\A]\r\n",
         {SetTo("A\\B", "v", "1")},
         {Key("A\\B"), Key("A")},
         "[HKEY_CURRENT_USER\\A]\r\n[HKEY_CURRENT_USER\\A\\B]\r\n\"v\"=\"1\"\r\n"},
        {"a key made for a value takes the spelling of the first value set there",
         "",
         {Remove("X\\b\\C", "v"), SetTo("x\\B\\d", "w", "1"), SetTo("X\\b\\C", "v", "2")},
         {},
         "[HKEY_CURRENT_USER\\x]\r\n[HKEY_CURRENT_USER\\x\\B]\r\n[HKEY_CURRENT_USER\\x\\B\\C]\r\n\"v\"=\"2\"\r\n"
         "[HKEY_CURRENT_USER\\x\\B\\d]\r\n\"w\"=\"1\"\r\n"},
        {"a root is never removed",
         "",
         {},
         {Key("")},
         ""},
    };
    return cases;
}
