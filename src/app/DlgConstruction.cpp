#include "app/ControlIds.h"
#include "app/TunewrightDlg.h"

CTunewrightDlg::CTunewrightDlg(tk::CDialog*) : tk::CDialog(IDD) {}

void CTunewrightDlg::DoDataExchange(tk::CDataExchange& dx)
{
    tk::CDialog::DoDataExchange(dx);
    tk::DDX_Control(dx, ctl::TuningGroup, tuningGroup);
    tk::DDX_Control(dx, ctl::SaveButton, saveButton);
    tk::DDX_Control(dx, ctl::ChoiceGroup, choiceGroup);
    tk::DDX_Control(dx, ctl::CategoryBox, categoryBox);
    tk::DDX_Control(dx, ctl::BrowseButton, browseButton);
    tk::DDX_Control(dx, ctl::PathEdit, pathEdit);
    tk::DDX_Control(dx, ctl::ValueGroup, valueGroup);
    tk::DDX_Control(dx, ctl::NumberEdit, numberEdit);
    tk::DDX_Control(dx, ctl::OffRadio, activatedRadio);
    tk::DDX_Control(dx, ctl::OnRadio, deactivatedRadio);
    tk::DDX_Control(dx, ctl::FunctionList, functionList);
    tk::DDX_Text(dx, ctl::Hint, hintText);
    tk::DDX_Radio(dx, ctl::OffRadio, switchIndex);
    tk::DDX_Text(dx, ctl::NumberEdit, numberText);
    tk::DDX_Text(dx, ctl::PathEdit, pathText);
    tk::DDX_Text(dx, ctl::Info, infoText);
    tk::DDX_CBString(dx, ctl::CategoryBox, categoryText);
    tk::DDX_Text(dx, ctl::Availability, availabilityText);
}

const tk::MessageMap& CTunewrightDlg::GetMessageMap() const
{
    using D = CTunewrightDlg;
    static const tk::MessageMap map = {
        tk::OnSysCommandMessage(&D::OnSysCommand),
        tk::OnQueryDragIconMessage(&D::OnQueryDragIcon),
        tk::OnTimerMessage(&D::OnTimer),
        tk::OnCommand(cmd::Exit, &D::OnExit),
        tk::OnCommand(ctl::BrowseButton, &D::OnBrowse),
        tk::OnCommand(ctl::SaveButton, &D::OnSaveNewConfiguration),
        tk::OnCommand(cmd::ReverseChanges, &D::OnReverseChanges),
        tk::OnCommand(cmd::About, &D::ShowAboutBox),
        tk::OnCommand(cmd::ShowHelpFile, &D::OpenHelpFile),
        tk::OnCommand(cmd::GoToWebsite, &D::OpenHomepage),
        tk::OnHelpInfoMessage(&D::OnHelpInfo),
        tk::OnCommand(cmd::LanguageSelection, &D::OnLanguageSelection),
        tk::OnCloseMessage(&D::OnClose),
        tk::OnCtlColorMessage(&D::OnCtlColor),
    };
    return map;
}
