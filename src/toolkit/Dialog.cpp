#include "toolkit/Dialog.h"

#include "platform/Exceptions.h"
#include "toolkit/Resources.h"

namespace toolkit {

namespace {

CWinApp*& AppSlot()
{
    static CWinApp* app = nullptr;
    return app;
}

} // namespace

IDialogWindow& CWndControl::Window() const
{
    if (!window_)
        throw platform::CException("control " + std::to_string(id_) + " is used before it is bound to its window");
    return *window_;
}

CDialog::CDialog(int templateId) : templateId_(templateId) {}

const DialogTemplate& CDialog::Template() const
{
    return GetDialogTemplate(templateId_);
}

Answer CDialog::DoModal()
{
    return CurrentBackend().RunModal(*this);
}

void CDialog::EndDialog(Answer result)
{
    if (window_)
        window_->EndDialog(result);
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return true;
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(Answer::Ok);
}

void CDialog::OnCancel()
{
    EndDialog(Answer::Cancel);
}

void CDialog::DoDataExchange(CDataExchange&) {}

const MessageMap& CDialog::GetMessageMap() const
{
    static const MessageMap none;
    return none;
}

void CDialog::OnClose()
{
    OnCancel();
}

std::optional<bool> CDialog::InitDialog()
{
    try {
        return OnInitDialog();
    } catch (const std::exception& e) {
        ReportError(e.what());
        return std::nullopt;
    }
}

bool CDialog::Route(Message& message)
{
    // Handlers may wait in a modal box, where timer messages are routed in
    // turn: the innermost message is the one Default() speaks of.
    struct Current {
        Message*& slot;
        Message* outer;
        ~Current() { slot = outer; }
    } current{current_, current_};
    current_ = &message;
    try {
        for (const auto& entry : GetMessageMap()) {
            if (entry.kind != message.kind)
                continue;
            if (entry.kind == MsgKind::Command && entry.id != message.id)
                continue;
            entry.handler(*this, message);
            return !message.passedOn;
        }
        DefaultHandling(message);
    } catch (const std::exception& e) {
        ReportError(e.what());
    }
    return !message.passedOn;
}

void CDialog::Dispatch(Message& message)
{
    if (Route(message) || message.kind != MsgKind::SysCommand || (message.id & 0xFFF0) != SystemCloseCommand)
        return;
    Message close;
    close.kind = MsgKind::Close;
    Route(close);
}

void CDialog::Default()
{
    if (current_)
        current_->passedOn = true;
}

void CDialog::OnSysCommand(int, long)
{
    Default();
}

void CDialog::SendCommand(int id)
{
    Message m;
    m.kind = MsgKind::Command;
    m.id = id;
    Dispatch(m);
}

void CDialog::DefaultHandling(Message& message)
{
    if (message.kind == MsgKind::Command && message.id == OkCommand)
        OnOK();
    else if (message.kind == MsgKind::Command && message.id == CancelCommand)
        OnCancel();
    else if (message.kind == MsgKind::Close)
        OnClose();
    else
        Default();
}

Answer CDialog::ShowMessageBox(std::string_view text, std::optional<std::string_view> caption, BoxStyle style)
{
    if (!window_)
        throw platform::CException("a message box needs an open dialog");
    const std::string title = caption ? std::string(*caption) : AppTitle();
    return window_->ShowMessageBox(text, title, style);
}

void CDialog::SetTimer(int timerId, int milliseconds)
{
    if (window_)
        window_->SetTimer(timerId, milliseconds);
}

void CDialog::SetCaption(std::string_view text)
{
    if (window_)
        window_->SetCaption(text);
}

void DDX_Control(CDataExchange& dx, int id, CWndControl& control)
{
    control.Attach(dx.Dialog().Window(), id);
}

void DDX_Text(CDataExchange& dx, int id, std::string& value)
{
    IDialogWindow* w = dx.Dialog().Window();
    if (dx.SaveAndValidate())
        value = w->GetItemText(id);
    else
        w->SetItemText(id, value);
}

void DDX_Radio(CDataExchange& dx, int id, int& value)
{
    const std::vector<int> group = dx.Dialog().Template().RadioGroup(id);
    IDialogWindow* w = dx.Dialog().Window();
    if (dx.SaveAndValidate()) {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i)
            if (w->GetCheck(group[i])) {
                value = static_cast<int>(i);
                break;
            }
    } else {
        for (std::size_t i = 0; i < group.size(); ++i)
            w->SetCheck(group[i], static_cast<int>(i) == value);
    }
}

void DDX_CBString(CDataExchange& dx, int id, std::string& value)
{
    IDialogWindow* w = dx.Dialog().Window();
    if (dx.SaveAndValidate()) {
        value = w->GetItemText(id);
    } else if (w->ComboSelectString(id, value) < 0) {
        w->SetItemText(id, value);
    }
}

void DDX_CBIndex(CDataExchange& dx, int id, int& index)
{
    IDialogWindow* w = dx.Dialog().Window();
    if (dx.SaveAndValidate())
        index = w->ComboGetCurSel(id);
    else
        w->ComboSetCurSel(id, index);
}

CWinApp::CWinApp(std::string title) : title_(std::move(title))
{
    AppSlot() = this;
}

CWinApp::~CWinApp()
{
    if (AppSlot() == this)
        AppSlot() = nullptr;
}

CWinApp* AfxGetApp()
{
    return AppSlot();
}

void RunApplication(IBackend& backend, const platform::Services& services)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        throw platform::CException("the application object is missing");
    const platform::ScopedServices installed(services);
    const ScopedBackend active(backend);
    app->InitInstance();
}

std::string AppTitle()
{
    return AppSlot() ? AppSlot()->Title() : std::string();
}

} // namespace toolkit
