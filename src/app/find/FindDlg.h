#pragma once
// The Find box. It searches as the user types, from the first function on;
// Enter, "Find next" and F3 go on to the next function that has the text.
// The box itself selects nothing: the window that opens it does that.
#include "resource.h"
#include "toolkit/Dialog.h"

#include <functional>
#include <string>

namespace app {

class CFindDlg : public toolkit::CDialog {
public:
    enum { IDD = IDD_FIND };

    // Selects the first function that has the text (`next` false) or the
    // next one after the function selected now, going round; false when no
    // function has it.
    using Finder = std::function<bool(const std::string& text, bool next)>;

    // `text` is what the box shows first and keeps what was searched last,
    // for the next time the box opens. With `searchAtOnce` the box looks for
    // it as it opens.
    CFindDlg(std::string& text, Finder find, bool searchAtOnce = false);

    bool OnInitDialog() override;
    const toolkit::MessageMap& GetMessageMap() const override;

protected:
    void OnOK() override;
    void OnTimer(int timerId);

private:
    void Search(bool next);

    std::string& text_;
    Finder find_;
    bool searchAtOnce_;
    std::string searched_; // the text of the last search
};

} // namespace app
