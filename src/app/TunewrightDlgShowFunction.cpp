#include "app/TextKeys.h"
#include "app/Texts.h"
#include "app/TunewrightDlg.h"

#include "catalogue/Catalogue.h"
#include "catalogue/FunctionFilter.h"
#include "catalogue/FunctionKeys.h"
#include "catalogue/OptionPanel.h"
#include "platform/SystemText.h"
#include "util/TextFile.h"

#include <algorithm>
#include <optional>

namespace app {

namespace {

// A member takes a value only when the reading set one.
template <class T>
void Take(T& member, const std::optional<T>& value)
{
    if (value)
        member = *value;
}

// The registry's text when the code page cannot hold it, for the panel to
// show as it is; the member keeps the text with '?' in place of those
// characters, and Save refuses it until the user replaces it.
std::optional<std::u16string> TextBeyondCodePage(const util::PowerClass& power, const std::string& valueName)
{
    const auto exact = power.ReadExactValue(valueName);
    if (!exact || !exact.Value().utf16)
        return std::nullopt;
    const platform::RegValue& value = exact.Value().value;
    if (value.type != platform::RegType::Sz && value.type != platform::RegType::ExpandSz)
        return std::nullopt;
    return platform::DecodeUtf16Le(value.data, platform::ZeroUnit::Ends);
}

} // namespace

void CTunewrightDlg::ShowSelectedFunction()
{
    UpdateData(true);

    // A mark of -1, or one past the last item (an empty filtered list), names
    // no function: the panel keeps what it shows.
    if (selectionMark < 0 || selectionMark >= static_cast<int>(listedFunctions.size()))
        return;
    selectedFunction = listedFunctions[static_cast<std::size_t>(selectionMark)];
    if (selectedFunction >= static_cast<int>(functionNames.size()))
        return;
    if (panelFilled && selectedFunction == shownFunction)
        return;
    if (!MayLeaveShownFunction())
        return;

    const int key = catalogue::FunctionKey(selectedFunction);
    const std::string previousHint = hintText;
    const std::string previousInfo = infoText;
    const int previousShown = shownFunction;
    const bool wasFilled = panelFilled;
    hintText = T(key + 1);
    infoText = T(key + 2);
    shownFunction = selectedFunction;
    panelFilled = true;
    try {
        ShowFunction(key);
    } catch (...) {
        // The panel still shows the earlier function: keep the members that
        // saving reads consistent with it.
        hintText = previousHint;
        infoText = previousInfo;
        shownFunction = previousShown;
        panelFilled = wasFilled;
        // The list loses its selection mark, so that the polls find no
        // function to try again and a broken catalogue is reported once; a
        // click on any item, the failed one too, sets the mark anew and is
        // tried at the next poll.
        functionList.SetSelectionMark(-1);
        selectionMark = -1;
        throw;
    }
    UpdateData(false);
}

void CTunewrightDlg::ShowFunction(int functionKey)
{
    // Read the catalogue first, so that a failed read leaves the panel as it was.
    const std::vector<catalogue::FunctionBlock> blocks =
        catalogue::FindBlocks(util::ReadTextFile(catalogue::CataloguePath(power.GetApplicationFolder())), functionKey);

    choiceGroup.SetText(functionNames[static_cast<std::size_t>(shownFunction)]);

    for (const catalogue::FunctionBlock& block : blocks) {
        header = block.header;
        std::optional<std::u16string> exactPath;
        if (header.size() >= 4 && header[3] >= '0' && header[3] <= '4')
            availabilityText = T(textkey::FirstAvailability + 5 * (header[3] - '0'));

        if (const catalogue::KindRow* row = catalogue::HeaderKind(header)) {
            const catalogue::KindControls& shown = row->controls;
            numberEdit.ShowWindow(shown.number);
            pathEdit.ShowWindow(shown.path);
            valueGroup.ShowWindow(shown.frame);
            activatedRadio.ShowWindow(shown.radios);
            deactivatedRadio.ShowWindow(shown.radios);
            browseButton.ShowWindow(shown.browse);

            saveButton.SetText(T(row->saveCaptionKey));
            if (shown.radios) {
                activatedRadio.SetText(T(textkey::OffRadio));
                deactivatedRadio.SetText(T(textkey::OnRadio));
            }
            if (shown.browse)
                browseButton.SetText(T(textkey::BrowseButton));

            const catalogue::PanelValue value = ReadPanelValue(*row, block.lines, power);
            if (value.fault)
                ShowRegistryFault(*value.fault);
            keyPath = value.keyPath;
            Take(valueName, value.valueName);
            Take(currentValue, value.currentValue);
            Take(switchIndex, value.switchIndex);
            Take(numberText, value.numberText);
            Take(pathText, value.pathText);
            Take(minimum, value.minimum);
            Take(maximum, value.maximum);
            if (shown.path)
                exactPath = TextBeyondCodePage(power, valueName);
        }
        UpdateData(false);
        if (exactPath)
            pathEdit.SetWideText(*exactPath);
    }
    shownInput = CurrentInput();
}

// After Reverse changes: the shown function's value as the registry holds it
// now, so that the next Save does not write back what was just reversed.
void CTunewrightDlg::ShowFunctionAgain()
{
    if (!ShowsFunction())
        return;
    // The members take what the controls hold, so that writing them back
    // below changes only the panel's value.
    UpdateData(true);
    ShowFunction(catalogue::FunctionKey(shownFunction));
}

saving::PanelInput CTunewrightDlg::CurrentInput() const
{
    return saving::PanelInput{switchIndex, numberText, pathText, minimum, maximum};
}

// Whether the controls hold a value for the shown function that differs from
// the one shown for it or last saved: one that closing, or reading the
// registry again, would lose.
bool CTunewrightDlg::HoldsUnsavedValue()
{
    UpdateData(true);
    const catalogue::KindRow* row = catalogue::HeaderKind(header);
    return ShowsFunction() && row && PanelDiffers(*row, shownInput, CurrentInput());
}

// Picking another function while the panel holds an unsaved value asks
// first, as closing does; No selects the shown function's row again (none
// when the filter hides it), and the panel keeps what was typed.
bool CTunewrightDlg::MayLeaveShownFunction()
{
    // The timer goes on while the question waits: its polls see the same
    // pick and must not ask again.
    if (askingToLeave)
        return false;
    if (!HoldsUnsavedValue())
        return true;
    askingToLeave = true;
    const std::string question =
        platform::Text(text::LeaveUnsaved, {functionNames[static_cast<std::size_t>(shownFunction)],
                                      functionNames[static_cast<std::size_t>(selectedFunction)]});
    const toolkit::Answer answer = ShowMessageBox(question, T(textkey::MessageCaption),
                                             {toolkit::BoxButtons::YesNo, toolkit::BoxIcon::Question, true});
    askingToLeave = false;
    if (answer == toolkit::Answer::Yes)
        return true;
    const auto row = std::find(listedFunctions.begin(), listedFunctions.end(), shownFunction);
    selectionMark = row == listedFunctions.end() ? -1 : static_cast<int>(row - listedFunctions.begin());
    if (selectionMark < 0)
        functionList.SetSelectionMark(-1);
    else
        functionList.SelectItem(selectionMark);
    previousSelectionMark = selectionMark;
    selectedFunction = shownFunction;
    return false;
}

bool CTunewrightDlg::ShowsFunction() const
{
    return panelFilled && shownFunction >= 0 && shownFunction < static_cast<int>(functionNames.size());
}

} // namespace app
