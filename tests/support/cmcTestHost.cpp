#include "cmcTestHost.h"

HostAnswer cmcTestHost::MessageBox(const std::string& caption, const std::string& text,
                                   HostIcon icon, HostButtons buttons) {
    messages_.push_back(Message{caption, text, icon, buttons});
    if (!answers_.empty()) {
        HostAnswer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    if (buttons == HostButtons::Ok) return HostAnswer::Ok;
    return defaultAnswer_;
}

void cmcTestHost::Fatal(const std::string& text) {
    fatals_.push_back(text);
    throw cmcFatalError(text);
}

void cmcTestHost::Clear() {
    messages_.clear();
    fatals_.clear();
    answers_.clear();
}
