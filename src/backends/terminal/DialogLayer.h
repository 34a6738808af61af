#pragma once
// One open dialog on the terminal: draws its controls from the template
// layout and turns keys into what a user's clicks and typing would do to the
// controls, or into the dialog's messages.
#include "toolkit/Dialog.h"
#include "backends/terminal/Layer.h"
#include "backends/terminal/LineEdit.h"
#include "backends/terminal/MenuView.h"
#include "backends/terminal/TerminalWindow.h"

#include <map>

namespace backends::terminal {

class DialogLayer final : public Layer {
public:
    // A full-screen dialog has the whole terminal with a title line and the
    // menu bar; the others are boxes over it. `keys` are the dialog's
    // accelerators (none: null); `owner` is the template of the dialog that
    // opened this one, over which a template with a position is placed.
    DialogLayer(toolkit::CDialog& dialog, TerminalWindow& window, bool fullScreen, const toolkit::AcceleratorTable* keys = nullptr,
                const toolkit::DialogTemplate* owner = nullptr);

    void Draw(CellScreen& screen) override;
    void HandleKey(const Key& key) override;
    bool Done() const override { return window_.EndResult().has_value(); }
    std::vector<HelpItem> KeyHelp() const override;
    void Abandon() override { window_.EndDialog(toolkit::Answer::Cancel); }
    void FireTimers(SteadyTime now) override;
    std::optional<SteadyTime> NextTimer() const override;

    // Gives the focus to the first tab stop unless the dialog chose one.
    void EnsureFocus();

private:
    static constexpr int kDropRows = 8; // entries an open combo box list shows

    bool IsTabStop(const toolkit::ControlState& c) const;
    std::vector<int> TabStops() const;
    void FocusControl(int id);
    void MoveFocus(int direction);
    toolkit::ControlState* Focused();
    LineEdit& EditFor(const toolkit::ControlState& c);
    toolkit::CtlColorRequest AskColors(int id);
    void Send(toolkit::MsgKind kind, int id);
    int DefaultButton() const;

    void DrawControl(CellScreen& screen, const toolkit::ControlState& c, const CellRect& r, int room, toolkit::Rgb dialogBg);
    void DrawList(CellScreen& screen, const toolkit::ControlState& c, const CellRect& r, const toolkit::CtlColorRequest& colors);
    void DrawCombo(CellScreen& screen, const toolkit::ControlState& c, const CellRect& r, const toolkit::CtlColorRequest& colors);
    void DrawDropList(CellScreen& screen);
    void DrawEdit(CellScreen& screen, const toolkit::ControlState& c, const CellRect& r, const toolkit::CtlColorRequest& colors);

    bool HandleAccelerator(const Key& key);              // DialogLayerAccelerators.cpp
    bool HandleGlobalKey(const Key& key);
    bool HandleMnemonic(char letter);
    void HandleMenuKey(const Key& key);
    bool HandleDropKey(toolkit::ControlState& c, const Key& key);
    void HandleListKey(toolkit::ControlState& c, const Key& key);
    void HandleComboKey(toolkit::ControlState& c, const Key& key);
    void HandleEditKey(toolkit::ControlState& c, const Key& key);
    void HandleRadioKey(toolkit::ControlState& c, const Key& key);
    void OpenDrop(toolkit::ControlState& c);
    void CloseDrop(bool apply);

    toolkit::CDialog& dialog_;
    TerminalWindow& window_;
    bool full_;
    const toolkit::AcceleratorTable* keys_;
    const toolkit::DialogTemplate* owner_;
    MenuView menu_;
    std::map<int, LineEdit> edits_;
    std::map<int, int> listScroll_;
    std::map<int, int> listRows_; // item rows shown at the last drawing
    int dropCombo_ = 0;           // the combo box whose list is open; 0 none
    int dropIndex_ = -1;
    int dropScroll_ = 0;
    CellRect dropAnchor_;         // the open combo box on the screen
    int scrollX_ = 0;
    int scrollY_ = 0;
    // Where the menu drops from: below the bar, or below the box's title.
    int menuX_ = 0;
    int menuY_ = 0;
    bool menuBar_ = false;
};

} // namespace backends::terminal
