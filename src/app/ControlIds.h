#pragma once
// Controls and commands of the main dialog (template 102, menu 132).
namespace ctl {

constexpr int FunctionList = 1000;
constexpr int Hint = 1001;
constexpr int OffRadio = 1002;
constexpr int OnRadio = 1003;
constexpr int ValueGroup = 1004;
constexpr int NumberEdit = 1005;
constexpr int PathEdit = 1006;
constexpr int BrowseButton = 1007;
constexpr int Info = 1008;
constexpr int CategoryBox = 1009;
constexpr int SaveButton = 1010;
constexpr int ChoiceGroup = 1011;
constexpr int TuningGroup = 1019;
constexpr int Availability = 1021;

} // namespace ctl

namespace cmd {

constexpr int AboutSystemMenu = 16;
constexpr int Exit = 32771;
constexpr int ReverseChanges = 32772;
constexpr int ShowHelpFile = 32776;
constexpr int GoToWebsite = 32777;
constexpr int About = 32778;
constexpr int LanguageSelection = 32779;

} // namespace cmd
