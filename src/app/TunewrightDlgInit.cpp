#include "app/TextKeys.h"
#include "app/TunewrightDlg.h"

#include "app/find/Texts.h"
#include "catalogue/Catalogue.h"
#include "catalogue/FunctionKeys.h"
#include "toolkit/Resources.h"

namespace {

constexpr int kPollTimer = 1;
constexpr int kPollMilliseconds = 100;
constexpr int kColumnWidth = 270;
const std::string kCategoryPadding(66, ' ');

} // namespace

bool CTunewrightDlg::OnInitDialog()
{
    tk::CDialog::OnInitDialog();

    if (!systemMenuExtended) {
        const std::string about = tk::LoadResourceString(IDS_ABOUTBOX);
        if (Window()->HasSystemMenu() && !about.empty()) {
            Window()->SystemMenuAppendSeparator();
            Window()->SystemMenuAppend(IDM_ABOUTBOX, about);
        }
        systemMenuExtended = true;
    }

    Window()->SetIcon(icon, true);
    Window()->SetIcon(icon, false);
    backgroundBrush = tk::Rgb{240, 240, 240};

    translation.Load();

    AskUacQuestion();

    functionList.DeleteColumn(0);
    functionList.DeleteAllItems();
    functionList.InsertColumn(0, "Function", tk::ColumnFormat::Left, kColumnWidth);
    functionList.SetExtendedStyle(tk::ListExStyle::FullRowSelect);
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
    tk::IDialogWindow& w = *Window();
    const std::string pad = "  ";
    w.MenuSetItemText(0, -1, T(textkey::MenuFile));
    w.MenuSetItemText(1, -1, T(textkey::MenuHelp));

    struct Item {
        int top, position, textKey, bitmap;
    };
    // Find's text is one of the program's own messages (key 0: see below).
    static constexpr Item items[] = {
        {0, 0, 0, IDB_MENU_FIND},
        {0, 1, textkey::MenuReverse, IDB_MENU_REVERSE},   {0, 3, textkey::MenuLanguage, IDB_MENU_LANGUAGE},
        {0, 5, textkey::MenuExit, IDB_MENU_EXIT},         {1, 0, textkey::MenuHelpFile, IDB_MENU_HELP},
        {1, 1, textkey::MenuWebsite, IDB_MENU_WEBSITE},   {1, 3, textkey::MenuAbout, IDB_MENU_ABOUT},
    };
    menuBitmaps.clear();
    for (const Item& item : items) {
        // A translation file older than Find shows its entry in English.
        const std::string text = item.textKey == 0 ? tk::Text(text::MenuFind) : T(item.textKey);
        w.MenuSetItemText(item.top, item.position, pad + text);
        // A bitmap that the resources lack leaves its item without one.
        if (tk::BitmapFileName(item.bitmap)) {
            w.MenuSetItemBitmap(item.top, item.position, item.bitmap);
            menuBitmaps.push_back(item.bitmap);
        }
    }
    w.DrawMenuBar();
}

void CTunewrightDlg::FillFunctionNames()
{
    // A translation without the end marker stops at the first missing name.
    functionNames = FunctionNames([this](int key) -> std::optional<std::string> {
        if (!translation.Has(key))
            return std::nullopt;
        return T(key);
    });
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
    categoryBox.SetCurSel(0);
}
