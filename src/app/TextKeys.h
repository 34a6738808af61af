#pragma once
// Keys of the translation file that the main window uses.
#include "catalogue/FunctionKind.h"

namespace app {

namespace textkey {

constexpr int LanguageGroupCaption = 1;
constexpr int MessageCaption = 5;
constexpr int FirstCategory = 10; // 10, 15, ... 35: the category entries
constexpr int CategoryStep = 5;
// The seventh entry's key follows the six; its English text stands in for a
// translation file older than the entry.
constexpr int ChangedCategory = FirstCategory + CategoryStep * 6;
inline constexpr const char* ChangedCategoryEnglish = "Changed from Windows default";
constexpr int TuningGroup = 50;
// 55 and 75, the save button's captions, are in the table of kinds
// (catalogue/FunctionKind.h).
constexpr int OffRadio = catalogue::kinds::kOffCaptionKey;
constexpr int OnRadio = catalogue::kinds::kOnCaptionKey;
constexpr int BrowseButton = 70;
constexpr int FolderBrowserTitle = 80;
constexpr int OpenTargetMessage1 = 85;
constexpr int OpenTargetMessage2 = 90;
constexpr int OpenTargetMessage3 = 95;
constexpr int SavedMessage1 = 100;
constexpr int SavedMessage2 = 105;
constexpr int SavedMessage3 = 110;
constexpr int ReverseMessage1 = 115;
constexpr int ReverseMessage2 = 120;
constexpr int UacQuestion1 = 125;
constexpr int UacQuestion2 = 130;
constexpr int UacQuestion3 = 135;
constexpr int FirstAvailability = 140; // 140, 145, ... 160 for codes "0" to "4"
constexpr int MenuFile = 200;
constexpr int MenuLanguage = 205;
constexpr int MenuReverse = 210;
constexpr int MenuExit = 220;
constexpr int MenuHelp = 245;
constexpr int MenuHelpFile = 250;
constexpr int MenuWebsite = 255;
constexpr int MenuAbout = 260;

} // namespace textkey

} // namespace app
