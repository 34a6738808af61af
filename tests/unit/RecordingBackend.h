#pragma once
// A backend for tests: nested dialogs do not run, the error box and the
// message boxes record their texts, every message box gives one fixed answer
// and every file dialog one fixed file.
#include "toolkit/Backend.h"
#include "toolkit/model/ModelWindow.h"

#include <functional>
#include <string>
#include <vector>

class RecordingBackend final : public toolkit::IBackend, public toolkit::ModalHost {
public:
    explicit RecordingBackend(toolkit::Answer answer = toolkit::Answer::Ok) : answer_(answer) {}

    toolkit::Answer RunModal(toolkit::CDialog&) override { return toolkit::Answer::Cancel; }
    void ReportError(const std::string& text) override
    {
        errors.push_back(text);
    }
    void ShowHelp(const std::string&) override {}
    toolkit::Answer ShowMessageBox(std::string_view text, std::string_view, toolkit::BoxStyle) override
    {
        boxes.emplace_back(text);
        return answer_;
    }
    std::optional<std::string> ShowFileDialog(const toolkit::FileDialogRequest&) override { return picked; }
    std::optional<std::string> ShowFolderDialog(std::string_view, std::string_view) override { return std::nullopt; }

    std::vector<std::string> errors;
    std::vector<std::string> boxes;
    std::optional<std::string> picked; // what every file dialog gives
    void Answer(toolkit::Answer answer) { answer_ = answer; }

private:
    toolkit::Answer answer_;
};
