#include "gui/single_instance.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <memory>
#include <string>

#include "platform/local_socket.h"

namespace hayate::gui {

namespace {

constexpr int kWaitMs = 2000;
// A request is one short line; a peer that sends more without a line end is
// not one of ours.
constexpr std::size_t kMaxRequestBytes = 4096;

// Where Qt's local server put a socket of this name, so that copies of the
// program from before and after it stopped using Qt Network find each other.
std::filesystem::path socketPathFor(const std::string& serverName) {
    const QString path =
        QDir::cleanPath(QDir::tempPath()) + QLatin1Char('/') + QString::fromStdString(serverName);
    return QFile::encodeName(path).toStdString();
}

// One later copy's connection, kept until it has had its answer.
struct Caller {
    LocalConnection connection;
    std::string received;
};

}  // namespace

SingleInstance::SingleInstance(const std::filesystem::path& executable,
                               const std::filesystem::path& runtimeFolder,
                               const std::string& desktop)
    : names_(instanceNames(executable, runtimeFolder, desktop)),
      socketPath_(socketPathFor(names_.serverName)),
      lock_(std::make_unique<QLockFile>(QString::fromStdString(names_.lockFile.string()))) {
    lock_->setStaleLockTime(0);  // only a live process holds it
}

SingleInstance::~SingleInstance() {
    delete notifier_;  // before the socket it watches is closed
}

std::string SingleInstance::currentDesktop() {
    const std::string display =
        displayName(qgetenv("DISPLAY").toStdString(), qgetenv("WAYLAND_DISPLAY").toStdString());
    QByteArray user = qgetenv("USER");
    if (user.isEmpty()) user = qgetenv("USERNAME");
    return desktopTag(user.toStdString(), display);
}

std::optional<std::string> SingleInstance::ask(std::string_view request) {
    std::error_code error;
    LocalConnection connection = LocalConnection::connectTo(socketPath_, kWaitMs, error);
    // Another user's socket under our name is no copy of ours.
    if (!connection.isOpen() || !connection.peerIsSameUser()) return std::nullopt;
    if (connection.sendAll(request, kWaitMs)) return std::nullopt;
    return connection.receiveLine(kWaitMs);
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
    server_ = std::make_unique<LocalServer>();
    // A socket left by a copy that crashed is replaced there.
    if (server_->listen(socketPath_)) return;  // runs alone, but cannot be called
    notifier_ = new QSocketNotifier(server_->fd(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this,
            [this, &window] { answerWaiting(window); });
}

void SingleInstance::answerWaiting(GuardWindow& window) {
    for (LocalConnection connection = server_->accept(); connection.isOpen();
         connection = server_->accept()) {
        if (!connection.peerIsSameUser()) continue;
        auto caller = std::make_shared<Caller>();
        caller->connection = std::move(connection);
        auto* notifier = new QSocketNotifier(caller->connection.fd(), QSocketNotifier::Read, this);
        // The lambda owns the caller: deleting the notifier closes the connection.
        connect(notifier, &QSocketNotifier::activated, notifier, [notifier, caller, &window] {
            const bool open = caller->connection.readAvailable(caller->received);
            const std::size_t end = caller->received.find('\n');
            if (end != std::string::npos) {
                const std::string answer =
                    answerGuardRequest(caller->received.substr(0, end + 1), window);
                (void)caller->connection.sendAll(answer, kWaitMs);
            } else if (open && caller->received.size() < kMaxRequestBytes) {
                return;  // the rest of the line is still to come
            }
            notifier->setEnabled(false);
            notifier->deleteLater();
        });
    }
}

}  // namespace hayate::gui
