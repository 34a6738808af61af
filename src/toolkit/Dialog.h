#pragma once
// Our small stand-in for the dialog toolkit: an application object, dialogs on
// numbered templates, a message map from messages and command ids to
// handlers, and the data exchange between controls and members.
#include "toolkit/Backend.h"
#include "toolkit/Controls.h"
#include "toolkit/DialogWindow.h"
#include "platform/Services.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace toolkit {

class CDialog;
struct DialogTemplate;

// The messages a dialog can receive.
enum class MsgKind {
    Command,       // id: command or control id
    SysCommand,    // id: system command
    Timer,         // id: timer id
    Close,         // close box, system menu Close, Alt+F4
    Paint,
    QueryDragIcon, // result: the icon id
    HelpInfo,      // F1
    CtlColor,      // colours of one control (or the dialog, id 0)
    Activate,      // the window has become the active one
};

struct Rgb {
    unsigned char r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// What a colour request hands the handler; it fills in the colours.
struct CtlColorRequest {
    int controlId = 0;
    bool transparentBackground = false;
    std::optional<Rgb> textColor;
    std::optional<Rgb> textBackground;
    std::optional<Rgb> brush; // the returned background brush
};

struct Message {
    MsgKind kind = MsgKind::Command;
    int id = 0;
    long param = 0;
    CtlColorRequest* color = nullptr; // CtlColor only
    long result = 0;
    // Set when the program leaves the message to the system's default
    // processing: no handler took it, or its handler called Default().
    bool passedOn = false;
};

struct MessageEntry {
    MsgKind kind;
    int id; // command id for Command entries; ignored otherwise
    std::function<void(CDialog&, Message&)> handler;
};

using MessageMap = std::vector<MessageEntry>;

// Entry builders, so that a message map reads as a table of handlers.
template <class D>
MessageEntry OnCommand(int id, void (D::*fn)())
{
    return {MsgKind::Command, id, [fn](CDialog& d, Message&) { (static_cast<D&>(d).*fn)(); }};
}
template <class D>
MessageEntry OnTimerMessage(void (D::*fn)(int))
{
    return {MsgKind::Timer, 0, [fn](CDialog& d, Message& m) { (static_cast<D&>(d).*fn)(m.id); }};
}
template <class D>
MessageEntry OnSysCommandMessage(void (D::*fn)(int, long))
{
    return {MsgKind::SysCommand, 0, [fn](CDialog& d, Message& m) { (static_cast<D&>(d).*fn)(m.id, m.param); }};
}
template <class D>
MessageEntry OnCloseMessage(void (D::*fn)())
{
    return {MsgKind::Close, 0, [fn](CDialog& d, Message&) { (static_cast<D&>(d).*fn)(); }};
}
template <class D>
MessageEntry OnPaintMessage(void (D::*fn)())
{
    return {MsgKind::Paint, 0, [fn](CDialog& d, Message&) { (static_cast<D&>(d).*fn)(); }};
}
template <class D>
MessageEntry OnQueryDragIconMessage(int (D::*fn)())
{
    return {MsgKind::QueryDragIcon, 0, [fn](CDialog& d, Message& m) { m.result = (static_cast<D&>(d).*fn)(); }};
}
template <class D>
MessageEntry OnHelpInfoMessage(bool (D::*fn)())
{
    return {MsgKind::HelpInfo, 0, [fn](CDialog& d, Message& m) { m.result = (static_cast<D&>(d).*fn)(); }};
}
template <class D>
MessageEntry OnActivateMessage(void (D::*fn)())
{
    return {MsgKind::Activate, 0, [fn](CDialog& d, Message&) { (static_cast<D&>(d).*fn)(); }};
}
template <class D>
MessageEntry OnCtlColorMessage(void (D::*fn)(CtlColorRequest&))
{
    return {MsgKind::CtlColor, 0, [fn](CDialog& d, Message& m) { if (m.color) (static_cast<D&>(d).*fn)(*m.color); }};
}

class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate) : dialog_(dialog), save_(saveAndValidate) {}
    CDialog& Dialog() const { return dialog_; }
    // true: controls to members; false: members to controls.
    bool SaveAndValidate() const { return save_; }

private:
    CDialog& dialog_;
    bool save_;
};

void DDX_Control(CDataExchange& dx, int id, CWndControl& control);
void DDX_Text(CDataExchange& dx, int id, std::string& value);
// The radio group that starts at `id`: index of the checked button, -1 none.
void DDX_Radio(CDataExchange& dx, int id, int& value);
// Towards the control: select the first entry beginning with the text (case
// ignored), or put the text into the edit field when none does. From the
// control: its window text.
void DDX_CBString(CDataExchange& dx, int id, std::string& value);
// The selected entry by position, -1 for none: entries with the same text
// stay apart.
void DDX_CBIndex(CDataExchange& dx, int id, int& index);

class CDialog {
public:
    explicit CDialog(int templateId);
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    int TemplateId() const { return templateId_; }
    const DialogTemplate& Template() const;

    // Runs the dialog modally on the current backend; returns Ok, Cancel or
    // what EndDialog was given.
    Answer DoModal();
    void EndDialog(Answer result);
    bool UpdateData(bool saveAndValidate = true);

    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange& dx);
    virtual const MessageMap& GetMessageMap() const;

    // For backends: attaches the open window, runs the initialisation and
    // routes messages through the message map. Errors that escape a handler
    // are reported in the standard error box; they end only that handler.
    void AttachWindow(IDialogWindow* window) { window_ = window; }
    IDialogWindow* Window() const { return window_; }
    // What OnInitDialog answered (true: the system gives the focus to the
    // first tab stop), or nothing when it failed with an error (reported).
    std::optional<bool> InitDialog();
    // False when the initialisation failed with an error (already reported).
    bool RunInitDialog() { return InitDialog().has_value(); }
    // For backends over a window system: the message map, then the toolkit's
    // own defaults (OK, Cancel, the close request). False when the message is
    // passed on: the system's default processing must handle it (moving,
    // minimising, the system menu's own commands, its Close among them).
    bool Route(Message& message);
    // For backends that keep their windows in memory: Route, then what the
    // system's default processing does with a message passed on, which here
    // means the system menu's Close becomes the close request.
    void Dispatch(Message& message);
    void SendCommand(int id);

    // A caption that is given is shown as it is, empty or not; without one the
    // box shows the application's title.
    Answer ShowMessageBox(std::string_view text, std::optional<std::string_view> caption = std::nullopt,
                          BoxStyle style = {});
    void SetTimer(int timerId, int milliseconds);
    // The dialog's title.
    void SetCaption(std::string_view text);

protected:
    // Default handling of the close request: the Cancel command.
    void OnClose();
    // Default handling of a system command: the system's.
    void OnSysCommand(int commandId, long param);
    // A handler that leaves the message it handles to the system's default
    // processing calls this.
    void Default();

private:
    void DefaultHandling(Message& message);

    int templateId_;
    IDialogWindow* window_ = nullptr;
    Message* current_ = nullptr; // the message being routed, innermost first
};

class CWinApp {
public:
    explicit CWinApp(std::string title);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual bool InitInstance() = 0;

    const std::string& Title() const { return title_; }

    CDialog* m_pMainWnd = nullptr;

private:
    std::string title_;
};

CWinApp* AfxGetApp();
// Runs the program: the application object's InitInstance, with the backend
// and the services installed while it runs. Throws CException when there is
// no application object.
void RunApplication(IBackend& backend, const platform::Services& services);
// The title the application object gave, shown on message boxes that have no
// caption of their own; empty when there is no application object.
std::string AppTitle();

} // namespace toolkit
