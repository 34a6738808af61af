#include "app/TextKeys.h"
#include "app/TunewrightDlg.h"

#include "catalogue/FunctionKeys.h"
#include "catalogue/Catalogue.h"
#include "catalogue/FunctionKind.h"
#include "saving/Saving.h"
#include "platform/SystemText.h"
#include "toolkit/Texts.h"

namespace app {

// Timer ticks run while a message box waits and change the members: every
// text a box shows and everything the save needs are taken before the first
// box.
void CTunewrightDlg::OnSaveNewConfiguration()
{
    const catalogue::KindRow* row = catalogue::HeaderKind(header);
    const std::string caption = T(textkey::MessageCaption);
    if (row && row->storage == catalogue::ValueStorage::None) {
        const std::string target = keyPath;
        ShowMessageBox(T(textkey::OpenTargetMessage1) + "\n\n" + T(textkey::OpenTargetMessage2) + "\n" +
                           T(textkey::OpenTargetMessage3),
                       caption);
        OpenWithShell(target);
        return;
    }
    // The panel kept the previous function's key and value: nothing to save.
    const bool shown = panelFilled && shownFunction >= 0 && shownFunction < static_cast<int>(functionNames.size());
    const std::string name = shown ? functionNames[static_cast<std::size_t>(shownFunction)] : std::string();
    if (!row) {
        ShowMessageBox(saving::NothingToSaveMessage(name, header), caption);
        return;
    }

    UpdateData(true);
    // A text with characters that the code page lacks cannot be written as
    // the user sees it: it is refused by name, and nothing is written.
    if (const std::u32string foreign = row->controls.path ? pathEdit.ForeignCharacters() : std::u32string();
        !foreign.empty()) {
        ShowMessageBox(platform::Text(toolkit::text::ForeignTextNotSaved, {pathText, platform::NameCharacters(foreign)}), caption);
        return;
    }
    const std::string hint = hintText;
    const std::string saved = T(textkey::SavedMessage1) + "\n\n" + T(textkey::SavedMessage2) + "\n\n" +
                              T(textkey::SavedMessage3);
    const saving::SaveRequest request{*row,
                                      keyPath,
                                      valueName,
                                      CurrentInput(),
                                      name,
                                      catalogue::FunctionKey(shownFunction),
                                      power.GetApplicationFolder()};
    const saving::SaveOutcome outcome = SaveNewValue(request, power);
    switch (outcome.result) {
    case saving::SaveResult::Saved:
        // What was saved is what the panel shows now: closing does not ask.
        shownInput = request.input;
        ShowMessageBox(saved, caption);
        break;
    case saving::SaveResult::Refused:
        ShowMessageBox(hint);
        break;
    case saving::SaveResult::NotWritten:
        ShowMessageBox(outcome.message, caption);
        break;
    case saving::SaveResult::BackupNotWritten:
        ShowMessageBox(outcome.message, caption, {toolkit::BoxButtons::Ok, toolkit::BoxIcon::Error});
        break;
    }
}

} // namespace app
