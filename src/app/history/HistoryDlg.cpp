#include "app/history/HistoryDlg.h"

#include "app/history/HistoryChange.h"
#include "app/history/HistoryRows.h"
#include "app/history/Texts.h"
#include "changes/BackupHistory.h"
#include "platform/Services.h"

#include <algorithm>
#include <iterator>

namespace app {

namespace {

struct Column {
    const platform::TextId* title;
    int widthPixels;
};
constexpr Column kColumns[] = {
    {&text::ColumnWhen, 135}, {&text::ColumnFunction, 125}, {&text::ColumnBackup, 135}, {&text::ColumnNow, 140}};

platform::IRegistry& Registry()
{
    return *platform::CurrentServices().registry;
}

} // namespace

CHistoryDlg::CHistoryDlg(std::string applicationFolder, std::function<void()> changed,
                         std::function<void(const platform::RegFault&)> unusable)
    : toolkit::CDialog(IDD), applicationFolder_(std::move(applicationFolder)), changed_(std::move(changed)),
      unusable_(std::move(unusable))
{
}

const toolkit::MessageMap& CHistoryDlg::GetMessageMap() const
{
    using D = CHistoryDlg;
    static const toolkit::MessageMap map = {
        toolkit::OnCommand(IDC_HISTORY_RESTORE, &D::OnRestore),
        toolkit::OnCommand(IDC_HISTORY_UNDO, &D::OnUndoSince),
    };
    return map;
}

void CHistoryDlg::DoDataExchange(toolkit::CDataExchange& dx)
{
    toolkit::CDialog::DoDataExchange(dx);
    toolkit::DDX_Control(dx, IDC_HISTORY_LIST, list_);
}

bool CHistoryDlg::OnInitDialog()
{
    toolkit::CDialog::OnInitDialog();
    SetCaption(platform::Text(text::HistoryCaption));
    toolkit::IDialogWindow& w = *Window();
    w.SetItemText(IDC_HISTORY_RESTORE, platform::Text(text::RestoreButton));
    w.SetItemText(IDC_HISTORY_UNDO, platform::Text(text::UndoSinceButton));
    w.SetItemText(toolkit::CancelCommand, platform::Text(text::HistoryCloseButton));
    for (std::size_t k = 0; k < std::size(kColumns); ++k)
        list_.InsertColumn(static_cast<int>(k), platform::Text(*kColumns[k].title), toolkit::ColumnFormat::Left,
                           kColumns[k].widthPixels);
    list_.SetExtendedStyle(toolkit::ListExStyle::FullRowSelect);
    Fill();
    // The system gives the focus to the list, the first tab stop.
    return true;
}

// The backup `keep` stays chosen where it is still listed (a change puts its
// own backup on top of it), else the newest is chosen.
void CHistoryDlg::Fill(const std::string& keep)
{
    list_.DeleteAllItems();
    backups_.clear();
    const std::string folder = backup::BackupFolder(applicationFolder_);
    std::string status;
    if (auto listed = backup::ListBackups(folder)) {
        backups_ = std::move(listed.Value());
        status = platform::Text(backups_.size() == 1 ? text::BackupCountOne : text::BackupCount,
                          {std::to_string(backups_.size()), folder});
    } else {
        status = listed.Error().Message();
    }
    Window()->SetItemText(IDC_HISTORY_STATUS, status);
    for (std::size_t i = 0; i < backups_.size(); ++i) {
        const auto compared = changes::CompareBackup(Registry(), backups_[i].path);
        // The row shows the value as unreadable; the store's fault says why.
        if (compared)
            for (const changes::HistoryValue& value : compared.Value())
                if (!value.now && value.now.Error() == platform::RegError::StoreBroken)
                    unusable_(value.now.Error());
        const HistoryRow row = HistoryRowOf(backups_[i], compared);
        const int item = list_.InsertItem(static_cast<int>(i), row.when);
        list_.SetItemText(item, 1, row.function);
        list_.SetItemWideText(item, 2, row.held);
        list_.SetItemWideText(item, 3, row.now);
    }
    if (backups_.empty())
        return;
    const auto kept = std::find_if(backups_.begin(), backups_.end(),
                                   [&keep](const backup::BackupFile& file) { return file.path == keep; });
    list_.SelectItem(kept == backups_.end() ? 0 : static_cast<int>(kept - backups_.begin()));
}

std::optional<std::size_t> CHistoryDlg::Chosen()
{
    const int mark = list_.GetSelectionMark();
    if (mark >= 0 && mark < static_cast<int>(backups_.size()))
        return static_cast<std::size_t>(mark);
    Tell(platform::Text(text::ChooseBackupFirst), false);
    return std::nullopt;
}

void CHistoryDlg::OnRestore()
{
    const std::optional<std::size_t> row = Chosen();
    if (!row)
        return;
    const backup::BackupFile chosen = backups_[*row];
    Change(changes::RestoreChanges(chosen.path), changes::RestoreChangeName(chosen.fileName),
           platform::Text(text::RestoreQuestion, {chosen.fileName}));
}

// The chosen backup and every newer one, which the list shows above it.
void CHistoryDlg::OnUndoSince()
{
    const std::optional<std::size_t> row = Chosen();
    if (!row)
        return;
    const std::vector<backup::BackupFile> undone(backups_.begin(), backups_.begin() + static_cast<std::ptrdiff_t>(*row) + 1);
    const backup::BackupFile& oldest = undone.back();
    Change(changes::UndoBackupChanges(undone), changes::UndoChangeName(oldest.name.stamp),
           platform::Text(undone.size() == 1 ? text::UndoQuestionOne : text::UndoQuestion,
                    {oldest.fileName, std::to_string(undone.size())}));
}

void CHistoryDlg::Change(const platform::Result<changes::ChangeSet, changes::BackupReadFault>& changes, const std::string& name,
                         const std::string& question)
{
    RunHistoryChange(*this, changes, name, question, backup::BackupFolder(applicationFolder_), [this](bool carriedOut) {
        const int mark = list_.GetSelectionMark();
        const std::string chosen =
            mark >= 0 && mark < static_cast<int>(backups_.size()) ? backups_[static_cast<std::size_t>(mark)].path : "";
        // A change refused after its backup was written leaves that backup,
        // which the list then shows. The arrows go on moving in the list.
        Fill(chosen);
        Window()->SetFocus(IDC_HISTORY_LIST);
        if (carriedOut)
            changed_();
    });
}

void CHistoryDlg::Tell(const std::string& message, bool failure)
{
    ShowMessageBox(message, platform::Text(text::HistoryCaption),
                   {toolkit::BoxButtons::Ok, failure ? toolkit::BoxIcon::Error : toolkit::BoxIcon::None});
}

} // namespace app
