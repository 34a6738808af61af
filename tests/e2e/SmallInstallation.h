#pragma once
// Small installations written into the sample's copy: a translation whose
// texts say which key they come from, a catalogue and a registry store given
// line by line. A dump then shows at a glance which key each caption used.
#include "e2e/Driver.h"

#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

// The key of the companion program's marker and the store line that holds it.
inline const char* const kMarkerSection = "[HKEY_LOCAL_MACHINE\\Software\\Orvelle\\Orvelle Kitbasket]";
inline const char* const kMarkerLine = "\"active\"=\"1\"";

// The [1033] section with texts "T<key>" for the window's keys (category
// entries "Category <key>", availability texts "Available <key>") and one
// function per name: name, hint "Hint <i>" and info "Info <i>".
inline std::string SmallTranslation(const std::vector<std::string>& names)
{
    std::string t = "[1033]\r\n00005 T5\r\n";
    for (int key = 10; key <= 35; key += 5)
        t += "000" + std::to_string(key) + " Category " + std::to_string(key) + "\r\n";
    for (int key : {50, 55, 60, 65, 70, 75, 80, 85, 90, 95})
        t += "000" + std::to_string(key) + " T" + std::to_string(key) + "\r\n";
    for (int key = 100; key <= 120; key += 5)
        t += "00" + std::to_string(key) + " T" + std::to_string(key) + "\r\n";
    for (int key = 140; key <= 160; key += 5)
        t += "00" + std::to_string(key) + " Available " + std::to_string(key) + "\r\n";
    for (int key : {200, 205, 210, 220, 245, 250, 255, 260})
        t += "00" + std::to_string(key) + " T" + std::to_string(key) + "\r\n";
    int key = 10000;
    for (std::size_t i = 0; i < names.size(); ++i, key += 10) {
        const std::string k = std::to_string(key);
        t += k + " " + names[i] + "\r\n";
        t += std::to_string(key + 1) + " Hint " + std::to_string(i) + "\r\n";
        t += std::to_string(key + 2) + " Info " + std::to_string(i) + "\r\n";
    }
    t += std::to_string(key) + " End of functions\r\n[EOL]\r\n";
    return t;
}

// A store without EnableLUA, so no question is asked at start-up; it holds the
// companion's marker and the given sections.
inline std::string SmallStore(const std::string& sections)
{
    return "REGEDIT4\r\n\r\n" + std::string(kMarkerSection) + "\r\n" + kMarkerLine + "\r\n\r\n" + sections;
}

inline std::string Lines(const std::vector<std::string>& lines, const std::string& end = "\r\n")
{
    std::string text;
    for (const auto& l : lines)
        text += l + end;
    return text;
}

// Writes translation, catalogue and store into the installation, which has
// no Windows defaults then.
inline void WriteSmall(const Installation& inst, const std::vector<std::string>& names,
                       const std::vector<std::string>& catalogue, const std::string& sections)
{
    inst.Write("0019trl.ini", SmallTranslation(names));
    inst.Write("0019fct.ini", Lines(catalogue));
    inst.Write("registry.reg", SmallStore(sections));
    // The sample's Windows defaults belong to its own functions.
    std::filesystem::remove(inst.File("0019def.ini"));
}

// Does the store file still hold the companion's marker?
inline bool StoreHasMarker(const Installation& inst)
{
    const std::string store = inst.Read("registry.reg");
    const auto section = store.find(kMarkerSection);
    if (section == std::string::npos)
        return false;
    const auto next = store.find("\n[", section + 1);
    return store.substr(section, next == std::string::npos ? std::string::npos : next - section)
               .find("\"active\"=") != std::string::npos;
}

} // namespace e2e
