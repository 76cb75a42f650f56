#include "BenchWindow.h"

#include "mainwindow/frmSitePins.h"
#include "platform/ui/DesktopServices.h"

#include <QApplication>
#include <QDir>
#include <QFile>

namespace {

class NoDesktop : public DesktopServices
{
public:
    bool openUrl(const QUrl &) override { return true; }
    bool openDefaultBrowser() override { return true; }
};

} // namespace

const char *const BenchWindow::kEmptyLibrary =
    "<?xml version=\"1.0\"?>\n<!DOCTYPE FOLDERS [\n<!ATTLIST FOLDER TID ID #REQUIRED>\n"
    "<!ATTLIST SITEPIN WID ID #REQUIRED>\n]>\n<FOLDERS/>\n";

BenchWindow::BenchWindow(const QString &instanceName)
    : m_desktop(std::make_unique<NoDesktop>())
{
    QDir(m_folder.path()).mkpath(QStringLiteral("MySitePins"));
    m_environment.programFolder = m_folder.path();
    m_environment.dialogs = &m_dialogs;
    m_environment.desktop = m_desktop.get();
    m_environment.instanceName = instanceName;
    m_environment.splashFirstTickMs = 0;
    m_environment.splashPollMs = 0;
}

BenchWindow::~BenchWindow() = default;

QString BenchWindow::libraryPath() const
{
    return m_folder.filePath(QStringLiteral("MySitePins/SitePins.xml"));
}

QString BenchWindow::writeLibrary(const QByteArray &text) const
{
    QFile file(libraryPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        return file.errorString();
    return {};
}

QString BenchWindow::open()
{
    if (!m_folder.isValid())
        return QStringLiteral("no temporary folder");
    m_window = std::make_unique<frmSitePins>(m_environment);
    if (m_window->prepare() != frmSitePins::StartOutcome::Running || m_window->isDegraded())
        return QStringLiteral("the library did not open");
    m_window->show();
    QApplication::processEvents();
    return {};
}
