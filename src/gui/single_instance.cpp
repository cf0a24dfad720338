#include "gui/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace hayate::gui {

namespace {
constexpr int kWaitMs = 2000;
}

SingleInstance::SingleInstance(const QString& name, const QString& folder)
    : name_(name),
      lock_(std::make_unique<QLockFile>(QDir(folder).filePath(QStringLiteral(".%1.lock").arg(name)))) {
    lock_->setStaleLockTime(0);  // only a live process holds it
}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();
}

QString SingleInstance::serverNameFor(const QString& name) {
    // Per user and per executable name; local socket names must stay short.
    const QByteArray key = (qgetenv("USER") + '/' + name.toUtf8());
    return QStringLiteral("hayateuchi-") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

SingleInstance::Outcome SingleInstance::acquire() {
    if (lock_->tryLock(0)) {
        const QString serverName = serverNameFor(name_);
        QLocalServer::removeServer(serverName);  // left by a copy that crashed
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        if (!server_->listen(serverName)) return Outcome::First;  // runs, cannot be called
        connect(server_, &QLocalServer::newConnection, this, &SingleInstance::answer);
        return Outcome::First;
    }
    if (lock_->error() != QLockFile::LockFailedError) return Outcome::Failed;

    QLocalSocket socket;
    socket.connectToServer(serverNameFor(name_));
    if (!socket.waitForConnected(kWaitMs)) return Outcome::OtherCopyHidden;
    socket.write("raise\n");
    socket.waitForBytesWritten(kWaitMs);
    QByteArray reply;
    while (!reply.contains('\n') && socket.waitForReadyRead(kWaitMs)) reply += socket.readAll();
    const QString title = QString::fromUtf8(reply).trimmed();
    return title == QStringLiteral(u"ハヤテウチ") ? Outcome::OtherCopyShown : Outcome::OtherCopyHidden;
}

void SingleInstance::answer() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (!socket->canReadLine()) return;
            const QByteArray request = socket->readLine().trimmed();
            QString title;
            if (request == "raise" && raise_) title = raise_();
            socket->write(title.toUtf8() + '\n');
            socket->flush();
            socket->disconnectFromServer();
        });
    }
}

}  // namespace hayate::gui
