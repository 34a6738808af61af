#include "app/ControlIds.h"
#include "app/TextKeys.h"
#include "app/TunewrightDlg.h"
#include "catalogue/Catalogue.h"
#include "catalogue/FunctionKind.h"
#include "util/TextFile.h"

namespace {

struct Layout {
    bool number, path, frame, offRadio, onRadio, browse;
};

Layout LayoutOf(FunctionKind kind)
{
    switch (kind) {
    case FunctionKind::StringSwitch:
    case FunctionKind::DwordSwitch:
    case FunctionKind::YesNoSwitch:
        return {false, false, true, true, true, false};
    case FunctionKind::BoundedStringNumber:
    case FunctionKind::DwordNumber:
    case FunctionKind::BoundedDwordNumber:
        return {true, false, true, false, false, false};
    case FunctionKind::FolderPath:
    case FunctionKind::FilePath:
        return {false, true, true, false, false, true};
    case FunctionKind::PlainText:
        return {false, true, true, false, false, false};
    case FunctionKind::OpenTarget:
        break;
    }
    return {false, false, false, false, false, false};
}

bool IsSwitch(FunctionKind kind)
{
    return kind == FunctionKind::StringSwitch || kind == FunctionKind::DwordSwitch || kind == FunctionKind::YesNoSwitch;
}

std::string LastThree(const std::string& line)
{
    return line.size() > 3 ? line.substr(line.size() - 3) : line;
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
    // A function whose display failed is tried again only after the user has
    // selected another one, so a broken catalogue is reported once, not on
    // every tick.
    if (selectedFunction == failedFunction)
        return;
    failedFunction = -1;
    if (panelFilled && selectedFunction == shownFunction)
        return;

    const int key = textkey::FunctionKey(selectedFunction);
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
        failedFunction = selectedFunction;
        throw;
    }
    UpdateData(false);
}

void CTunewrightDlg::ShowFunction(int functionKey)
{
    // Read the catalogue first, so that a failed read leaves the panel as it was.
    const std::vector<FunctionBlock> blocks = FindBlocks(ReadTextLines(CataloguePath()), functionKey);

    choiceGroup.SetWindowText(functionNames[static_cast<std::size_t>(selectedFunction)]);

    for (const FunctionBlock& block : blocks) {
        header = block.header;
        if (header.size() >= 4 && header[3] >= '0' && header[3] <= '4')
            availabilityText = T(textkey::FirstAvailability + 5 * (header[3] - '0'));

        const int kindNumber = PowerClass::DecimalToInt(header.substr(0, 2));
        if (kindNumber >= 1 && kindNumber <= 10) {
            const auto kind = static_cast<FunctionKind>(kindNumber);
            const Layout layout = LayoutOf(kind);
            numberEdit.ShowWindow(layout.number ? tk::SW_SHOW : tk::SW_HIDE);
            pathEdit.ShowWindow(layout.path ? tk::SW_SHOW : tk::SW_HIDE);
            valueGroup.ShowWindow(layout.frame ? tk::SW_SHOW : tk::SW_HIDE);
            activatedRadio.ShowWindow(layout.offRadio ? tk::SW_SHOW : tk::SW_HIDE);
            deactivatedRadio.ShowWindow(layout.onRadio ? tk::SW_SHOW : tk::SW_HIDE);
            browseButton.ShowWindow(layout.browse ? tk::SW_SHOW : tk::SW_HIDE);

            saveButton.SetWindowText(T(kind == FunctionKind::OpenTarget ? textkey::OpenTargetButton : textkey::SaveButton));
            if (IsSwitch(kind)) {
                activatedRadio.SetWindowText(T(textkey::OffRadio));
                deactivatedRadio.SetWindowText(T(textkey::OnRadio));
            }
            if (layout.browse)
                browseButton.SetWindowText(T(textkey::BrowseButton));

            const std::vector<std::string>& line = block.lines;
            if (kind == FunctionKind::OpenTarget) {
                keyPath = line[0];
            } else {
                keyPath = line[0];
                valueName = line[1];
                power.currentKeyPath = keyPath;
                switch (kind) {
                case FunctionKind::StringSwitch:
                    currentValue = power.ReadStringValue(RegistryLocation::FromPath, valueName);
                    switchIndex = currentValue == "1" ? 1 : 0;
                    break;
                case FunctionKind::YesNoSwitch:
                    currentValue = power.ReadStringValue(RegistryLocation::FromPath, valueName);
                    switchIndex = currentValue == "yes" ? 1 : 0;
                    break;
                case FunctionKind::BoundedStringNumber:
                    currentValue = power.ReadStringValue(RegistryLocation::FromPath, valueName);
                    numberText = currentValue;
                    minimum = PowerClass::DecimalToInt(line[2]);
                    maximum = PowerClass::DecimalToInt(line[3]);
                    break;
                case FunctionKind::FolderPath:
                case FunctionKind::PlainText:
                    currentValue = power.ReadStringValue(RegistryLocation::FromPath, valueName);
                    pathText = currentValue;
                    break;
                case FunctionKind::FilePath:
                    numberText = LastThree(line[2]);
                    currentValue = power.ReadStringValue(RegistryLocation::FromPath, valueName);
                    pathText = currentValue;
                    break;
                case FunctionKind::DwordSwitch: {
                    const bool on = power.ReadDwordValue(RegistryLocation::FromPath, valueName) != 0;
                    currentValue = on ? "1" : "0";
                    switchIndex = on ? 1 : 0;
                    break;
                }
                case FunctionKind::DwordNumber:
                case FunctionKind::BoundedDwordNumber:
                    currentValue = std::to_string(power.ReadDwordValue(RegistryLocation::FromPath, valueName));
                    numberText = currentValue;
                    if (kind == FunctionKind::BoundedDwordNumber) {
                        minimum = PowerClass::DecimalToInt(line[2]);
                        maximum = PowerClass::DecimalToInt(line[3]);
                    }
                    break;
                case FunctionKind::OpenTarget:
                    break;
                }
            }
        }
        UpdateData(false);
    }
}
