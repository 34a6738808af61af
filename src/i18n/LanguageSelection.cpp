#include "i18n/LanguageSelection.h"

#include "util/TextFile.h"

#include <filesystem>

namespace {

constexpr int kGroupBox = 1019;
constexpr int kLanguageBox = 1020;
const char* const kSystemDefault = "System default language";

} // namespace

void CLanguageSelection::DoDataExchange(tk::CDataExchange& dx)
{
    tk::CDialog::DoDataExchange(dx);
    tk::DDX_Control(dx, kLanguageBox, languageBox);
    tk::DDX_Control(dx, kGroupBox, groupBox);
    tk::DDX_CBString(dx, kLanguageBox, selectedText);
}

bool CLanguageSelection::OnInitDialog()
{
    tk::CDialog::OnInitDialog();
    groupBox.SetWindowText(caption);
    languageList.clear();

    const std::string path =
        (std::filesystem::path(power.GetApplicationFolder()) / (power.ReadSetting("Product ID") + "trl.ini")).string();
    for (const LanguageChoice& language : ListLanguages(ReadTextLines(path))) {
        languageBox.AddString(language.displayName);
        languageList.push_back(language);
    }

    selectedText = kSystemDefault;
    for (const LanguageChoice& language : languageList)
        if (language.code == chosenLanguage)
            selectedText = language.displayName;
    UpdateData(false);
    return true;
}

void CLanguageSelection::OnOK()
{
    UpdateData(true);
    // A text that names no language (typed, or the untouched default entry)
    // leaves the choice as it was.
    for (const LanguageChoice& language : languageList)
        if (language.displayName == selectedText)
            chosenLanguage = language.code;
    EndDialog(tk::IDOK);
}
