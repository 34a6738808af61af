#include "catalogue/OptionPanel.h"

namespace {

std::string LastThree(const std::string& line)
{
    return line.size() > 3 ? line.substr(line.size() - 3) : line;
}

} // namespace

PanelLayout LayoutOf(FunctionKind kind)
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

PanelValue ReadPanelValue(FunctionKind kind, const std::vector<std::string>& lines, PowerClass& power)
{
    PanelValue v;
    v.keyPath = lines[0];
    if (kind == FunctionKind::OpenTarget)
        return v;
    v.valueName = lines[1];
    power.currentKeyPath = v.keyPath;
    const std::string& name = *v.valueName;
    switch (kind) {
    case FunctionKind::StringSwitch:
        v.currentValue = power.ReadStringValue(RegistryLocation::FromPath, name);
        v.switchIndex = *v.currentValue == "1" ? 1 : 0;
        break;
    case FunctionKind::YesNoSwitch:
        v.currentValue = power.ReadStringValue(RegistryLocation::FromPath, name);
        v.switchIndex = *v.currentValue == "yes" ? 1 : 0;
        break;
    case FunctionKind::BoundedStringNumber:
        v.currentValue = power.ReadStringValue(RegistryLocation::FromPath, name);
        v.numberText = v.currentValue;
        v.minimum = PowerClass::DecimalToInt(lines[2]);
        v.maximum = PowerClass::DecimalToInt(lines[3]);
        break;
    case FunctionKind::FolderPath:
    case FunctionKind::PlainText:
        v.currentValue = power.ReadStringValue(RegistryLocation::FromPath, name);
        v.pathText = v.currentValue;
        break;
    case FunctionKind::FilePath:
        v.numberText = LastThree(lines[2]);
        v.currentValue = power.ReadStringValue(RegistryLocation::FromPath, name);
        v.pathText = v.currentValue;
        break;
    case FunctionKind::DwordSwitch: {
        const bool on = power.ReadDwordValue(RegistryLocation::FromPath, name) != 0;
        v.currentValue = on ? "1" : "0";
        v.switchIndex = on ? 1 : 0;
        break;
    }
    case FunctionKind::DwordNumber:
    case FunctionKind::BoundedDwordNumber:
        v.currentValue = std::to_string(power.ReadDwordValue(RegistryLocation::FromPath, name));
        v.numberText = v.currentValue;
        if (kind == FunctionKind::BoundedDwordNumber) {
            v.minimum = PowerClass::DecimalToInt(lines[2]);
            v.maximum = PowerClass::DecimalToInt(lines[3]);
        }
        break;
    case FunctionKind::OpenTarget:
        break;
    }
    return v;
}
