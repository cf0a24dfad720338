// The built program in a real X server: it shows its window, takes F10 and
// keys from xdotool, ends on F1 and Enter, and leaves its files behind.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <filesystem>

#include "support/temp_dir.h"

namespace {

class XServer {
  public:
    // Xvfb picks a free display itself and names it on its output: choosing
    // one here would race the other tests that start servers at the same time.
    bool start() {
        server_.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1024x768x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!server_.waitForStarted(5000)) return false;
        QByteArray out;
        while (!out.contains('\n') && server_.waitForReadyRead(10000)) out += server_.readAll();
        const QByteArray number = out.trimmed();
        if (number.isEmpty()) return false;
        display_ = QStringLiteral(":") + QString::fromLatin1(number);
        return true;
    }
    ~XServer() {
        server_.terminate();
        server_.waitForFinished(5000);
    }
    const QString& display() const { return display_; }

  private:
    QProcess server_;
    QString display_;
};

// xdotool with the test's display; returns its output.
QString xdotool(const QString& display, const QStringList& args, int timeoutMs = 10000) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(timeoutMs);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

TEST(Smoke, RealProgramUnderXvfb) {
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        GTEST_SKIP() << "Xvfb or xdotool is not installed (scripts/deps.sh installs them)";
    }
    XServer x;
    ASSERT_TRUE(x.start());

    hayate::test::TempDir dir;
    const auto program = dir / "hayateuchi";
    std::filesystem::copy_file(HAYATEUCHI_BINARY, program);
    QProcess app;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), x.display());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    app.setProcessEnvironment(env);
    app.setWorkingDirectory(QString::fromStdString(dir.path().string()));
    app.start(QString::fromStdString(program.string()), {});
    ASSERT_TRUE(app.waitForStarted(5000));

    const QString window = xdotool(x.display(),
                                   {QStringLiteral("search"), QStringLiteral("--sync"),
                                    QStringLiteral("--name"), QStringLiteral(u"^ハヤテウチ$")},
                                   30000);
    ASSERT_FALSE(window.isEmpty()) << "the window did not appear";
    const QString id = window.split('\n').first();
    // The window is found as soon as it exists; its size reaches the X
    // server once the first show's work is done.
    QString geometry;
    for (int i = 0; i < 100; ++i) {
        geometry = xdotool(x.display(), {QStringLiteral("getwindowgeometry"), id});
        if (geometry.contains(QStringLiteral("1024x750"))) break;
        QThread::msleep(50);
    }
    EXPECT_TRUE(geometry.contains(QStringLiteral("1024x750"))) << geometry.toStdString();
    xdotool(x.display(), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), id});

    // A second copy says so and ends; the first keeps running.
    QProcess second;
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(QString::fromStdString(dir.path().string()));
    second.start(QString::fromStdString(program.string()), {});
    ASSERT_TRUE(second.waitForStarted(5000));
    const QString notice = xdotool(x.display(),
                                   {QStringLiteral("search"), QStringLiteral("--sync"),
                                    QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                    QStringLiteral(u"^二重起動$")},
                                   30000);
    ASSERT_FALSE(notice.isEmpty()) << "no message from the second copy";
    xdotool(x.display(),
            {QStringLiteral("windowfocus"), QStringLiteral("--sync"), notice.split('\n').first()});
    xdotool(x.display(), {QStringLiteral("key"), QStringLiteral("Return")});
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(app.state(), QProcess::Running);
    xdotool(x.display(), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), id});

    // An exercise: start, a few keys, stop; then end the program.
    xdotool(x.display(), {QStringLiteral("key"), QStringLiteral("F10")});
    xdotool(x.display(), {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"),
                          QStringLiteral("ABCDEF")});
    xdotool(x.display(), {QStringLiteral("key"), QStringLiteral("Escape")});
    QThread::msleep(300);
    EXPECT_EQ(app.state(), QProcess::Running);
    xdotool(x.display(), {QStringLiteral("key"), QStringLiteral("F1")});
    QThread::msleep(500);
    xdotool(x.display(), {QStringLiteral("key"), QStringLiteral("Return")});
    ASSERT_TRUE(app.waitForFinished(15000)) << "the program did not end on F1 and Enter";
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(app.exitCode(), 0) << app.readAllStandardError().toStdString();

    EXPECT_EQ(std::filesystem::file_size(dir / "hayateuchi.DAT"), 720u);
    EXPECT_EQ(std::filesystem::file_size(dir / "hayateuchi.UPD"), 10800u);
}

}  // namespace
