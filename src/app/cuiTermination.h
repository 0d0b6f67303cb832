#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

// Ends the desktop program as a close does when the system asks it to end (SIGTERM from a
// shutdown or `kill`, SIGHUP when its terminal goes, SIGINT from Ctrl+C there): the signal only
// wakes the event loop, where the handler runs on the user-interface thread. While one lives,
// those signals no longer kill the process at once. Nothing on Windows, which has no such
// signals for a windowed program.
class cuiTermination : public QObject {
    Q_OBJECT
public:
    explicit cuiTermination(std::function<void()> handler);
    ~cuiTermination() override;
    cuiTermination(const cuiTermination&) = delete;
    cuiTermination& operator=(const cuiTermination&) = delete;

    // The handlers are installed.
    bool Active() const { return notifier_ != nullptr; }

private:
    void Wake();

    std::function<void()> handler_;
    std::unique_ptr<QSocketNotifier> notifier_;
};
