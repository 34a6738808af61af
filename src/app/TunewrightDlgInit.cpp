#include "app/TextKeys.h"
#include "app/TunewrightDlg.h"

#include "app/find/Texts.h"
#include "app/history/Texts.h"
#include "catalogue/Catalogue.h"
#include "catalogue/FunctionDefaults.h"
#include "catalogue/FunctionKeys.h"
#include "toolkit/Resources.h"

namespace app {

namespace {

constexpr int kPollTimer = 1;
constexpr int kPollMilliseconds = 100;
constexpr int kColumnWidth = 270;
const std::string kCategoryPadding(66, ' ');

} // namespace

bool CTunewrightDlg::OnInitDialog()
{
    toolkit::CDialog::OnInitDialog();

    if (!systemMenuExtended) {
        const std::string about = toolkit::LoadResourceString(IDS_ABOUTBOX);
        if (Window()->HasSystemMenu() && !about.empty()) {
            Window()->SystemMenuAppendSeparator();
            Window()->SystemMenuAppend(IDM_ABOUTBOX, about);
        }
        systemMenuExtended = true;
    }

    Window()->SetIcon(icon, true);
    Window()->SetIcon(icon, false);
    backgroundBrush = toolkit::Rgb{240, 240, 240};

    translation.Load();

    AskUacQuestion();

    functionList.DeleteColumn(0);
    functionList.DeleteAllItems();
    functionList.InsertColumn(0, "Function", toolkit::ColumnFormat::Left, kColumnWidth);
    functionList.SetExtendedStyle(toolkit::ListExStyle::FullRowSelect);
    functionList.SetFocus();

    TranslateMenu();
    FillFunctionNames();
    FillCategoryFilter();
    tuningGroup.SetText(T(textkey::TuningGroup));
    functionList.SetSelectionMark(0);

    selectedFunction = 0;
    selectionMark = 0;
    previousSelectionMark = 1;
    currentCategory = 0;
    previousCategory = 0;
    shownFunction = 99;
    panelFilled = false;

    SetTimer(kPollTimer, kPollMilliseconds);
    return true;
}

void CTunewrightDlg::TranslateMenu()
{
    toolkit::IDialogWindow& w = *Window();
    const std::string pad = "  ";
    w.MenuSetItemText(0, -1, T(textkey::MenuFile));
    w.MenuSetItemText(1, -1, T(textkey::MenuHelp));

    struct Item {
        int top, position;
        int textKey;                     // the translation file's key, or
        const platform::TextId* ownText; // for an entry newer than its menu texts, a message of the program's own
        int bitmap;
    };
    // A translation file older than History and Find shows them in English.
    static constexpr Item items[] = {
        {0, 0, textkey::MenuReverse, nullptr, IDB_MENU_REVERSE},
        {0, 1, 0, &text::MenuHistory, IDB_MENU_HISTORY},
        {0, 2, 0, &text::MenuFind, IDB_MENU_FIND},
        {0, 4, textkey::MenuLanguage, nullptr, IDB_MENU_LANGUAGE},
        {0, 6, textkey::MenuExit, nullptr, IDB_MENU_EXIT},
        {1, 0, textkey::MenuHelpFile, nullptr, IDB_MENU_HELP},
        {1, 1, textkey::MenuWebsite, nullptr, IDB_MENU_WEBSITE},
        {1, 3, textkey::MenuAbout, nullptr, IDB_MENU_ABOUT},
    };
    menuBitmaps.clear();
    for (const Item& item : items) {
        const std::string text = item.ownText ? platform::Text(*item.ownText) : T(item.textKey);
        w.MenuSetItemText(item.top, item.position, pad + text);
        // A bitmap that the resources lack leaves its item without one.
        if (toolkit::BitmapFileName(item.bitmap)) {
            w.MenuSetItemBitmap(item.top, item.position, item.bitmap);
            menuBitmaps.push_back(item.bitmap);
        }
    }
    w.DrawMenuBar();
}

void CTunewrightDlg::FillFunctionNames()
{
    // A translation without the end marker stops at the first missing name.
    functionNames = catalogue::FunctionNames([this](int key) { return translation.Find(key); });
    listedFunctions.clear();
    for (std::size_t i = 0; i < functionNames.size(); ++i) {
        functionList.InsertItem(static_cast<int>(i), functionNames[i]);
        listedFunctions.push_back(static_cast<int>(i));
    }
}

void CTunewrightDlg::FillCategoryFilter()
{
    categoryBox.ResetContent();
    for (int i = 0; i < catalogue::CategoryCount; ++i)
        categoryBox.AddString(T(textkey::FirstCategory + textkey::CategoryStep * i) + kCategoryPadding);
    if (catalogue::HasDefaults(power.GetApplicationFolder()))
        categoryBox.AddString(translation.Find(textkey::ChangedCategory).value_or(textkey::ChangedCategoryEnglish) +
                              kCategoryPadding);
    categoryBox.SetCurSel(0);
}

} // namespace app
