// The translation file: the section search that skips the other languages
// finds what reading the file line by line finds; a load that fails keeps
// the texts loaded before; after a load every key shows the text of its first
// entry and a missing key shows "#<key>".
//
// Input: the translation file, "====\n", config.ini, "====\n", the system's
// default language as the registry holds it (one line).
#include "FuzzSupport.h"
#include "unit/TempAppFolder.h"

#include "i18n/Translation.h"
#include "platform/Exceptions.h"
#include "regfile/RegistryTree.h"
#include "util/PowerClass.h"
#include "util/TextFile.h"

#include <map>

using namespace util;
using namespace i18n;

namespace {

const char* const kLanguageKey = "SYSTEM\\CurrentControlSet\\Control\\Nls\\Language";

// The section as a reader that splits the whole file into lines sees it.
std::optional<std::vector<TranslationEntry>> SectionByLines(std::string_view text, const std::string& code)
{
    const std::vector<std::string> lines = SplitLines(text);
    auto line = lines.begin();
    while (line != lines.end() && *line != code)
        ++line;
    if (code.empty() || line == lines.end())
        return std::nullopt;
    std::vector<TranslationEntry> entries;
    for (++line; line != lines.end() && *line != "[EOL]"; ++line)
        if (line->size() >= 5)
            entries.push_back({PowerClass::DecimalToInt(line->substr(0, 5)), LineValue(*line)});
    return entries;
}

void CheckSectionSearch(std::string_view text, const std::string& code)
{
    const auto found = ParseTranslationSection(text, code);
    const auto expected = SectionByLines(text, code);
    FUZZ_CHECK_SAID(found.has_value() == expected.has_value(), code);
    if (!found)
        return;
    FUZZ_CHECK(found->size() == expected->size());
    for (std::size_t i = 0; i < found->size(); ++i)
        FUZZ_CHECK((*found)[i].key == (*expected)[i].key && (*found)[i].text == (*expected)[i].text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parts = fuzz::Parts(fuzz::AsText(data, size), 3);
    const std::string_view text = parts[0];

    regfile::RegistryTree registry;
    FUZZ_CHECK(registry.CreateKey(platform::RegRoot::LocalMachine, kLanguageKey).HasValue());
    FUZZ_CHECK(registry.SetValue(platform::RegRoot::LocalMachine, kLanguageKey, "Default",
                                 platform::RegValue::String(fuzz::FirstLine(parts[2])))
                   .HasValue());
    TempAppFolder folder(&registry);
    folder.Write("config.ini", std::string(parts[1]));

    CTranslation translation;
    const std::string language = translation.power.ReadSetting("Language");
    CheckSectionSearch(text, language);
    CheckSectionSearch(text, "[1033]");

    const std::string productId = translation.power.ReadSetting("Product ID");
    if (!fuzz::IsPlainFileName(productId))
        return 0;
    const std::string path = TranslationPath(translation.power);
    folder.Write(productId + "trl.ini", "[1033]\r\n00001 kept\r\n");
    translation.Load();
    FUZZ_CHECK(translation.Lookup(1) == "kept");

    folder.Write(productId + "trl.ini", std::string(text));
    try {
        translation.Load();
    } catch (const platform::CFileException& e) {
        FUZZ_CHECK_SAID(e.Path() == path, e.what());
        FUZZ_CHECK(translation.Lookup(1) == "kept");
        return 0;
    }

    const std::string code = language == "[----]" ? translation.ResolveLanguage(path) : language;
    auto section = ParseTranslationSection(text, code);
    if (!section)
        section = ParseTranslationSection(text, "[1033]");
    FUZZ_CHECK(section.has_value());
    std::map<std::int32_t, std::string> first;
    for (const TranslationEntry& entry : *section)
        first.try_emplace(entry.key, entry.text);
    for (const auto& [key, entryText] : first)
        FUZZ_CHECK_SAID(translation.Has(key) && translation.Lookup(key) == entryText, std::to_string(key));
    if (!first.count(-1))
        FUZZ_CHECK(!translation.Has(-1) && translation.Lookup(-1) == "#-1");
    return 0;
}
