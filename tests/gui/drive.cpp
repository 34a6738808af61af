// Drives the window of another program under the same Windows (or Wine) as
// a user would, one step an argument; prints nothing but what `measure`
// prints, and exits 1 naming the step that failed. Each wait gives up after
// ten seconds.
//
//   window TITLE      wait for the visible top-level window TITLE; it becomes
//                     the main window and the window the steps work on
//   owned TITLE       wait for a visible window TITLE that the window owns
//   box               wait for a dialog box (a message box, the file dialog)
//                     that the window the steps work on owns; the steps work
//                     on it
//   back              the steps work on the main window again
//   count ID N        wait until list view ID holds N items
//   text ID TEXT      wait until control ID shows TEXT
//   mark ID N         set the selection mark of list view ID, as a click does
//   select ID N       make row N of list view ID the one selected row and the
//                     selection mark, as a click does
//   cell ID R C TEXT  wait until row R of list view ID shows TEXT in column C
//   wcell ID R C TEXT the same with a TEXT that the ANSI code page may lack,
//                     compared wide
//   pick ID N         select entry N of combo box ID
//   has ID TEXT       wait until control ID shows a text that contains TEXT
//   set ID TEXT       put TEXT into edit (or combo box) ID, as typing does
//   wset ID TEXT      the same with a TEXT that the ANSI code page may lack
//   wtext ID TEXT     wait until control ID shows TEXT, compared wide
//   click ID          click button ID
//   command ID        choose menu command ID, or answer a box with button ID
//   syscommand N      choose system command N (SC_CLOSE: 61536)
//   activate          tell the window that it is the active one again, as
//                     the system does when the user comes back to it
//   press KEY         bring the window to the front and press KEY there as
//                     the keyboard does: F1 to F12, Enter, Escape, Tab or a
//                     letter, after any of Ctrl+, Shift+ and Alt+ ("Ctrl+F")
//   gone              wait until the window is destroyed
//   banners           wait until every picture of the window is as wide as
//                     the window's inside, leaving no grey band beside it
//   fills ID          wait until the one column of list view ID spans the
//                     list, beside the room of its scroll bar
//   dpi N             tell the window that it is now on a monitor of N DPI,
//                     as Windows does when it is moved there, suggesting a
//                     place 16 pixels lower and to the right; the window must
//                     take that place
//   measure           print the size of the window's inside, and the class,
//                     id, place and size of each of its controls; the widths
//                     of a list's columns, or "fills" for one column that
//                     spans its list
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

namespace {

HWND window = nullptr;
HWND mainWindow = nullptr;

template <class Condition>
bool Wait(Condition condition)
{
    for (int waited = 0; waited < 10000; waited += 20) {
        if (condition())
            return true;
        ::Sleep(20);
    }
    return condition();
}

std::string TextOf(HWND control)
{
    char text[1024] = "";
    DWORD_PTR length = 0;
    ::SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                          &length);
    return text;
}

// A visible dialog window that `owner` owns, with `title` unless that is
// null. A message box may bear its owner's title: the search goes by owner,
// not by the first window of the title.
struct OwnedBox {
    HWND owner;
    const char* title;
    HWND found;
};

BOOL CALLBACK FindOwnedBox(HWND candidate, LPARAM context)
{
    auto& search = *reinterpret_cast<OwnedBox*>(context);
    char className[16] = "";
    ::GetClassNameA(candidate, className, sizeof className);
    if (std::string(className) != "#32770" || ::GetWindow(candidate, GW_OWNER) != search.owner ||
        !::IsWindowVisible(candidate) || (search.title && TextOf(candidate) != search.title))
        return TRUE;
    search.found = candidate;
    return FALSE;
}

