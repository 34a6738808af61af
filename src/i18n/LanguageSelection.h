#pragma once
// The language dialog: lists the languages of the translation file and hands
// back the code of the one the user picked.
#include "i18n/LanguageList.h"
#include "resource.h"
#include "toolkit/Dialog.h"
#include "util/PowerClass.h"

#include <string>
#include <vector>

class CLanguageSelection : public tk::CDialog {
public:
    enum { IDD = IDD_LANGUAGE_SELECTION };
    CLanguageSelection() : tk::CDialog(IDD) {}

    bool OnInitDialog() override;
    void OnOK() override;

    PowerClass power;
    std::string caption;        // set by the caller: the group box text
    std::string chosenLanguage; // in: the current setting; out: the choice
    std::vector<LanguageChoice> languageList;
    tk::CComboBox languageBox;
    tk::CButton groupBox;
    std::string selectedText;

protected:
    void DoDataExchange(tk::CDataExchange& dx) override;
};
