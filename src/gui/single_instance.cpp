#include "gui/single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace hayate::gui {

namespace {
constexpr int kWaitMs = 2000;
}

SingleInstance::SingleInstance(const std::filesystem::path& executable,
                               const std::filesystem::path& runtimeFolder,
                               const std::string& desktop)
    : names_(instanceNames(executable, runtimeFolder, desktop)),
      lock_(std::make_unique<QLockFile>(QString::fromStdString(names_.lockFile.string()))) {
    lock_->setStaleLockTime(0);  // only a live process holds it
}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();
}

std::string SingleInstance::currentDesktop() {
    const std::string display =
        displayName(qgetenv("DISPLAY").toStdString(), qgetenv("WAYLAND_DISPLAY").toStdString());
    QByteArray user = qgetenv("USER");
    if (user.isEmpty()) user = qgetenv("USERNAME");
    return desktopTag(user.toStdString(), display);
}

std::optional<std::string> SingleInstance::ask(std::string_view request) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(names_.serverName));
    if (!socket.waitForConnected(kWaitMs)) return std::nullopt;
    socket.write(request.data(), static_cast<qint64>(request.size()));
    socket.waitForBytesWritten(kWaitMs);
    QByteArray reply;
    while (!reply.contains('\n') && socket.waitForReadyRead(kWaitMs)) reply += socket.readAll();
    if (!reply.contains('\n')) return std::nullopt;
    return reply.toStdString();
}

GuardAction SingleInstance::acquire() {
    LockOutcome outcome = LockOutcome::Acquired;
    std::optional<std::string> title;
    if (!lock_->tryLock(0)) {
        outcome = lock_->error() == QLockFile::LockFailedError ? LockOutcome::HeldElsewhere
                                                               : LockOutcome::Failed;
        if (outcome == LockOutcome::HeldElsewhere) {
            if (auto answer = ask(kRestoreRequest)) title = titleFromAnswer(*answer);
        }
    }
    return decideGuardAction(outcome, title);
}

void SingleInstance::requestFront() { (void)ask(kFrontRequest); }

void SingleInstance::serve(GuardWindow& window) {
    const QString name = QString::fromStdString(names_.serverName);
    QLocalServer::removeServer(name);  // left by a copy that crashed
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) return;  // runs alone, but cannot be called
    connect(server_, &QLocalServer::newConnection, this, [this, &window] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, socket, [socket, &window] {
                if (!socket->canReadLine()) return;
                const QByteArray request = socket->readLine();
                const std::string answer = answerGuardRequest(request.toStdString(), window);
                socket->write(answer.data(), static_cast<qint64>(answer.size()));
                socket->flush();
                socket->disconnectFromServer();
            });
        }
    });
}

}  // namespace hayate::gui
