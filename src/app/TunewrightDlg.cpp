#include "app/TunewrightDlg.h"

CTunewrightDlg::CTunewrightDlg(tk::CDialog*)
    : tk::CDialog(IDD), messageTexts_([this](int key) { return translation.Find(key); })
{
}

void CTunewrightDlg::DoDataExchange(tk::CDataExchange& dx)
{
    tk::CDialog::DoDataExchange(dx);
    tk::DDX_Control(dx, IDC_TUNING_GROUP, tuningGroup);
    tk::DDX_Control(dx, IDC_SAVE_BUTTON, saveButton);
    tk::DDX_Control(dx, IDC_CHOICE_GROUP, choiceGroup);
    tk::DDX_Control(dx, IDC_CATEGORY_BOX, categoryBox);
    tk::DDX_Control(dx, IDC_BROWSE_BUTTON, browseButton);
    tk::DDX_Control(dx, IDC_PATH_EDIT, pathEdit);
    tk::DDX_Control(dx, IDC_VALUE_GROUP, valueGroup);
    tk::DDX_Control(dx, IDC_NUMBER_EDIT, numberEdit);
    tk::DDX_Control(dx, IDC_OFF_RADIO, activatedRadio);
    tk::DDX_Control(dx, IDC_ON_RADIO, deactivatedRadio);
    tk::DDX_Control(dx, IDC_FUNCTION_LIST, functionList);
    tk::DDX_Text(dx, IDC_HINT_TEXT, hintText);
    tk::DDX_Radio(dx, IDC_OFF_RADIO, switchIndex);
    tk::DDX_Text(dx, IDC_NUMBER_EDIT, numberText);
    tk::DDX_Text(dx, IDC_PATH_EDIT, pathText);
    tk::DDX_Text(dx, IDC_INFO_TEXT, infoText);
    tk::DDX_CBIndex(dx, IDC_CATEGORY_BOX, currentCategory);
    tk::DDX_Text(dx, IDC_AVAILABILITY_TEXT, availabilityText);
}

// Each handler is in TunewrightDlg<Event>.cpp, named after the event below.
const tk::MessageMap& CTunewrightDlg::GetMessageMap() const
{
    using D = CTunewrightDlg;
    static const tk::MessageMap map = {
        tk::OnSysCommandMessage(&D::OnSysCommand),                   // SysCommand
        tk::OnPaintMessage(&D::OnPaint),                             // Paint
        tk::OnQueryDragIconMessage(&D::OnQueryDragIcon),             // QueryDragIcon
        tk::OnTimerMessage(&D::OnTimer),                             // Timer
        tk::OnCommand(ID_FILE_EXIT, &D::OnExit),                     // Close
        tk::OnCommand(IDC_BROWSE_BUTTON, &D::OnBrowse),              // Browse
        tk::OnCommand(IDC_SAVE_BUTTON, &D::OnSaveNewConfiguration),  // Save
        tk::OnCommand(ID_FILE_REVERSE_CHANGES, &D::OnReverseChanges), // Reverse
        tk::OnCommand(ID_FILE_HISTORY, &D::OnHistory),               // History
        tk::OnCommand(ID_HELP_ABOUT, &D::ShowAboutBox),              // Help
        tk::OnCommand(ID_HELP_SHOW_HELP_FILE, &D::OpenHelpFile),     // Help
        tk::OnCommand(ID_HELP_GO_TO_WEBSITE, &D::OpenHomepage),      // Help
        tk::OnHelpInfoMessage(&D::OnHelpInfo),                       // Help
        tk::OnCommand(ID_FILE_LANGUAGE_SELECTION, &D::OnLanguageSelection), // Language
        tk::OnCommand(ID_FILE_FIND, &D::OnFind),                     // Find
        tk::OnCommand(ID_FIND_NEXT, &D::OnFindNext),                 // Find
        tk::OnCloseMessage(&D::OnClose),                             // Close
        tk::OnActivateMessage(&D::OnActivate),                       // Activate
        tk::OnCtlColorMessage(&D::OnCtlColor),                       // CtlColor
    };
    return map;
}