bool WaitForOwned(const char* title)
{
    OwnedBox search{window, title, nullptr};
    const bool found = Wait([&] {
        ::EnumWindows(FindOwnedBox, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    window = search.found;
    return found;
}

std::wstring WideTextOf(HWND control)
{
    wchar_t text[1024] = L"";
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &length);
    return text;
}

// The virtual-key code of a key name; 0 for none.
WORD KeyCode(const std::string& name)
{
    if (name == "Enter")
        return VK_RETURN;
    if (name == "Escape")
        return VK_ESCAPE;
    if (name == "Tab")
        return VK_TAB;
    if (name.size() >= 2 && name[0] == 'F' && std::atoi(name.c_str() + 1) >= 1 && std::atoi(name.c_str() + 1) <= 12)
        return static_cast<WORD>(VK_F1 + std::atoi(name.c_str() + 1) - 1);
    if (name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9')))
        return static_cast<WORD>(name[0]);
    return 0;
}

INPUT KeyInput(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Real key strokes, as the keyboard gives them, go to the foreground window:
// keys that a program translates itself (its accelerators) reach it only so.
bool Press(std::string chord)
{
    std::vector<WORD> modifiers;
    for (const auto& [prefix, key] : {std::pair<std::string, WORD>{"Ctrl+", VK_CONTROL}, {"Shift+", VK_SHIFT},
                                      {"Alt+", VK_MENU}})
        if (chord.rfind(prefix, 0) == 0) {
            modifiers.push_back(key);
            chord = chord.substr(prefix.size());
        }
    const WORD key = KeyCode(chord);
    if (key == 0 || !window)
        return false;
    ::SetForegroundWindow(window);
    if (!Wait([] { return ::GetForegroundWindow() == window; }))
        return false;
    std::vector<INPUT> inputs;
    for (WORD m : modifiers)
        inputs.push_back(KeyInput(m, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m)
        inputs.push_back(KeyInput(*m, true));
    return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

// Memory in the process of a window, for the list-view messages that carry
// a pointer: the system copies nothing of theirs from one process to another.
class Remote {
public:
    Remote(HWND owner, std::size_t size)
    {
        DWORD id = 0;
        ::GetWindowThreadProcessId(owner, &id);
        process_ = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
        if (process_)
            memory_ = static_cast<char*>(::VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE,
                                                          PAGE_READWRITE));
    }
    ~Remote()
    {
        if (memory_)
            ::VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        if (process_)
            ::CloseHandle(process_);
    }
    Remote(const Remote&) = delete;
    Remote& operator=(const Remote&) = delete;

    bool Usable() const { return memory_ != nullptr; }
    char* At(std::size_t offset) const { return memory_ + offset; }
    bool Write(std::size_t offset, const void* data, std::size_t size) const
    {
        return ::WriteProcessMemory(process_, At(offset), data, size, nullptr) != 0;
    }
    bool Read(std::size_t offset, void* data, std::size_t size) const
    {
        return ::ReadProcessMemory(process_, At(offset), data, size, nullptr) != 0;
    }

private:
    HANDLE process_ = nullptr;
    char* memory_ = nullptr;
};

// What follows the first blank; nothing without one.
std::string AfterBlank(const std::string& text)
{
    const auto blank = text.find(' ');
    return blank == std::string::npos ? std::string() : text.substr(blank + 1);
}

std::string CellText(HWND list, int row, int column)
{
    constexpr std::size_t kRoom = 1024;
    Remote remote(list, sizeof(LVITEMA) + kRoom);
    if (!remote.Usable())
        return {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = remote.At(sizeof(LVITEMA));
    item.cchTextMax = kRoom;
    char text[kRoom] = "";
    DWORD_PTR copied = 0;
    if (!remote.Write(0, &item, sizeof item) ||
        !::SendMessageTimeoutA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.At(0)),
                               SMTO_ABORTIFHUNG, 2000, &copied) ||
        !remote.Read(sizeof(LVITEMA), text, kRoom))
        return {};
    text[kRoom - 1] = '\0';
    return text;
}

std::wstring WideCellText(HWND list, int row, int column)
{
    constexpr std::size_t kRoom = 1024;
    Remote remote(list, sizeof(LVITEMW) + kRoom * sizeof(wchar_t));
    if (!remote.Usable())
        return {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(remote.At(sizeof(LVITEMW)));
    item.cchTextMax = kRoom;
    wchar_t text[kRoom] = L"";
    DWORD_PTR copied = 0;
    if (!remote.Write(0, &item, sizeof item) ||
        !::SendMessageTimeoutW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.At(0)),
                               SMTO_ABORTIFHUNG, 2000, &copied) ||
        !remote.Read(sizeof(LVITEMW), text, sizeof text))
        return {};
    text[kRoom - 1] = L'\0';
    return text;
}

bool SelectRow(HWND list, int row)
{
    Remote remote(list, sizeof(LVITEMA));
    if (!remote.Usable())
        return false;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    if (!remote.Write(0, &state, sizeof state))
        return false;
    const auto pointer = reinterpret_cast<LPARAM>(remote.At(0));
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), pointer);
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    return remote.Write(0, &state, sizeof state) && ::SendMessageA(list, LVM_SETITEMSTATE, row, pointer) &&
           ::SendMessageA(list, LVM_SETSELECTIONMARK, 0, row) != -2;
}

// The pictures (bitmap statics, which take their picture's size) of the
// window, and whether each is at least as wide as the window's inside.
BOOL CALLBACK CheckPicture(HWND child, LPARAM wideEnough)
{
    char className[16] = "";
    ::GetClassNameA(child, className, sizeof className);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrA(child, GWL_STYLE));
    if (lstrcmpiA(className, "Static") != 0 || (style & SS_TYPEMASK) != SS_BITMAP)
        return TRUE;
    RECT inside{}, picture{};
    ::GetClientRect(::GetParent(child), &inside);
    ::GetWindowRect(child, &picture);
    if (picture.right - picture.left < inside.right) {
        *reinterpret_cast<bool*>(wideEnough) = false;
        std::fprintf(stderr, "drive: a picture %ld pixels wide in a window %ld pixels wide\n",
                     picture.right - picture.left, inside.right);
    }
    return TRUE;
}

