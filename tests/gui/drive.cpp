// Drives the window of another program under the same Windows (or Wine) as
// a user would, one step an argument; prints nothing and exits 1 naming the
// step that failed. Each wait gives up after ten seconds.
//
//   window TITLE      wait for the visible top-level window TITLE
//   owned TITLE       wait for a visible window TITLE that the window owns
//   count ID N        wait until list view ID holds N items
//   text ID TEXT      wait until control ID shows TEXT
//   mark ID N         set the selection mark of list view ID, as a click does
//   pick ID N         select entry N of combo box ID
//   click ID          click button ID
//   syscommand N      choose system command N (SC_CLOSE: 61536)
//   gone              wait until the window is destroyed
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstdio>
#include <string>

namespace {

HWND window = nullptr;

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

bool Step(const std::string& verb, const std::string& rest)
{
    const int id = std::atoi(rest.c_str());
    const std::string tail = rest.find(' ') == std::string::npos ? "" : rest.substr(rest.find(' ') + 1);
    const int n = std::atoi(tail.c_str());
    const HWND item = window ? ::GetDlgItem(window, id) : nullptr;
    if (verb == "window")
        return Wait([&] { return (window = ::FindWindowA(nullptr, rest.c_str())) && ::IsWindowVisible(window); });
    if (verb == "owned")
        return Wait([&] {
            const HWND owned = ::FindWindowA(nullptr, rest.c_str());
            return owned && ::GetWindow(owned, GW_OWNER) == window && ::IsWindowVisible(owned) && (window = owned);
        });
    if (verb == "count")
        return Wait([&] { return ::SendMessageA(item, LVM_GETITEMCOUNT, 0, 0) == n; });
    if (verb == "text")
        return Wait([&] { return TextOf(item) == tail; });
    if (verb == "mark")
        return ::SendMessageA(item, LVM_SETSELECTIONMARK, 0, n) != -2;
    if (verb == "pick")
        return ::SendMessageA(item, CB_SETCURSEL, n, 0) == n;
    // Sent without waiting for the handler, which may open a modal box.
    if (verb == "click")
        return ::SendNotifyMessageA(item, BM_CLICK, 0, 0);
    if (verb == "syscommand")
        return ::SendNotifyMessageA(window, WM_SYSCOMMAND, static_cast<WPARAM>(id), 0);
    if (verb == "gone")
        return Wait([&] { return !::IsWindow(window); });
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        const auto blank = step.find(' ');
        if (!Step(step.substr(0, blank), blank == std::string::npos ? "" : step.substr(blank + 1))) {
            std::fprintf(stderr, "drive: step failed: %s\n", step.c_str());
            return 1;
        }
    }
    return 0;
}
