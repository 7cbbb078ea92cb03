#include "platform/window/dialog_service.h"

#include "platform/window/message_box.h"

#include <cctype>

namespace platform::window {

namespace {

DialogService*& Installed() {
    static DialogService* installed = nullptr;
    return installed;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t at = text.find(separator);
        fields.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return fields;
        text.remove_prefix(at + 1);
    }
}

}  // namespace

DialogService& CurrentDialogService() {
    if (Installed() != nullptr) return *Installed();
    return NativeDialogService();
}

ScopedDialogService::ScopedDialogService(DialogService& service) : m_previous(Installed()) {
    Installed() = &service;
}

ScopedDialogService::~ScopedDialogService() {
    Installed() = m_previous;
}

std::vector<FileFilter> ParseFileFilter(std::string_view filter) {
    const std::vector<std::string_view> fields = Split(filter, '|');
    std::vector<FileFilter> result;
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        const std::string_view name = Trimmed(fields[i]);
        if (name.empty()) break;
        FileFilter entry{std::string(name), {}};
        for (std::string_view pattern : Split(fields[i + 1], ';'))
            if (!Trimmed(pattern).empty()) entry.patterns.emplace_back(Trimmed(pattern));
        if (entry.patterns.empty()) entry.patterns.emplace_back("*.*");
        result.push_back(std::move(entry));
    }
    return result;
}

int MessageBox(WindowHandle owner, std::string_view text, std::string_view caption, unsigned type) {
    return CurrentDialogService().ShowMessageBox(
        MessageBoxRequest{owner, std::string(text), std::string(caption), type});
}

}  // namespace platform::window
