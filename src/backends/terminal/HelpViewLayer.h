#pragma once
// The help in the terminal, which has no viewer for compiled HTML help: the
// text made from the same pages as help.chm (help.txt beside it), in a
// scrolling view over the dialogs. Each line of the text is a heading, a
// paragraph or a list item; the view wraps it to its width, the wrapped part
// under the item's text.
#include "backends/terminal/Layer.h"

#include <string>
#include <vector>

namespace backends::terminal {

// help.txt for help.chm: the text beside the compiled help.
std::string HelpTextPath(const std::string& chmPath);

class HelpViewLayer final : public Layer {
public:
    // `text`: Windows-1252, lines ending in CR LF or LF.
    HelpViewLayer(std::string title, std::string_view text);

    void Draw(CellScreen& screen) override;
    void HandleKey(const Key& key) override;
    bool Done() const override { return done_; }
    std::vector<HelpItem> KeyHelp() const override;
    void Abandon() override { done_ = true; }

    // The first line shown, and the lines as wrapped at the last drawing.
    int Top() const { return top_; }
    const std::vector<std::string>& Shown() const { return wrapped_; }

private:
    void Wrap(int width);

    std::string title_;
    std::vector<std::string> lines_;
    std::vector<std::string> wrapped_;
    int wrappedWidth_ = -1;
    int top_ = 0;
    int pageRows_ = 10;
    bool done_ = false;
};

} // namespace backends::terminal
