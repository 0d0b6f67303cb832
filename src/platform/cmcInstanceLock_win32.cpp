#include <windows.h>

#include "platform/cmcInstanceLock.h"

struct cmcInstanceLock::Impl {
    HANDLE mutex = nullptr;
};

cmcInstanceLock::cmcInstanceLock(const std::string& name, const std::string& /*directory*/)
    : impl_(std::make_unique<Impl>()) {
    // Not owned initially: its mere existence is the sign of a running instance.
    impl_->mutex = CreateMutexA(nullptr, FALSE, name.c_str());
    if (!impl_->mutex) {
        state_ = State::Unavailable;
    } else if (GetLastError() == ERROR_ALREADY_EXISTS) {
        state_ = State::Other;
    } else {
        state_ = State::First;
    }
}

cmcInstanceLock::~cmcInstanceLock() {
    if (impl_->mutex)
        CloseHandle(impl_->mutex);
}
