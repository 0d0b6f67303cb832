#include "app/cuiInstanceChannel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <algorithm>

namespace {

// A path is short; anything longer than this is not a message of ours.
constexpr qint64 kMaxMessageBytes = 64 * 1024;
// How often a second start asks again for a running copy that does not listen yet.
constexpr unsigned long kHandRetryMs = 50;

QString UserName() {
    const QByteArray user = qgetenv("USER").isEmpty() ? qgetenv("USERNAME") : qgetenv("USER");
    return QString::fromLocal8Bit(user) + QDir::homePath();
}

}  // namespace

cuiInstanceChannel::cuiInstanceChannel() = default;
cuiInstanceChannel::~cuiInstanceChannel() = default;

QString cuiInstanceChannel::ServerName(const std::string& lockName, const std::string& lockPath) {
    // The name stands for a file in the temporary directory (or a pipe on Windows): short, and
    // free of what the lock name or a home path may hold.
    const QByteArray key = QString::fromLocal8Bit(lockName.c_str()).toUtf8() + '\n' +
                           QString::fromLocal8Bit(lockPath.c_str()).toUtf8() + '\n' +
                           UserName().toUtf8();
    return QStringLiteral("pqt590-") +
           QString::fromLatin1(
               QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

bool cuiInstanceChannel::Listen(const QString& name, Handler handler) {
    handler_ = std::move(handler);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) {
        // We hold the lock, so whoever made this socket is gone.
        QLocalServer::removeServer(name);
        if (!server_->listen(name)) {
            server_.reset();
            return false;
        }
    }
    connect(server_.get(), &QLocalServer::newConnection, this, &cuiInstanceChannel::Accept);
    return true;
}

bool cuiInstanceChannel::Listening() const {
    return server_ && server_->isListening();
}

void cuiInstanceChannel::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        socket->setParent(this);
        auto buffer = std::make_shared<QByteArray>();
        auto take = [this, socket, buffer] {
            buffer->append(socket->readAll());
            const qsizetype end = buffer->indexOf('\n');
            if (end < 0 && buffer->size() <= kMaxMessageBytes)
                return;  // more to come
            if (end >= 0 && handler_)
                handler_(QString::fromUtf8(buffer->left(end)));
            buffer->clear();
            socket->disconnect(this);
            socket->disconnectFromServer();
            socket->deleteLater();
        };
        connect(socket, &QLocalSocket::readyRead, this, take);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0)
            take();
    }
}

bool cuiInstanceChannel::Hand(const QString& name, const QString& path, int timeoutMs,
                              std::atomic<int>* attempts) {
    QElapsedTimer timer;
    timer.start();
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(name);
        if (attempts)
            ++*attempts;
        if (socket.waitForConnected(int(std::max<qint64>(0, timeoutMs - timer.elapsed()))))
            break;
        if (timer.elapsed() >= timeoutMs)
            return false;
        socket.abort();
        QThread::msleep(kHandRetryMs);
    }
    socket.write(path.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The running copy closes the line once it has the message.
    socket.waitForDisconnected(timeoutMs);
    return true;
}
