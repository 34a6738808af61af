#pragma once
// The property of undo: random sequences of `set` on random functions, from
// random prior states, then `undo --since` the minute of the first set. After
// it every value the functions name holds what it held before (type and
// data), and every key on their paths is there exactly when it was before.
// Functions share values (two kinds on one value, a DWORD on a text's name),
// and some lie below keys that may be missing or empty.
#include "unit/CliInstallation.h"

#include "platform/Registry.h"
#include "platform/RegNames.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace undo_property {

struct Slot {
    const char* header;
    const char* key; // below the test's key
    const char* name;
    std::vector<const char*> bounds; // further block lines
};

inline const std::vector<Slot>& Slots()
{
    static const std::vector<Slot> slots = {
        {"0110", "A", "s", {}},                       // StringSwitch
        {"0210", "A", "n", {"0", "1000"}},            // BoundedStringNumber
        {"0310", "A\\Deep\\Er", "p", {}},             // FolderPath
        {"0610", "B", "t", {}},                       // PlainText
        {"0710", "B", "ds", {}},                      // DwordSwitch
        {"0810", "B", "dn", {}},                      // DwordNumber
        {"0910", "C\\D", "bd", {"5", "500"}},         // BoundedDwordNumber
        {"1010", "A", "s", {}},                       // YesNoSwitch on the StringSwitch's value
        {"0510", "E\\F", "f", {"exe"}},               // FilePath
        {"0810", "A", "s", {}},                       // DwordNumber on it as well
    };
    return slots;
}

inline const std::vector<std::string>& WatchedKeys()
{
    static const std::vector<std::string> keys = {"A\\Deep\\Er", "A\\Deep", "A", "B", "C\\D", "C", "E\\F", "E", ""};
    return keys;
}

class Run {
public:
    // `prefix`: the key below HKEY_CURRENT_USER that holds everything.
    Run(platform::IRegistry& registry, const std::string& prefix, const std::filesystem::path& base)
        : registry_(registry), prefix_(prefix), install_(registry, Names(), Catalogue(prefix), base)
    {
    }

    void Check(int sequences, unsigned seed)
    {
        std::mt19937 random(seed);
        for (int sequence = 0; sequence < sequences; ++sequence) {
            Reset(random);
            const std::vector<std::string> before = Snapshot();
            std::string commands;
            const int sets = 1 + static_cast<int>(random() % 5);
            for (int i = 0; i < sets; ++i) {
                const std::size_t slot = random() % Slots().size();
                const std::string value = ValueFor(Slots()[slot], random);
                const CliRun run =
                    install_.Run({"--now", Minute(i), "set", "--", std::to_string(10000 + 10 * slot), value});
                commands += "set " + std::to_string(slot) + " \"" + value + "\" -> " + std::to_string(run.status) + "\n";
            }
            const CliRun undo = install_.Run({"--now", "2024-01-01T11:00", "undo", "--since", Minute(0)});
            ASSERT_EQ(undo.status, 0) << undo.err << commands;
            const std::vector<std::string> after = Snapshot();
            ASSERT_EQ(after, before) << "seed " << seed << ", sequence " << sequence << ":\n" << commands << undo.out;
        }
    }

private:
    static std::string Minute(int i) { return "2024-01-01T10:" + std::string(i < 10 ? "0" : "") + std::to_string(i); }

