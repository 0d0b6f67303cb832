#pragma once

#include <memory>
#include <string>

// The single-instance rule: a named system-wide lock held for the life of the first instance.
// On Windows it is a named mutex; elsewhere a lock file named after it in the user's runtime
// directory, which a later instance takes over when its holder died without releasing it.
class cmcInstanceLock {
public:
    enum class State {
        First,        // we hold the lock: no other instance runs
        Other,        // another live instance holds it
        Unavailable,  // the lock could not be made at all (no usable directory, no handle)
    };

    // directory: where the lock file goes (not used on Windows); empty for the user's runtime
    // directory.
    explicit cmcInstanceLock(const std::string& name, const std::string& directory = {});
    // Releases the lock if held.
    ~cmcInstanceLock();

    cmcInstanceLock(const cmcInstanceLock&) = delete;
    cmcInstanceLock& operator=(const cmcInstanceLock&) = delete;

    State GetState() const { return state_; }

    // The lock file's path; empty on Windows.
    const std::string& Path() const { return path_; }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    State state_ = State::Unavailable;
    std::string path_;
};
