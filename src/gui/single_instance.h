// One running copy per desktop and executable name. A lock file that the
// operating system releases with the process (so a crashed copy does not
// lock the user out) and a local socket through which a second copy asks the
// first to come to the front.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

namespace hayate::gui {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        First,           // this copy runs
        OtherCopyShown,  // another copy runs and came to the front
        OtherCopyHidden, // another copy runs under another title: end silently
        Failed,          // the marker could not be made
    };

    // `name` is the executable's file name; `folder` holds the lock file.
    SingleInstance(const QString& name, const QString& folder);
    ~SingleInstance() override;

    Outcome acquire();

    // The first copy answers a second copy's call with its window title after
    // bringing the window forward.
    void setRaiseHandler(std::function<QString()> handler) { raise_ = std::move(handler); }

    static QString serverNameFor(const QString& name);

private:
    void answer();

    QString name_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    std::function<QString()> raise_;
};

}  // namespace hayate::gui
