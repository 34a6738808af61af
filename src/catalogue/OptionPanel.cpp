#include "catalogue/OptionPanel.h"

namespace catalogue {

namespace {

std::string LastThree(const std::string& line)
{
    return line.size() > 3 ? line.substr(line.size() - 3) : line;
}

// The reads of the function's value: from the registry, or from a value
// read already.
struct ValueReads {
    std::function<util::RegReading<std::string>()> text;
    std::function<util::RegReading<std::int32_t>()> number;
};

// The switch's state and the text the panel keeps as its current value.
void ReadSwitch(const KindRow& row, const ValueReads& reads, PanelValue& v)
{
    const SwitchValues& s = row.switchValues;
    bool on = false;
    if (row.storage == ValueStorage::Dword) {
        const auto number = reads.number();
        on = static_cast<std::uint32_t>(number.value) != s.offNumber;
        v.currentValue = std::string(on ? s.onText : s.offText);
        v.fault = number.fault;
    } else {
        auto text = reads.text();
        on = text.value == s.onText;
        v.currentValue = std::move(text.value);
        v.fault = std::move(text.fault);
    }
    v.switchIndex = on ? 1 : 0;
}

// A caption as a control shows it: "&&" is one "&", a single "&" marks the
// mnemonic and is not shown.
std::string ShownCaption(const std::string& caption)
{
    std::string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        else if (caption[i] == '&')
            continue;
        shown += caption[i];
    }
    return shown;
}

// Sets the current key path to the function's key before `reads` run.
PanelValue PanelValueFrom(const KindRow& row, const std::vector<std::string>& lines, util::PowerClass& power,
                          const ValueReads& reads)
{
    PanelValue v;
    v.keyPath = lines[0];
    if (row.storage == ValueStorage::None)
        return v;
    v.valueName = lines[1];
    power.currentKeyPath = v.keyPath;

    if (row.extension)
        v.numberText = LastThree(lines[2]);
    if (row.controls.radios) {
        ReadSwitch(row, reads, v);
    } else {
        if (row.storage == ValueStorage::Dword) {
            const auto number = reads.number();
            v.currentValue = std::to_string(number.value);
            v.fault = number.fault;
        } else {
            auto text = reads.text();
            v.currentValue = std::move(text.value);
            v.fault = std::move(text.fault);
        }
        (row.controls.number ? v.numberText : v.pathText) = v.currentValue;
    }
    // The bounds are read after the value; the order has no other effect.
    if (row.bounds) {
        v.minimum = util::PowerClass::DecimalToInt(lines[2]);
        v.maximum = util::PowerClass::DecimalToInt(lines[3]);
    }
    return v;
}

} // namespace

PanelValue ReadPanelValue(const KindRow& row, const std::vector<std::string>& lines, util::PowerClass& power)
{
    return PanelValueFrom(row, lines, power,
                          {[&] { return power.ReadString(util::RegistryLocation::FromPath, lines[1]); },
                           [&] { return power.ReadDword(util::RegistryLocation::FromPath, lines[1]); }});
}

PanelValue PanelValueOf(const KindRow& row, const std::vector<std::string>& lines, util::PowerClass& power,
                        const platform::Result<platform::RegValue, platform::RegFault>& raw)
{
    return PanelValueFrom(row, lines, power,
                          {[&] { return power.StringOf(raw); }, [&] { return power.DwordOf(raw); }});
}

std::string PanelValueText(const KindRow& row, const PanelValue& value, const std::function<std::string(int key)>& textOf)
{
    if (row.controls.radios)
        return ShownCaption(textOf(value.switchIndex == 1 ? kinds::kOnCaptionKey : kinds::kOffCaptionKey));
    if (row.controls.number)
        return value.numberText.value_or(std::string());
    return value.pathText.value_or(std::string());
}

} // namespace catalogue
