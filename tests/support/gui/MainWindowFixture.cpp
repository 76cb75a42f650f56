#include "MainWindowFixture.h"

#include "mainwindow/DesktopLook.h"
#include "mainwindow/ProgramStart.h"
#include "mainwindow/TabIndexSetting.h"
#include "platform/RegistryFunctions.h"

#include <QAction>
#include <QDir>
#include <QToolBar>

namespace {

int instanceCounter = 0;

} // namespace

void MainWindowFixture::SetUp()
{
    DesktopLook::apply();
    qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    m_environment.programFolder = m_folder.path();
    m_environment.fontAvailable = true;
    m_environment.dialogs = &m_dialogs;
    m_environment.desktop = &m_desktop;
    m_environment.previewEngineModule = QStringLiteral(SITEPINS_PREVIEW_ENGINE);
    m_environment.today = [] {
        return QDate(2026, 3, 9);
    };
    m_environment.instanceName = QStringLiteral("SitePinsTest%1").arg(++instanceCounter);
    m_environment.splashFirstTickMs = 0;
    m_environment.splashPollMs = 0;
    m_environment.endProgram = [this] {
        ++m_endProgramCalls;
    };
    ProgramStart::prepareSettings(m_environment);
}

void MainWindowFixture::setStoredTabIndex(const QString &value)
{
    RegistryKey key;
    RegistryFunctions::createRegistryKey(RegistryRoot::HKEY_CURRENT_USER,
                                         QString::fromLatin1(TabIndexSetting::kKeyPath), key);
    RegistryFunctions::setRegistryValue(key, QString::fromLatin1(TabIndexSetting::kValueName), REG_SZ, value);
    RegistryFunctions::closeRegistryKey(key);
}

QString MainWindowFixture::storedTabIndex() const
{
    return RegistryFunctions::getRegistryValue(RegistryRoot::HKEY_CURRENT_USER,
                                               QString::fromLatin1(TabIndexSetting::kKeyPath),
                                               QString::fromLatin1(TabIndexSetting::kValueName))
        .toString();
}

frmSitePins::StartOutcome MainWindowFixture::prepareWindow()
{
    m_window.reset(); // a test may start over; two windows would compete for the instance channel
    m_dialogs.forget();
    m_window = std::make_unique<frmSitePins>(m_environment);
    return m_window->prepare();
}

frmSitePins &MainWindowFixture::start()
{
    EXPECT_EQ(prepareWindow(), frmSitePins::StartOutcome::Running);
    // The splash shows the window at its first tick.
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_window->isVisible(); }, 5000));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    (void)QTest::qWaitForWindowActive(m_window.get());
    return *m_window;
}

frmSitePinsUi &MainWindowFixture::ui()
{
    return m_window->ui();
}

std::unique_ptr<XMLDatabase> MainWindowFixture::reopenLibrary() const
{
    auto db = std::make_unique<XMLDatabase>();
    EXPECT_TRUE(db->openDBValidate(libraryPath())) << db->lastOpenError().toStdString();
    return db;
}

QTreeWidgetItem *MainWindowFixture::folderNode(const QString &name) const
{
    for (QTreeWidgetItemIterator it(m_window->ui().tvwTopics); *it; ++it) {
        if ((*it)->text(0) == name)
            return *it;
    }
    return nullptr;
}

QModelIndex MainWindowFixture::entry(QTreeView *list, const QString &name) const
{
    const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, name, 1,
                                                       Qt::MatchExactly | Qt::MatchCaseSensitive);
    return found.isEmpty() ? QModelIndex() : found.front();
}

QStringList MainWindowFixture::entryNames(QTreeView *list) const
{
    QStringList names;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        names << list->model()->index(row, 0).data().toString();
    return names;
}

void MainWindowFixture::clickItem(QTreeView *list, const QModelIndex &entry)
{
    ASSERT_TRUE(entry.isValid());
    list->scrollTo(entry);
    const QRect rect = list->visualRect(entry);
    ASSERT_TRUE(rect.isValid()) << "entry not visible: " << entry.data().toString().toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

QStringList MainWindowFixture::childNames(QTreeWidgetItem *node) const
{
    QStringList names;
    for (int i = 0; node && i < node->childCount(); ++i)
        names << node->child(i)->text(0);
    return names;
}

void MainWindowFixture::clickItem(QTreeWidget *tree, QTreeWidgetItem *item)
{
    ASSERT_TRUE(item);
    tree->scrollToItem(item);
    const QRect rect = tree->visualItemRect(item);
    ASSERT_TRUE(rect.isValid()) << "item not visible: " << item->text(0).toStdString();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
}

void MainWindowFixture::clickFolder(const QString &name)
{
    clickItem(ui().tvwTopics, folderNode(name));
}

void MainWindowFixture::clickSitePin(const QString &name)
{
    clickItem(ui().tvwWM, entry(ui().tvwWM, name));
}

void MainWindowFixture::runMenu(const QString &name)
{
    QAction *action = ui().commands->element(name);
    ASSERT_TRUE(action) << name.toStdString();
    action->trigger();
}

void MainWindowFixture::clickToolbarButton(int index)
{
    QAction *button = ui().commands->toolbarButton(index);
    ASSERT_TRUE(button);
    QWidget *widget = ui().Toolbar1->widgetForAction(button);
    ASSERT_TRUE(widget);
    QTest::mouseClick(widget, Qt::LeftButton);
}

bool MainWindowFixture::isEnabled(const QString &menuElement) const
{
    return m_window->ui().commands->isEnabled(menuElement);
}

bool MainWindowFixture::isButtonEnabled(int index) const
{
    return m_window->ui().commands->isButtonEnabled(index);
}

void MainWindowFixture::expectOnlyMessage(const QString &text, const QString &title, MessageButtons buttons,
                                          MessageIcon icon)
{
    ASSERT_EQ(m_dialogs.shown().size(), 1u) << m_dialogs.shownTexts().join(" | ").toStdString();
    const MessageRequest &shown = m_dialogs.shown().front().request;
    EXPECT_EQ(shown.text, text);
    EXPECT_EQ(shown.title, title);
    EXPECT_EQ(shown.buttons, buttons);
    EXPECT_EQ(shown.icon, icon);
}
