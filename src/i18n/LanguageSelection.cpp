#include "i18n/LanguageSelection.h"

#include "i18n/Translation.h"
#include "platform/CaseFold.h"
#include "resource.h"
#include "util/TextFile.h"

#include <algorithm>
#include <vector>

namespace i18n {

namespace {

const char* const kSystemDefault = "System default language";

} // namespace

void CLanguageSelection::DoDataExchange(toolkit::CDataExchange& dx)
{
    toolkit::CDialog::DoDataExchange(dx);
    toolkit::DDX_Control(dx, IDC_LANGUAGE_BOX, languageBox);
    toolkit::DDX_Control(dx, IDC_LANGUAGE_GROUP, groupBox);
    toolkit::DDX_CBString(dx, IDC_LANGUAGE_BOX, selectedText);
}

bool CLanguageSelection::OnInitDialog()
{
    toolkit::CDialog::OnInitDialog();
    groupBox.SetText(caption);
    languageList.clear();

    languageList = ListLanguages(util::ReadTextLines(TranslationPath(power)));
    // Given in the order the sorted combo box keeps, each name goes after
    // the others: a file of many sections costs no more than their sort, in
    // every backend.
    std::vector<const LanguageChoice*> byName;
    for (const LanguageChoice& language : languageList)
        byName.push_back(&language);
    std::stable_sort(byName.begin(), byName.end(), [](const LanguageChoice* a, const LanguageChoice* b) {
        return platform::LessNoCase(a->displayName, b->displayName);
    });
    for (const LanguageChoice* language : byName)
        languageBox.AddString(language->displayName);

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
    EndDialog(toolkit::Answer::Ok);
}

} // namespace i18n
