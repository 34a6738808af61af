#pragma once
// The main dialog: the function list with its category filter above, the
// option panel for the shown function below, and the menu.
#include "i18n/Translation.h"
#include "platform/Services.h"
#include "platform/Texts.h"
#include "resource.h"
#include "saving/NewValue.h"
#include "toolkit/Dialog.h"
#include "util/PowerClass.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace app {

class CTunewrightDlg : public toolkit::CDialog {
public:
    enum { IDD = IDD_TUNEWRIGHT_DIALOG };
    explicit CTunewrightDlg(toolkit::CDialog* parent = nullptr);

    bool OnInitDialog() override;                              // TunewrightDlgInit.cpp
    const toolkit::MessageMap& GetMessageMap() const override; // TunewrightDlg.cpp

protected:
    // Each handler lives in the file named after its event:
    // TunewrightDlg<Event>.cpp.
    void DoDataExchange(toolkit::CDataExchange& dx) override; // TunewrightDlg.cpp
    void OnSysCommand(int commandId, long param);             // SysCommand
    void OnPaint();                                           // Paint
    int OnQueryDragIcon();                                    // QueryDragIcon
    void OnCtlColor(toolkit::CtlColorRequest& request);       // CtlColor
    void OnTimer(int timerId);                                // Timer
    void OnClose();                                           // Close
    void OnExit();                                            // Close
    void OnOK() override;                                     // Close
    void OnCancel() override;                                 // Close
    void OnActivate();                                        // Activate
    void OnBrowse();                                          // Browse
    void OnSaveNewConfiguration();                            // Save
    void OnReverseChanges();                                  // Reverse
    void OnHistory();                                         // History
    void ShowAboutBox();                                      // Help
    void OpenHelpFile();                                      // Help
    void OpenHomepage();                                      // Help
    bool OnHelpInfo();                                        // Help
    void OnLanguageSelection();                               // Language
    void OnFind();                                            // Find
    void OnFindNext();                                        // Find
    void RefillFunctionList();                                // Refill
    void ShowSelectedFunction();                              // ShowFunction
    void ShowFunction(int functionKey);                       // ShowFunction
    void ShowFunctionAgain();                                 // ShowFunction

private:
    void AskUacQuestion();                                   // UacQuestion
    void DeleteCompanionMarker();                            // Close
    void ShowRegistryFault(const platform::RegFault& fault); // RegistryFault
    bool ShownRegistryFault(const platform::RegFault& fault) const; // RegistryFault
    bool MayClose();                                        // Close
    bool OpenWithShell(const std::string& target);          // Help
    void OfferRestore(const std::string& file, const std::string& cause); // Reverse
    void ShowImportedValue();                               // Activate
    saving::PanelInput CurrentInput() const;                // ShowFunction
    bool HoldsUnsavedValue();                               // ShowFunction
    bool MayLeaveShownFunction();                           // ShowFunction
    bool ShowsFunction() const;                             // ShowFunction
    void TranslateMenu();                                   // Init
    void FillFunctionNames();                               // Init
    void FillCategoryFilter();                              // Init
    bool FindFunction(const std::string& text, bool next);  // Find
    void OpenFindBox(bool searchAtOnce);                    // Find
    std::string T(int key) const { return translation.Lookup(key); }

public:
    int previousCategory = 0;
    int currentCategory = 0;
    int selectionMark = 0;
    std::vector<std::string> functionNames;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::string header;
    std::string currentValue;
    std::string keyPath;
    std::string valueName;
    int previousSelectionMark = 1;
    int selectedFunction = 0;
    int shownFunction = 99;
    i18n::CTranslation translation;
    util::PowerClass power;
    toolkit::CButton tuningGroup;
    toolkit::CButton saveButton;
    toolkit::CButton choiceGroup;
    toolkit::CComboBox categoryBox;
    toolkit::CButton browseButton;
    toolkit::CEdit pathEdit;
    toolkit::CButton valueGroup;
    toolkit::CEdit numberEdit;
    toolkit::CButton activatedRadio;
    toolkit::CButton deactivatedRadio;
    toolkit::CListCtrl functionList;
    std::string hintText;
    int switchIndex = -1;
    std::string numberText;
    std::string pathText;
    std::string infoText;
    int icon = IDR_MAINFRAME;
    std::string availabilityText;
    std::vector<int> menuBitmaps;
    toolkit::Rgb backgroundBrush{240, 240, 240};

    // The function each list item stands for, by row: two functions may share
    // a name, so a row is never resolved by its text.
    std::vector<int> listedFunctions;

    // Whether the panel shows a function at all: shownFunction starts as 99,
    // which in a catalogue of 100 or more functions is a function like any
    // other and must still be shown when it is the first one selected.
    bool panelFilled = false;

    // The value the panel showed for the function, or the one last saved:
    // closing asks before a value that differs from it is lost.
    saving::PanelInput shownInput;

    // Set when a backup went to the shell: where the shell hands it to
    // another program (Windows), the panel reads the registry again when the
    // window becomes active again.
    bool showAgainOnActivate = false;
    // The program the shell started for that backup, where the platform
    // follows it: the panel reads the registry again when it ends.
    std::unique_ptr<platform::IStartedProgram> reverseImporter;
    // While the question before leaving an unsaved value waits.
    bool askingToLeave = false;
    // What Find looked for last; F3 goes on with it.
    std::string findText;

private:
    bool systemMenuExtended = false;
    // The registry's faults shown so far: every read of a broken store meets
    // the same fault, and the user hears of it once.
    std::set<std::string> shownRegistryFaults_;
    // The messages of every layer come from this dialog's translation while
    // it lives (platform/Texts.h).
    platform::ScopedTextLookup messageTexts_;
};

} // namespace app
