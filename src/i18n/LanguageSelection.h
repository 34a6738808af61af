#pragma once
// The language dialog: lists the languages of the translation file and hands
// back the code of the one the user picked.
#include "i18n/LanguageList.h"
#include "resource.h"
#include "toolkit/Dialog.h"
#include "util/PowerClass.h"

#include <string>
#include <vector>

namespace i18n {

class CLanguageSelection : public toolkit::CDialog {
public:
    enum { IDD = IDD_LANGUAGE_SELECTION };
    CLanguageSelection() : toolkit::CDialog(IDD) {}

    bool OnInitDialog() override;
    void OnOK() override;

    util::PowerClass power;
    std::string caption;        // set by the caller: the group box text
    std::string chosenLanguage; // in: the current setting; out: the choice
    std::vector<LanguageChoice> languageList;
    toolkit::CComboBox languageBox;
    toolkit::CButton groupBox;
    std::string selectedText;

protected:
    void DoDataExchange(toolkit::CDataExchange& dx) override;
};

} // namespace i18n
