#include "HeadlessChromium.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <unistd.h>

namespace {

constexpr int kPollMs = 50;
constexpr int kGracefulEndMs = 5000;
constexpr qint64 kOutputTailBytes = 4000;

// Zombies left for a non-reaping init do not count: they hold no files.
bool groupHasLiveProcesses(qint64 groupId)
{
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // "pid (name) state ppid pgrp ...": the name may hold anything.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 2 && fields.at(2).toLongLong() == groupId && fields.at(0) != "Z")
            return true;
    }
    return false;
}

void waitForGroupToEnd(qint64 groupId, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (groupHasLiveProcesses(groupId) && !deadline.hasExpired())
        QThread::msleep(kPollMs);
}

} // namespace

HeadlessChromium::HeadlessChromium()
{
    QDir(m_root.path()).mkpath(QStringLiteral("profile"));
    QDir(m_root.path()).mkpath(QStringLiteral("tmp"));
}

HeadlessChromium::~HeadlessChromium()
{
    stop();
}

QString HeadlessChromium::executable()
{
    return QStandardPaths::findExecutable(QStringLiteral("chromium"));
}

QString HeadlessChromium::userDataDir() const
{
    return QDir(m_root.path()).filePath(QStringLiteral("profile"));
}

bool HeadlessChromium::start(const QStringList &extraArguments, int timeoutMs)
{
    m_error.clear();
    if (isRunning()) {
        m_error = QStringLiteral("chromium is already running");
        return false;
    }
    if (executable().isEmpty())
        return fail(QStringLiteral("chromium is not installed (scripts/setup.sh installs it)"));
    if (!m_root.isValid())
        return fail(QStringLiteral("no temporary folder for the profile"));
    m_process.setProgram(executable());
    m_process.setArguments(arguments(extraArguments));
    // A file, not a pipe: nobody reads a pipe here, and a full one would stall the browser.
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(QDir(m_root.path()).filePath(QStringLiteral("output.log")));
    m_process.setChildProcessModifier([] { ::setsid(); });
    // Chromium leaves scratch folders in TMPDIR; they go with the profile.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), QDir(m_root.path()).filePath(QStringLiteral("tmp")));
    m_process.setProcessEnvironment(environment);
    m_process.start();
    if (!m_process.waitForStarted(timeoutMs))
        return fail(QStringLiteral("chromium did not start: ") + m_process.errorString());
    m_groupId = m_process.processId();

    const QDeadlineTimer deadline(timeoutMs);
    while ((m_port = readActivePort()) == 0) {
        if (m_process.state() != QProcess::Running)
            return fail(QStringLiteral("chromium ended before opening its debugging port"));
        if (deadline.hasExpired())
            return fail(QStringLiteral("chromium wrote no DevToolsActivePort in time"));
        QThread::msleep(kPollMs);
    }
    return true;
}

void HeadlessChromium::stop()
{
    if (m_groupId == 0)
        return;
    ::kill(pid_t(-m_groupId), SIGTERM);
    if (!m_process.waitForFinished(kGracefulEndMs))
        ::kill(pid_t(-m_groupId), SIGKILL);
    // Helpers that outlived the browser would go on writing into the profile.
    ::kill(pid_t(-m_groupId), SIGKILL);
    m_process.waitForFinished(kGracefulEndMs);
    waitForGroupToEnd(m_groupId, kGracefulEndMs);
    m_groupId = 0;
    m_port = 0;
}

bool HeadlessChromium::isRunning() const
{
    return m_process.state() == QProcess::Running;
}

QStringList HeadlessChromium::arguments(const QStringList &extraArguments) const
{
    QStringList arguments{QStringLiteral("--headless=new"),
                          QStringLiteral("--remote-debugging-port=0"),
                          QStringLiteral("--user-data-dir=") + userDataDir(),
                          QStringLiteral("--disable-gpu"),
                          QStringLiteral("--no-first-run"),
                          QStringLiteral("--disable-background-networking"),
                          QStringLiteral("--disable-component-update"),
                          QStringLiteral("--disable-sync"),
                          QStringLiteral("--disable-quic")};
    // Chromium's sandbox refuses to run as root; as anyone else it stays on.
    if (::geteuid() == 0)
        arguments << QStringLiteral("--no-sandbox");
    return arguments + extraArguments;
}

// The file holds the port and the browser's endpoint path, a line each; it
// may be caught half written.
quint16 HeadlessChromium::readActivePort() const
{
    QFile file(QDir(userDataDir()).filePath(QStringLiteral("DevToolsActivePort")));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = file.readAll();
    const qsizetype lineEnd = text.indexOf('\n');
    if (lineEnd < 0)
        return 0;
    bool isNumber = false;
    const uint port = text.left(lineEnd).trimmed().toUInt(&isNumber);
    return isNumber && port > 0 && port <= 65535 ? quint16(port) : 0;
}

bool HeadlessChromium::fail(const QString &why)
{
    stop();
    m_error = why + QStringLiteral("\n") + outputTail();
    return false;
}

QString HeadlessChromium::outputTail() const
{
    QFile log(QDir(m_root.path()).filePath(QStringLiteral("output.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    if (log.size() > kOutputTailBytes)
        log.seek(log.size() - kOutputTailBytes);
    return QString::fromUtf8(log.readAll());
}
