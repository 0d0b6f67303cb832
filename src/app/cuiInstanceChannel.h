#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

class QLocalServer;

// The line between the running copy of the desktop program and a second start: the copy that
// holds the single-instance lock listens on a local socket named after the lock; a second start
// hands it the file it was given (or nothing, to have the window raised) and ends.
//
// The message is the file's absolute path in UTF-8 (empty: only raise the window), ended by a
// line feed; one message a connection.
class cuiInstanceChannel : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const QString& path)>;

    cuiInstanceChannel();
    ~cuiInstanceChannel() override;

    // The socket's name for the single-instance lock (its name, and its file where it is one):
    // per user and per lock, as the lock is.
    static QString ServerName(const std::string& lockName, const std::string& lockPath);

    // The running copy: listens under name and calls handler with each path handed over (on the
    // user-interface thread, from the event loop). A socket left behind by a killed copy is
    // removed first, since only the lock's holder listens. False when it cannot listen.
    bool Listen(const QString& name, Handler handler);
    bool Listening() const;

    // A second start: hands path (empty: none) to the copy listening under name. The running
    // copy holds the lock from its first moment but listens only once its window is up (which
    // takes seconds on a busy machine), so a copy not listening yet is asked again until
    // timeoutMs has passed; false when none answered by then. attempts, when given, counts the
    // tries to connect.
    static bool Hand(const QString& name, const QString& path, int timeoutMs = 10000,
                     std::atomic<int>* attempts = nullptr);

private:
    void Accept();

    std::unique_ptr<QLocalServer> server_;
    Handler handler_;
};
