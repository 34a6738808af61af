#include "app/TunewrightDlg.h"

namespace app {

CTunewrightDlg::CTunewrightDlg(toolkit::CDialog*)
    : toolkit::CDialog(IDD), messageTexts_([this](int key) { return translation.Find(key); })
{
}

void CTunewrightDlg::DoDataExchange(toolkit::CDataExchange& dx)
{
    toolkit::CDialog::DoDataExchange(dx);
    toolkit::DDX_Control(dx, IDC_TUNING_GROUP, tuningGroup);
    toolkit::DDX_Control(dx, IDC_SAVE_BUTTON, saveButton);
    toolkit::DDX_Control(dx, IDC_CHOICE_GROUP, choiceGroup);
    toolkit::DDX_Control(dx, IDC_CATEGORY_BOX, categoryBox);
    toolkit::DDX_Control(dx, IDC_BROWSE_BUTTON, browseButton);
    toolkit::DDX_Control(dx, IDC_PATH_EDIT, pathEdit);
    toolkit::DDX_Control(dx, IDC_VALUE_GROUP, valueGroup);
    toolkit::DDX_Control(dx, IDC_NUMBER_EDIT, numberEdit);
    toolkit::DDX_Control(dx, IDC_OFF_RADIO, activatedRadio);
    toolkit::DDX_Control(dx, IDC_ON_RADIO, deactivatedRadio);
    toolkit::DDX_Control(dx, IDC_FUNCTION_LIST, functionList);
    toolkit::DDX_Text(dx, IDC_HINT_TEXT, hintText);
    toolkit::DDX_Radio(dx, IDC_OFF_RADIO, switchIndex);
    toolkit::DDX_Text(dx, IDC_NUMBER_EDIT, numberText);
    toolkit::DDX_Text(dx, IDC_PATH_EDIT, pathText);
    toolkit::DDX_Text(dx, IDC_INFO_TEXT, infoText);
    toolkit::DDX_CBIndex(dx, IDC_CATEGORY_BOX, currentCategory);
    toolkit::DDX_Text(dx, IDC_AVAILABILITY_TEXT, availabilityText);
}

// Each handler is in TunewrightDlg<Event>.cpp, named after the event below.
const toolkit::MessageMap& CTunewrightDlg::GetMessageMap() const
{
    using D = CTunewrightDlg;
    static const toolkit::MessageMap map = {
        toolkit::OnSysCommandMessage(&D::OnSysCommand),                  // SysCommand
        toolkit::OnPaintMessage(&D::OnPaint),                            // Paint
        toolkit::OnQueryDragIconMessage(&D::OnQueryDragIcon),            // QueryDragIcon
        toolkit::OnTimerMessage(&D::OnTimer),                            // Timer
        toolkit::OnCommand(ID_FILE_EXIT, &D::OnExit),                    // Close
        toolkit::OnCommand(IDC_BROWSE_BUTTON, &D::OnBrowse),             // Browse
        toolkit::OnCommand(IDC_SAVE_BUTTON, &D::OnSaveNewConfiguration), // Save
        toolkit::OnCommand(ID_FILE_REVERSE_CHANGES, &D::OnReverseChanges), // Reverse
        toolkit::OnCommand(ID_FILE_HISTORY, &D::OnHistory),           // History
        toolkit::OnCommand(ID_HELP_ABOUT, &D::ShowAboutBox),          // Help
        toolkit::OnCommand(ID_HELP_SHOW_HELP_FILE, &D::OpenHelpFile), // Help
        toolkit::OnCommand(ID_HELP_GO_TO_WEBSITE, &D::OpenHomepage),  // Help
        toolkit::OnHelpInfoMessage(&D::OnHelpInfo),                   // Help
        toolkit::OnCommand(ID_FILE_LANGUAGE_SELECTION, &D::OnLanguageSelection), // Language
        toolkit::OnCommand(ID_FILE_FIND, &D::OnFind),                // Find
        toolkit::OnCommand(ID_FIND_NEXT, &D::OnFindNext),            // Find
        toolkit::OnCloseMessage(&D::OnClose),                        // Close
        toolkit::OnActivateMessage(&D::OnActivate),                  // Activate
        toolkit::OnCtlColorMessage(&D::OnCtlColor),                  // CtlColor
    };
    return map;
}

} // namespace app
