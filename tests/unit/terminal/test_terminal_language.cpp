// The terminal's own words come from the loaded translation: under the
// sample's German the key help line, the boxes' buttons and the letters that
// press them, and the pickers are German.
#include "backends/terminal/DialogLayer.h"
#include "backends/terminal/MessageBoxLayer.h"
#include "backends/terminal/PickerLayer.h"
#include "i18n/Translation.h"
#include "platform/Cp1252.h"
#include "platform/Texts.h"

#include "KeyBuilders.h"
#include "unit/RecordingBackend.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

using namespace util;
using namespace i18n;

namespace {

std::map<int, std::string> SampleGerman()
{
    std::ifstream in(std::filesystem::path(TW_SOURCE_DIR) / "data" / "sample" / "0019trl.ini", std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto section = ParseTranslationSection(file, "[1031]");
    std::map<int, std::string> texts;
    for (const TranslationEntry& entry : section.value())
        texts.emplace(entry.key, entry.text);
    return texts;
}

std::string Shown(backends::terminal::Layer& layer)
{
    backends::terminal::CellScreen screen;
    screen.Resize(80, 24);
    layer.Draw(screen);
    std::string all;
    for (int y = 0; y < screen.Rows(); ++y)
        all += screen.RowText(y) + "\n";
    return all;
}

std::string Help(const backends::terminal::Layer& layer)
{
    std::string all;
    for (const backends::terminal::HelpItem& item : layer.KeyHelp())
        all += item.text + "|";
    return all;
}

} // namespace

TEST(TerminalLanguage, KeyHelpButtonsAndPickersFollowTheLoadedLanguage)
{
    const std::map<int, std::string> german = SampleGerman();
    const platform::ScopedTextLookup lookup([&german](int key) -> std::optional<std::string> {
        const auto found = german.find(key);
        return found == german.end() ? std::nullopt : std::optional<std::string>(found->second);
    });

    RecordingBackend host;
    toolkit::CDialog dialog(102);
    backends::terminal::TerminalWindow window(dialog.Template(), host);
    dialog.AttachWindow(&window);
    backends::terminal::DialogLayer main(dialog, window, true);
    EXPECT_EQ(Help(main).find("Tab weiter|"), 0u) << Help(main);
    dialog.AttachWindow(nullptr);

    backends::terminal::MessageBoxLayer question("Speichern?", "Tunewright", {toolkit::BoxButtons::YesNo, toolkit::BoxIcon::Question});
    EXPECT_NE(Shown(question).find("[ Ja ]  [ Nein ]"), std::string::npos) << Shown(question);
    EXPECT_NE(Help(question).find("J ja|N nein|"), std::string::npos) << Help(question);
    question.HandleKey(Ch(U'y'));
    EXPECT_FALSE(question.Done()) << "Y is no button's letter in German";
    question.HandleKey(Ch(U'J'));
    EXPECT_EQ(question.Result(), toolkit::Answer::Yes);

    const std::string folder = std::filesystem::temp_directory_path().string();
    backends::terminal::PickerLayer files(backends::terminal::PickerLayer::Mode::File, "\xD6" "ffnen", "", "", folder);
    const std::string shown = Shown(files);
    for (const char* text : {"Suchen in: /", "Dateityp: Alle Dateien", "Dateiname: "})
        EXPECT_NE(shown.find(text), std::string::npos) << text << "\n" << shown;
    EXPECT_NE(Help(files).find("Tab Name|"), std::string::npos) << Help(files);
}
