#include "i18n/LanguageSelection.h"

#include "i18n/Translation.h"
#include "resource.h"
#include "util/TextFile.h"

namespace {

const char* const kSystemDefault = "System default language";

} // namespace

void CLanguageSelection::DoDataExchange(tk::CDataExchange& dx)
{
    tk::CDialog::DoDataExchange(dx);
    tk::DDX_Control(dx, IDC_LANGUAGE_BOX, languageBox);
    tk::DDX_Control(dx, IDC_LANGUAGE_GROUP, groupBox);
    tk::DDX_CBString(dx, IDC_LANGUAGE_BOX, selectedText);
}

bool CLanguageSelection::OnInitDialog()
{
    tk::CDialog::OnInitDialog();
    groupBox.SetText(caption);
    languageList.clear();

    for (const LanguageChoice& language : ListLanguages(ReadTextLines(TranslationPath(power)))) {
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
    EndDialog(tk::Answer::Ok);
}