    static std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < Slots().size(); ++i)
            names.push_back("Function " + std::to_string(i));
        return names;
    }

    static std::string Doubled(const std::string& path)
    {
        std::string out;
        for (const char c : path)
            out += c == '\\' ? std::string("\\\\") : std::string(1, c);
        return out;
    }

    static std::vector<std::string> Catalogue(const std::string& prefix)
    {
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < Slots().size(); ++i) {
            const Slot& s = Slots()[i];
            const int key = 10000 + 10 * static_cast<int>(i);
            lines.push_back(std::to_string(key) + " " + s.header);
            lines.push_back(std::to_string(key + 1) + " HKEY_CURRENT_USER\\\\" + Doubled(prefix + "\\" + s.key));
            lines.push_back(std::to_string(key + 2) + " " + s.name);
            for (std::size_t b = 0; b < s.bounds.size(); ++b)
                lines.push_back(std::to_string(key + 3 + static_cast<int>(b)) + " " + s.bounds[b]);
        }
        return lines;
    }

    std::string Path(const std::string& key) const { return key.empty() ? prefix_ : prefix_ + "\\" + key; }

    static std::string Text(std::mt19937& random, std::size_t most)
    {
        static const std::string kChars = "abcXYZ019 -\\\"\xE9\x80%;=[]";
        std::string text;
        for (std::size_t n = random() % (most + 1); n > 0; --n)
            text += kChars[random() % kChars.size()];
        return text;
    }

    static std::string ValueFor(const Slot& slot, std::mt19937& random)
    {
        const std::string kind = std::string(slot.header).substr(0, 2);
        if (kind == "01" || kind == "07" || kind == "10") {
            static const char* const kWords[] = {"on", "off", "1", "0"};
            return kWords[random() % 4];
        }
        if (kind == "02" || kind == "09") // bounded; now and then outside, which is refused
            return std::to_string(static_cast<int>(random() % 1200) - 50);
        if (kind == "08")
            return std::to_string(static_cast<std::int32_t>(random()));
        return Text(random, 12);
    }

    // A random state: each value there or not, of any type; now and then a
    // key that is there and empty.
    void Reset(std::mt19937& random)
    {
        for (const Slot& s : Slots())
            static_cast<void>(registry_.DeleteValue(platform::RegRoot::CurrentUser, Path(s.key), s.name));
        for (const std::string& key : WatchedKeys())
            if (!key.empty())
                static_cast<void>(registry_.DeleteEmptyKey(platform::RegRoot::CurrentUser, Path(key)));
        for (const auto& entry : std::filesystem::directory_iterator(install_.BackupFolder()))
            std::filesystem::remove(entry.path());
        for (const Slot& s : Slots()) {
            if (random() % 2 != 0)
                continue;
            ASSERT_TRUE(registry_.SetValue(platform::RegRoot::CurrentUser, Path(s.key), s.name, RandomValue(random)));
        }
        if (random() % 3 == 0) {
            const std::string key = Path(WatchedKeys()[random() % (WatchedKeys().size() - 1)]);
            ASSERT_TRUE(registry_.SetValue(platform::RegRoot::CurrentUser, key, "empty", platform::RegValue::Dword(0)));
            ASSERT_TRUE(registry_.DeleteValue(platform::RegRoot::CurrentUser, key, "empty"));
        }
    }

    static platform::RegValue RandomValue(std::mt19937& random)
    {
        switch (random() % 5) {
        case 0: return platform::RegValue::String(Text(random, 8));
        case 1: return platform::RegValue::Dword(static_cast<std::uint32_t>(random()));
        case 2: {
            platform::RegValue v{platform::RegType::Binary, {}};
            for (std::size_t n = random() % 6; n > 0; --n)
                v.data.push_back(static_cast<std::uint8_t>(random()));
            return v;
        }
        case 3: {
            const std::string text = Text(random, 6);
            platform::RegValue v{platform::RegType::ExpandSz, {text.begin(), text.end()}};
            v.data.push_back(0);
            return v;
        }
        default: return platform::RegValue::String("1");
        }
    }

    // Each value as "type:bytes" or "-", each watched key as there or not.
    std::vector<std::string> Snapshot() const
    {
        std::vector<std::string> state;
        for (const Slot& s : Slots()) {
            const auto value = registry_.QueryValue(platform::RegRoot::CurrentUser, Path(s.key), s.name);
            std::string line = std::string(s.key) + "\\" + s.name + "=";
            if (value) {
                line += std::to_string(static_cast<int>(value.Value().type)) + ":";
                for (const std::uint8_t b : value.Value().data)
                    line += std::to_string(b) + ",";
            } else {
                line += "-";
            }
            state.push_back(line);
        }
        for (const std::string& key : WatchedKeys()) {
            const auto probe = registry_.QueryValue(platform::RegRoot::CurrentUser, Path(key), "");
            const bool there = probe || probe.Error() != platform::RegError::KeyNotFound;
            state.push_back("[" + key + "]" + (there ? " there" : " missing"));
        }
        return state;
    }

    platform::IRegistry& registry_;
    std::string prefix_;
    CliInstallation install_;
};

} // namespace undo_property
