// Loading the translation table from a file of 2,000 functions in eight
// languages (about 2 MB), against reading that file's bytes once, the least
// any load has to do. Load takes one language: the others should cost little
// more than their bytes.
//
// LanguageSelection: the language dialog opened on a translation file of
// 40,000 short sections, its combo box filled in sorted order; baseline:
// reading that file's bytes once (ReadManySections).
#include "i18n/LanguageSelection.h"
#include "i18n/Translation.h"
#include "support/Installation.h"
#include "support/Table.h"
#include "platform/Services.h"
#include "toolkit/Backend.h"
#include "toolkit/Resources.h"
#include "toolkit/model/ModelWindow.h"
#include "util/TextFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

using namespace util;
using namespace i18n;

namespace {

constexpr int kFunctions = 2000;
const char* const kLanguages[] = {"[1033]", "[1031]", "[1034]", "[1043]", "[1036]", "[1040]", "[1049]", "[1041]"};

std::string Section(const std::string& code)
{
    std::string text = code + "\r\n\r\n00002 Language " + code + "\r\n00005 Save\r\n00055 Save\r\n";
    for (int i = 0; i < kFunctions; ++i) {
        const std::string key = std::to_string(10000 + 10 * i);
        text += key + " Function number " + std::to_string(i) + "\r\n";
        text += key.substr(0, 4) + "1 Please enter a value between 1 and 100000\r\n";
        text += key.substr(0, 4) + "2 What function " + std::to_string(i) + " does, in a sentence or two.\r\n";
    }
    return text + std::to_string(10000 + 10 * kFunctions) + " End of functions\r\n[EOL]\r\n";
}

// One installation for the whole run; the "Language" setting is rewritten by
// each benchmark for the section it loads.
class Installation {
public:
    static Installation& Get()
    {
        static Installation installation;
        return installation;
    }
    const std::string& TranslationPath() const { return translationPath_; }
    void ChooseLanguage(const std::string& code) const
    {
        bench::WriteBytes(folder_ + "/config.ini", "Product ID\r\n0019\r\nLanguage\r\n" + code + "\r\n");
    }

private:
    Installation() : folder_(bench::MakeTemporaryFolder()), services_(Services(folder_))
    {
        std::string text = "; Translations\r\n\r\n";
        for (const char* code : kLanguages)
            text += Section(code);
        translationPath_ = folder_ + "/0019trl.ini";
        bench::WriteBytes(translationPath_, text);
        ChooseLanguage(kLanguages[0]);
    }
    ~Installation()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    static platform::Services Services(const std::string& folder)
    {
        platform::Services s;
        s.executablePath = folder + "/tunewright";
        return s;
    }

    std::string folder_;
    platform::ScopedServices services_;
    std::string translationPath_;
};

void ReadFileBytes(benchmark::State& state)
{
    const Installation& installation = Installation::Get();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = ReadTextFile(installation.TranslationPath());
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(ReadFileBytes)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

// The argument is the position of the section in the file: first or last.
void LoadTranslation(benchmark::State& state)
{
    const Installation& installation = Installation::Get();
    const std::string code = kLanguages[state.range(0)];
    installation.ChooseLanguage(code);
    CTranslation translation;
    for (auto _ : state)
        translation.Load();
    if (translation.Lookup(2) != "Language " + code || translation.Lookup(10000 + 10 * kFunctions) != "End of functions")
        state.SkipWithError("the chosen section was not loaded whole");
}
BENCHMARK(LoadTranslation)->Arg(0)->Arg(7)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

constexpr int kManySections = 40000;

// A translation file of many languages, each with a name and nothing else,
// their names in no order, in an installation of its own.
class ManySections {
public:
    static ManySections& Get()
    {
        static ManySections installation;
        return installation;
    }
    const std::string& TranslationPath() const { return translationPath_; }
    const std::string& Folder() const { return folder_; }

private:
    ManySections() : folder_(bench::MakeTemporaryFolder())
    {
        std::string text;
        for (int i = 0; i < kManySections; ++i) {
            std::string code = "[0000]";
            for (int n = i, at = 4; n > 0; n /= 36, --at)
                code[static_cast<std::size_t>(at)] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[n % 36];
            text += code + "\r\n00001 Choose\r\n00002 Language " + std::to_string(i * 7919 % kManySections)
                + "\r\n[EOL]\r\n";
        }
        translationPath_ = folder_ + "/0019trl.ini";
        bench::WriteBytes(translationPath_, text);
        bench::WriteBytes(folder_ + "/config.ini", "Product ID\r\n0019\r\nLanguage\r\n[0001]\r\n");
    }
    ~ManySections()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::string folder_;
    std::string translationPath_;
};

void ReadManySections(benchmark::State& state)
{
    const ManySections& installation = ManySections::Get();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadTextFile(installation.TranslationPath()).data());
}
BENCHMARK(ReadManySections)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// No box is shown: the dialog only fills itself.
class QuietHost final : public toolkit::ModalHost {
public:
    toolkit::Answer ShowMessageBox(std::string_view, std::string_view, toolkit::BoxStyle) override { return toolkit::Answer::Ok; }
    std::optional<std::string> ShowFileDialog(const toolkit::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> ShowFolderDialog(std::string_view, std::string_view) override { return std::nullopt; }
};

void LanguageSelection(benchmark::State& state)
{
    const ManySections& installation = ManySections::Get();
    platform::Services services;
    services.executablePath = installation.Folder() + "/tunewright";
    const platform::ScopedServices installed(services);
    QuietHost host;
    for (auto _ : state) {
        toolkit::ModelWindow window(toolkit::GetDialogTemplate(CLanguageSelection::IDD), host);
        CLanguageSelection dialog;
        dialog.AttachWindow(&window);
        if (!dialog.RunInitDialog() || window.ComboCount(IDC_LANGUAGE_BOX) != kManySections)
            state.SkipWithError("the dialog did not list every language");
        dialog.AttachWindow(nullptr);
    }
}
BENCHMARK(LanguageSelection)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

const bool kTable = [] {
    bench::Compare({"LoadTranslation/0", "ReadFileBytes", 0, {}});
    bench::Compare({"LoadTranslation/7", "ReadFileBytes", 0, {}});
    bench::Compare({"LanguageSelection", "ReadManySections", 0, {}, 0.2e9});
    return true;
}();

} // namespace
