#include "ProgramRun.h"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

QString ProgramRun::program()
{
    return qEnvironmentVariable("SITEPINS_PROGRAM");
}

QProcessEnvironment ProgramRun::environment(const QString &settingsFolder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!settingsFolder.isEmpty()) {
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settingsFolder);
        environment.insert(QStringLiteral("XDG_DATA_HOME"), settingsFolder);
    }
    return environment;
}

ProgramRun::Finished ProgramRun::run(const QStringList &arguments, const QString &settingsFolder,
                                     const QString &workingFolder)
{
    QProcess process;
    process.setProcessEnvironment(environment(settingsFolder));
    process.setWorkingDirectory(workingFolder);
    process.start(program(), arguments);
    EXPECT_TRUE(process.waitForStarted()) << program().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 30000))
        << "did not end by itself: " << arguments.join(' ').toStdString();
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}