bool PicturesFill(HWND dialog)
{
    bool wideEnough = true;
    ::EnumChildWindows(dialog, CheckPicture, reinterpret_cast<LPARAM>(&wideEnough));
    return wideEnough;
}

bool ColumnFills(HWND list)
{
    RECT inside{};
    ::GetClientRect(list, &inside);
    const auto width = static_cast<LONG>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
    const bool scrolls = (::GetWindowLongPtrA(list, GWL_STYLE) & WS_VSCROLL) != 0;
    const LONG room = inside.right - (scrolls ? 0 : ::GetSystemMetrics(SM_CXVSCROLL));
    return width >= room - 2 && width <= inside.right;
}

bool ChangeDpi(int dpi)
{
    RECT before{};
    Remote remote(window, sizeof(RECT));
    if (!::GetWindowRect(window, &before) || !remote.Usable())
        return false;
    RECT suggested = before;
    ::OffsetRect(&suggested, 16, 16);
    DWORD_PTR answer = 0;
    if (!remote.Write(0, &suggested, sizeof suggested) ||
        !::SendMessageTimeoutA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote.At(0)),
                               SMTO_ABORTIFHUNG, 5000, &answer))
        return false;
    RECT after{};
    ::GetWindowRect(window, &after);
    return after.left == suggested.left && after.top == suggested.top;
}

void Measure()
{
    RECT inside{};
    ::GetClientRect(window, &inside);
    std::printf("inside %ld %ld\n", inside.right, inside.bottom);
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = "";
        ::GetClassNameA(child, className, sizeof className);
        RECT place{};
        ::GetWindowRect(child, &place);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        std::printf("%s %d: %ld %ld %ld %ld", className, ::GetDlgCtrlID(child), place.left, place.top,
                    place.right - place.left, place.bottom - place.top);
        const auto header = std::string(className) == "SysListView32"
                                ? reinterpret_cast<HWND>(::SendMessageA(child, LVM_GETHEADER, 0, 0))
                                : nullptr;
        const auto columns = header ? ::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) : 0;
        if (columns == 1 && ColumnFills(child))
            std::printf(" columns fills");
        else if (columns > 0) {
            std::printf(" columns");
            for (int column = 0; column < columns; ++column)
                std::printf(" %ld", static_cast<long>(::SendMessageA(child, LVM_GETCOLUMNWIDTH, column, 0)));
        }
        std::printf("\n");
    }
}

