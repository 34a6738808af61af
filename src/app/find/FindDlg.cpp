#include "app/find/FindDlg.h"

#include "app/find/Texts.h"

namespace app {

namespace {

// Typing is noticed by polling, as the main window notices its list: the
// toolkit passes no edit notifications on.
constexpr int kPollTimer = 1;
constexpr int kPollMilliseconds = 100;

} // namespace

CFindDlg::CFindDlg(std::string& text, Finder find, bool searchAtOnce)
    : toolkit::CDialog(IDD), text_(text), find_(std::move(find)), searchAtOnce_(searchAtOnce)
{
}

const toolkit::MessageMap& CFindDlg::GetMessageMap() const
{
    using D = CFindDlg;
    static const toolkit::MessageMap map = {
        toolkit::OnTimerMessage(&D::OnTimer),
        toolkit::OnCommand(ID_FIND_NEXT, &D::OnOK), // F3
    };
    return map;
}

bool CFindDlg::OnInitDialog()
{
    toolkit::CDialog::OnInitDialog();
    SetCaption(platform::Text(text::FindCaption));
    toolkit::IDialogWindow& w = *Window();
    w.SetItemText(IDC_FIND_LABEL, platform::Text(text::FindLabel));
    w.SetItemText(toolkit::OkCommand, platform::Text(text::FindNextButton));
    w.SetItemText(toolkit::CancelCommand, platform::Text(text::FindCloseButton));
    w.SetItemText(IDC_FIND_STATUS, "");
    w.SetItemText(IDC_FIND_TEXT, text_);
    searched_ = text_;
    if (searchAtOnce_)
        Search(false);
    SetTimer(kPollTimer, kPollMilliseconds);
    // The system gives the focus to the text field, its text selected, so
    // that typing replaces it.
    return true;
}

void CFindDlg::OnTimer(int)
{
    if (Window()->GetItemText(IDC_FIND_TEXT) != searched_)
        Search(false);
}

// Enter: a text typed since the last poll is searched from the start, else
// the search goes on. The box stays open.
void CFindDlg::OnOK()
{
    Search(Window()->GetItemText(IDC_FIND_TEXT) == searched_);
}

void CFindDlg::Search(bool next)
{
    text_ = Window()->GetItemText(IDC_FIND_TEXT);
    searched_ = text_;
    const bool found = text_.empty() || find_(text_, next);
    Window()->SetItemText(IDC_FIND_STATUS, found ? std::string() : platform::Text(text::FindNoMatch, {text_}));
}

} // namespace app
