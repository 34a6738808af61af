#pragma once
// The ten kinds of function and the block lines each one carries after its
// header in the catalogue.
enum class FunctionKind {
    StringSwitch = 1,
    BoundedStringNumber = 2,
    FolderPath = 3,
    OpenTarget = 4,
    FilePath = 5,
    PlainText = 6,
    DwordSwitch = 7,
    DwordNumber = 8,
    BoundedDwordNumber = 9,
    YesNoSwitch = 10,
};

// Block lines after the header; 0 for a number that is no kind.
int BlockLineCount(int kind);
