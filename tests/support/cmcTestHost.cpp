#include "cmcTestHost.h"

HostAnswer cmcTestHost::MessageBox(const std::string& caption, const std::string& text,
                                   HostIcon icon, HostButtons buttons) {
    messages_.push_back(Message{caption, text, icon, buttons});
    if (!answers_.empty()) {
        HostAnswer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    if (buttons == HostButtons::Ok)
        return HostAnswer::Ok;
    return defaultAnswer_;
}

void cmcTestHost::Fatal(const std::string& text) {
    fatals_.push_back(text);
    throw cmcFatalError(text);
}

namespace {
bool Answer(std::deque<std::string>& queue, std::string* path) {
    if (queue.empty())
        return false;
    const std::string chosen = queue.front();
    queue.pop_front();
    if (chosen.empty())
        return false;
    *path = chosen;
    return true;
}
}  // namespace

bool cmcTestHost::AskOpenFileName(const HostFileDialog& dialog, std::string* path) {
    dialogs_.push_back(Dialog{false, dialog});
    return Answer(fileNames_, path);
}

bool cmcTestHost::AskSaveFileName(const HostFileDialog& dialog, std::string* path) {
    dialogs_.push_back(Dialog{true, dialog});
    return Answer(fileNames_, path);
}

void cmcTestHost::Clear() {
    messages_.clear();
    fileNames_.clear();
    dialogs_.clear();
    fatals_.clear();
    answers_.clear();
}