// `wideTail` is the step's text after its ID, as given, beyond the code page
// too.
bool Step(const std::string& verb, const std::string& rest, const std::wstring& wideTail)
{
    const int id = std::atoi(rest.c_str());
    const std::string tail = rest.find(' ') == std::string::npos ? "" : rest.substr(rest.find(' ') + 1);
    const int n = std::atoi(tail.c_str());
    const HWND item = window ? ::GetDlgItem(window, id) : nullptr;
    if (verb == "window")
        return Wait([&] {
            return (mainWindow = window = ::FindWindowA(nullptr, rest.c_str())) && ::IsWindowVisible(window);
        });
    if (verb == "box")
        return WaitForOwned(nullptr);
    if (verb == "back")
        return (window = mainWindow) != nullptr;
    if (verb == "owned")
        return WaitForOwned(rest.c_str());
    if (verb == "count")
        return Wait([&] { return ::SendMessageA(item, LVM_GETITEMCOUNT, 0, 0) == n; });
    if (verb == "text")
        return Wait([&] { return TextOf(item) == tail; });
    if (verb == "has")
        return Wait([&] { return TextOf(item).find(tail) != std::string::npos; });
    if (verb == "set")
        return ::SendMessageA(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(tail.c_str())) == TRUE;
    if (verb == "wset")
        return ::SendMessageW(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wideTail.c_str())) == TRUE;
    if (verb == "wtext")
        return Wait([&] { return WideTextOf(item) == wideTail; });
    if (verb == "mark")
        return ::SendMessageA(item, LVM_SETSELECTIONMARK, 0, n) != -2;
    if (verb == "select")
        return SelectRow(item, n);
    if (verb == "cell") {
        // ROW COLUMN TEXT after the ID.
        const std::string columnAndText = AfterBlank(tail);
        const int column = std::atoi(columnAndText.c_str());
        const std::string text = AfterBlank(columnAndText);
        return Wait([&] { return CellText(item, n, column) == text; });
    }
    if (verb == "wcell") {
        // The wide tail is "ROW COLUMN TEXT".
        const auto first = wideTail.find(L' ');
        const auto second = first == std::wstring::npos ? first : wideTail.find(L' ', first + 1);
        const std::wstring text = second == std::wstring::npos ? L"" : wideTail.substr(second + 1);
        const int column = std::atoi(AfterBlank(tail).c_str());
        return Wait([&] { return WideCellText(item, n, column) == text; });
    }
    if (verb == "pick")
        return ::SendMessageA(item, CB_SETCURSEL, n, 0) == n;
    // Sent without waiting for the handler, which may open a modal box.
    if (verb == "click")
        return ::SendNotifyMessageA(item, BM_CLICK, 0, 0);
    if (verb == "command")
        return ::SendNotifyMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
    if (verb == "syscommand")
        return ::SendNotifyMessageA(window, WM_SYSCOMMAND, static_cast<WPARAM>(id), 0);
    if (verb == "activate")
        return ::SendNotifyMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
    if (verb == "press")
        return Press(rest);
    if (verb == "gone")
        return Wait([&] { return !::IsWindow(window); });
    if (verb == "banners")
        return Wait([&] { return PicturesFill(window); });
    if (verb == "fills")
        return Wait([&] { return ColumnFills(item); });
    if (verb == "dpi")
        return ChangeDpi(id);
    if (verb == "measure") {
        Measure();
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    int wideCount = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &wideCount);
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        const auto blank = step.find(' ');
        std::wstring wideTail;
        if (wide && i < wideCount) {
            const std::wstring wideStep = wide[i];
            const auto first = wideStep.find(L' ');
            const auto second = first == std::wstring::npos ? first : wideStep.find(L' ', first + 1);
            wideTail = second == std::wstring::npos ? L"" : wideStep.substr(second + 1);
        }
        if (!Step(step.substr(0, blank), blank == std::string::npos ? "" : step.substr(blank + 1), wideTail)) {
            std::fprintf(stderr, "drive: step failed: %s\n", step.c_str());
            return 1;
        }
    }
    return 0;
}
