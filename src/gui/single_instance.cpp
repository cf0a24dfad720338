#include "gui/single_instance.h"

#include <QLocalSocket>
#include <memory>
#include <string>

#include "platform/peer_user.h"

namespace hayate::gui {

namespace {

constexpr int kWaitMs = 2000;
// A request is one short line; a peer that sends more without a line end is
// not one of ours.
constexpr qint64 kMaxRequestBytes = 4096;

}  // namespace

SingleInstance::SingleInstance(const std::filesystem::path& executable,
                               const std::filesystem::path& runtimeFolder,
                               const std::string& desktop)
    : names_(instanceNames(executable, runtimeFolder, desktop)),
      lock_(std::make_unique<QLockFile>(QString::fromStdString(names_.lockFile.string()))) {
    lock_->setStaleLockTime(0);  // only a live process holds it
}

SingleInstance::~SingleInstance() = default;

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
    if (!socket.waitForConnected(kWaitMs) || !peerIsSameUser(static_cast<int>(socket.socketDescriptor())))
        return std::nullopt;
    // What write() could not send yet goes out while waiting for the answer.
    socket.write(request.data(), static_cast<qint64>(request.size()));
    QByteArray line;
    while (!line.endsWith('\n') && line.size() < kMaxRequestBytes) {
        if (!socket.bytesAvailable() && !socket.waitForReadyRead(kWaitMs)) return std::nullopt;
        line += socket.readLine(kMaxRequestBytes - line.size() + 1);
    }
    return line.toStdString();
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

bool SingleInstance::serve(GuardWindow& window) {
    server_ = new QLocalServer(this);
    // Made elsewhere and renamed into place, readable by this user only: a
    // socket a crashed copy left under the name (or a link there) is
    // replaced, which is sound while this copy holds the lock.
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(QString::fromStdString(names_.serverName))) return false;
    connect(server_, &QLocalServer::newConnection, this, [this, &window] { answer(window); });
    return true;
}

void SingleInstance::answer(GuardWindow& window) {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!peerIsSameUser(static_cast<int>(socket->socketDescriptor()))) {
            socket->abort();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, socket, [socket, &window] {
            if (!socket->canReadLine()) {
                // The rest of the line is still to come, unless it is too long.
                if (socket->bytesAvailable() >= kMaxRequestBytes) socket->abort();
                return;
            }
            const std::string answer =
                answerGuardRequest(socket->readLine(kMaxRequestBytes).toStdString(), window);
            socket->write(answer.data(), static_cast<qint64>(answer.size()));
            socket->disconnectFromServer();
        });
    }
}

}  // namespace hayate::gui
