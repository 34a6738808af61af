// config.ini: reading any file gives each setting's last value line, and a
// write either changes exactly the value lines of its setting or throws and
// leaves the file byte for byte as it was, with no temporary file beside it.
//
// Input: config.ini, "====\n", then one line: the first byte picks the
// setting, the second says whether config.ini is missing (bit 0) or
// read-only (bit 1), the rest is the new value.
#include "FuzzSupport.h"
#include "unit/TempAppFolder.h"

#include "platform/Exceptions.h"
#include "util/PowerClass.h"
#include "util/TextFile.h"

#include <algorithm>
#include <array>
#include <filesystem>

using namespace util;

namespace {

// The settings the program reads and writes.
constexpr std::array<const char*, 7> kSettings = {
    "Product ID", "Language", "Dialects[1031]", "Dialects[1034]", "Dialects[1043]", "Dialects[1036]", "Homepage",
};

std::array<std::string, kSettings.size()> ReadAll(const PowerClass& power)
{
    std::array<std::string, kSettings.size()> values;
    for (std::size_t i = 0; i < kSettings.size(); ++i)
        values[i] = power.ReadSetting(kSettings[i]);
    return values;
}

std::size_t FileCount(const std::filesystem::path& folder)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parts = fuzz::Parts(fuzz::AsText(data, size), 2);
    const std::string control(parts[1].substr(0, parts[1].find('\n')));
    const std::size_t setting = control.empty() ? 0 : static_cast<unsigned char>(control[0]) % kSettings.size();
    const unsigned flags = control.size() < 2 ? 0 : static_cast<unsigned char>(control[1]);
    const bool missing = (flags & 1) != 0;
    const bool readOnly = (flags & 2) != 0;
    const std::string value = control.size() < 2 ? std::string() : control.substr(2);

    TempAppFolder folder;
    const std::string path = folder.Path("config.ini");
    const std::string before(parts[0]);
    if (!missing) {
        folder.Write("config.ini", before);
        if (readOnly)
            std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    }

    const PowerClass power;
    const std::string key = kSettings[setting];
    try {
        const auto values = ReadAll(power);
        const std::size_t lineCount = SplitLines(before).size();
        power.WriteSetting(key, value);
        FUZZ_CHECK(!missing && !readOnly);
        FUZZ_CHECK(SplitLines(folder.Read("config.ini")).size() == lineCount);
        const auto after = ReadAll(power);
        for (std::size_t i = 0; i < kSettings.size(); ++i) {
            // A setting without a key line is not added: it still reads empty.
            const std::string expected = i == setting && !values[i].empty() ? value : values[i];
            if (i == setting && values[i].empty() && after[i] == value)
                continue;
            FUZZ_CHECK_SAID(after[i] == expected, kSettings[i]);
        }
    } catch (const platform::CFileException& e) {
        FUZZ_CHECK_SAID(e.Path() == path, e.what());
        if (missing)
            FUZZ_CHECK(!std::filesystem::exists(path));
        else
            FUZZ_CHECK(folder.Read("config.ini") == before);
        FUZZ_CHECK(FileCount(folder.Folder()) == (missing ? 0U : 1U));
    }
    return 0;
}
