// What keys do in the file and folder pickers.
#include "backends/terminal/PickerLayer.h"

#include "backends/terminal/Texts.h"

#include <filesystem>
#include <system_error>

namespace backends::terminal {

PickerLayer::PickerLayer(Mode mode, std::string title, std::string instruction, std::string_view filter,
                         std::string folder)
    : mode_(mode), title_(std::move(title)), instruction_(std::move(instruction)), filters_(ParseFilters(filter))
{
    Open(folder);
}

std::vector<HelpItem> PickerLayer::KeyHelp() const
{
    if (mode_ == Mode::Folder)
        return {{platform::Text(text::KeyArrowsMove), 3}, {platform::Text(text::KeyEnterOpen), 1},
                {platform::Text(text::KeySpaceChooseFolder), 1}, {platform::Text(text::KeyBackspaceUp), 2},
                {platform::Text(text::KeyEscCancel), 1}};
    if (typeFocused_)
        return {{platform::Text(text::KeyArrowsChangeType), 1}, {platform::Text(text::KeyEnterChoose), 2},
                {platform::Text(text::KeyTabList), 2}, {platform::Text(text::KeyEscCancel), 1}};
    if (!listFocused_)
        return {{platform::Text(text::KeyTypeNameOrPath), 3}, {platform::Text(text::KeyEnterChoose), 1},
                {platform::Text(text::KeyTabList), 2}, {platform::Text(text::KeyEscCancel), 1}};
    return {{platform::Text(text::KeyArrowsMove), 3}, {platform::Text(text::KeyEnterOpenChoose), 1},
            {platform::Text(text::KeyBackspaceUp), 2}, {platform::Text(text::KeyTabName), 2}, {platform::Text(text::KeyEscCancel), 1}};
}

void PickerLayer::Open(const std::string& folder, std::string_view select)
{
    folder_ = folder;
    listing_ = ListFolder(folder_, filters_[filterIndex_].patterns, mode_ == Mode::Folder);
    selected_ = 0;
    scroll_ = 0;
    for (std::size_t i = 0; i < listing_.entries.size(); ++i)
        if (listing_.entries[i].folder && listing_.entries[i].name == select)
            selected_ = static_cast<int>(i);
}

void PickerLayer::Select(int index)
{
    selected_ = index;
    const FolderEntry& entry = listing_.entries[static_cast<std::size_t>(index)];
    if (mode_ == Mode::File && !entry.folder) {
        name_.text = entry.name;
        name_.caret = name_.text.size();
        name_.selected = false;
    }
}

void PickerLayer::Finish(std::optional<std::string> result)
{
    result_ = std::move(result);
    done_ = true;
}

void PickerLayer::HandleKey(const Key& key)
{
    if (IsLeaveKey(key)) {
        Finish(std::nullopt);
    } else if (key.code == KeyCode::Tab) {
        // List, name field, then the file type when there is a choice.
        if (listFocused_) {
            listFocused_ = false;
        } else if (!typeFocused_ && mode_ == Mode::File && filters_.size() > 1) {
            typeFocused_ = true;
        } else {
            typeFocused_ = false;
            listFocused_ = true;
        }
    } else if (typeFocused_) {
        HandleTypeKey(key);
    } else if (listFocused_) {
        HandleListKey(key);
    } else {
        HandleBelowKey(key);
    }
}

void PickerLayer::HandleListKey(const Key& key)
{
    const int count = static_cast<int>(listing_.entries.size());
    if (const auto to = Navigate(key, selected_, count, pageRows_)) {
        Select(*to);
        return;
    }
    if (key.code == KeyCode::Enter) {
        if (count == 0) {
            if (mode_ == Mode::File)
                ConfirmName();
            return;
        }
        const FolderEntry& entry = listing_.entries[static_cast<std::size_t>(selected_)];
        if (entry.folder)
            Open(JoinPath(folder_, entry.name));
        else
            Finish(JoinPath(folder_, entry.name));
    } else if (key.code == KeyCode::Backspace) {
        const std::string from(BaseName(folder_));
        Open(ParentFolder(folder_), from);
    } else if (mode_ == Mode::Folder && IsSpace(key)) {
        Finish(folder_);
    }
}

void PickerLayer::HandleBelowKey(const Key& key)
{
    if (mode_ == Mode::Folder) {
        if (key.code == KeyCode::Enter || IsSpace(key))
            Finish(folder_);
    } else if (key.code == KeyCode::Enter) {
        ConfirmName();
    } else {
        name_.HandleKey(key);
    }
}

void PickerLayer::HandleTypeKey(const Key& key)
{
    const std::size_t n = filters_.size();
    if (key.code == KeyCode::Up || key.code == KeyCode::Left)
        filterIndex_ = (filterIndex_ + n - 1) % n;
    else if (key.code == KeyCode::Down || key.code == KeyCode::Right || IsSpace(key))
        filterIndex_ = (filterIndex_ + 1) % n;
    else if (key.code == KeyCode::Enter)
        return ConfirmName();
    else
        return;
    Open(folder_);
}

void PickerLayer::ConfirmName()
{
    if (name_.text.empty())
        return;
    std::string path = ResolvePath(folder_, name_.text);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        name_ = LineEdit{};
        Open(path);
        return;
    }
    // A name that does not exist is the caller's to judge, as on Windows.
    Finish(std::move(path));
}

} // namespace backends::terminal
