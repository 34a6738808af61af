#include "app/TextKeys.h"
#include "app/TunewrightDlg.h"

#include "catalogue/Catalogue.h"
#include "catalogue/FunctionFilter.h"
#include "catalogue/FunctionKeys.h"
#include "catalogue/OptionPanel.h"
#include "util/TextFile.h"

#include <optional>

namespace {

// A member takes a value only when the reading set one.
template <class T>
void Take(T& member, const std::optional<T>& value)
{
    if (value)
        member = *value;
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
    const std::vector<FunctionBlock> blocks =
        FindBlocks(ReadTextLines(CataloguePath(power.GetApplicationFolder())), functionKey);

    choiceGroup.SetText(functionNames[static_cast<std::size_t>(selectedFunction)]);

    for (const FunctionBlock& block : blocks) {
        header = block.header;
        if (header.size() >= 4 && header[3] >= '0' && header[3] <= '4')
            availabilityText = T(textkey::FirstAvailability + 5 * (header[3] - '0'));

        if (const KindRow* row = HeaderKind(header)) {
            const KindControls& shown = row->controls;
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

            const PanelValue value = ReadPanelValue(*row, block.lines, power);
            keyPath = value.keyPath;
            Take(valueName, value.valueName);
            Take(currentValue, value.currentValue);
            Take(switchIndex, value.switchIndex);
            Take(numberText, value.numberText);
            Take(pathText, value.pathText);
            Take(minimum, value.minimum);
            Take(maximum, value.maximum);
        }
        UpdateData(false);
    }
}
