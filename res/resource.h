// Resource ids of Orvelle Tunewright, shared by the resource script and the
// program. The toolkit's own script reader takes the ids from the
// "#define NAME number" lines here too.
#ifndef TUNEWRIGHT_RESOURCE_H
#define TUNEWRIGHT_RESOURCE_H

// Dialogs, menu, strings and pictures.
#define IDD_ABOUTBOX                    100
#define IDS_ABOUTBOX                    101
#define IDD_TUNEWRIGHT_DIALOG           102
#define IDR_MAINFRAME                   128
#define IDR_MAINMENU                    132
#define IDD_LANGUAGE_SELECTION          134
#define IDB_BANNER_BOTTOM               135
#define IDB_BANNER_TOP                  136
#define IDB_MENU_LANGUAGE               138
#define IDB_MENU_ABOUT                  139
#define IDB_MENU_REVERSE                140
#define IDB_MENU_EXIT                   143
#define IDB_MENU_HELP                   145
#define IDB_MENU_WEBSITE                146
#define IDB_MENU_FIND                   147
#define IDB_MENU_HISTORY                148
#define IDD_FIND                        150
#define IDD_HISTORY                     151

// Controls of the main dialog.
#define IDC_FUNCTION_LIST               1000
#define IDC_HINT_TEXT                   1001
#define IDC_OFF_RADIO                   1002
#define IDC_ON_RADIO                    1003
#define IDC_VALUE_GROUP                 1004
#define IDC_NUMBER_EDIT                 1005
#define IDC_PATH_EDIT                   1006
#define IDC_BROWSE_BUTTON               1007
#define IDC_INFO_TEXT                   1008
#define IDC_CATEGORY_BOX                1009
#define IDC_SAVE_BUTTON                 1010
#define IDC_CHOICE_GROUP                1011
#define IDC_TUNING_GROUP                1019
#define IDC_AVAILABILITY_TEXT           1021

// Controls of the language dialog.
#define IDC_LANGUAGE_GROUP              1019
#define IDC_LANGUAGE_BOX                1020

// Controls of the Find box.
#define IDC_FIND_LABEL                  1030
#define IDC_FIND_TEXT                   1031
#define IDC_FIND_STATUS                 1032

// Controls of the history of changes.
#define IDC_HISTORY_LIST                1040
#define IDC_HISTORY_STATUS              1041
#define IDC_HISTORY_RESTORE             1042
#define IDC_HISTORY_UNDO                1043

// Commands of the menu, and the About entry of the system menu.
#define IDM_ABOUTBOX                    16
#define ID_FILE_EXIT                    32771
#define ID_FILE_REVERSE_CHANGES         32772
#define ID_HELP_SHOW_HELP_FILE          32776
#define ID_HELP_GO_TO_WEBSITE           32777
#define ID_HELP_ABOUT                   32778
#define ID_FILE_LANGUAGE_SELECTION      32779
#define ID_FILE_FIND                    32780
// F3: the next function that holds the text of Find.
#define ID_FIND_NEXT                    32781
#define ID_FILE_HISTORY                 32782

// Controls without an id; the Windows headers leave this to the script.
#ifndef IDC_STATIC
#define IDC_STATIC                      -1
#endif

#endif
