#include "browser/PreviewPane.h"

#include "browser/PreviewEngine.h"
#include "browser/PreviewEngineFactory.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>

#include <cmath>

namespace {

// What the preview shows itself; any other address (mail, telephone, other
// programs' schemes) would start another program, so the page is blanked.
bool isPreviewable(const QUrl &url)
{
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("file");
}

} // namespace

PreviewPane::PreviewPane(frmSitePins &window, const QString &engineModule)
    : QObject(&window)
    , m_window(window)
    , m_loader(engineModule)
{
    frmSitePinsUi &ui = window.ui();
    connect(ui.chkAutoPreview, &QCheckBox::toggled, this, &PreviewPane::chkAutoPreview_Click);
    connect(ui.cmdPreview, &QPushButton::clicked, this, &PreviewPane::cmdPreview_Click);
    connect(ui.cmdRefresh, &QPushButton::clicked, this, &PreviewPane::cmdRefresh_Click);
    connect(ui.cmdStop, &QPushButton::clicked, this, &PreviewPane::cmdStop_Click);
}

PreviewPane::~PreviewPane()
{
    if (m_engine) {
        m_engine.reset();
        m_window.ui().wbPreview = nullptr;
    }
}

void PreviewPane::showSitePinAddress(const QString &address)
{
    if (m_window.m_blnAutoPreview) {
        setSilent(false);
        navigate(address);
    } else {
        blank();
    }
}

void PreviewPane::blank()
{
    navigate(QStringLiteral("about:blank"));
}

void PreviewPane::navigate(const QString &address)
{
    m_address = address;
    const QUrl blankPage(QStringLiteral("about:blank"));
    QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid())
        return;
    if (!isPreviewable(url))
        url = blankPage;
    if (url == blankPage && !m_engine)
        return;
    if (PreviewEngine *engine = startedEngine())
        engine->navigate(url);
}

void PreviewPane::setSilent(bool silent)
{
    m_silent = silent;
    if (m_engine)
        m_engine->setSilent(silent);
}

PreviewEngine *PreviewPane::startedEngine()
{
    if (m_engine)
        return m_engine.get();
    PreviewEngineFactory *factory = m_loader.factory();
    if (!factory)
        return nullptr;
    frmSitePinsUi &ui = m_window.ui();
    m_engine = factory->create(ui.wbPreview->parentWidget(), *this);
    m_engine->setSilent(m_silent);
    ui.installPreviewView(m_engine->view());
    return m_engine.get();
}

// The preview itself changes only with the next SitePin shown.
void PreviewPane::chkAutoPreview_Click(bool checked)
{
    m_window.m_blnAutoPreview = checked;
}

// During an edit the address as typed.
void PreviewPane::cmdPreview_Click()
{
    setSilent(false);
    navigate(m_window.ui().txtAddress->text());
}

void PreviewPane::cmdRefresh_Click()
{
    if (m_engine)
        m_engine->refresh();
}

void PreviewPane::cmdStop_Click()
{
    if (m_engine)
        m_engine->stop();
}

std::optional<int> PreviewPane::progressPercent(int progress, int maximum)
{
    if (progress == -1 || maximum == 0)
        return std::nullopt;
    const double percent = static_cast<double>(static_cast<qint64>(progress) * 100) / maximum;
    // Whole per cents, halves to the even neighbour. A value outside the
    // bar's range leaves it as it is.
    const double value = std::nearbyint(percent);
    if (value < 0 || value > 100)
        return std::nullopt;
    return static_cast<int>(value);
}

void PreviewPane::downloadBegin()
{
    QProgressBar *bar = m_window.ui().previewProgress;
    bar->setVisible(true);
    bar->setValue(0);
}

void PreviewPane::progressChange(int progress, int maximum)
{
    if (const std::optional<int> value = progressPercent(progress, maximum))
        m_window.ui().previewProgress->setValue(*value);
}

void PreviewPane::downloadComplete()
{
    QProgressBar *bar = m_window.ui().previewProgress;
    bar->setValue(100);
    bar->setVisible(false);
}

void PreviewPane::statusTextChange(const QString &text)
{
    m_window.ui().lblStatus->setText(text);
}
