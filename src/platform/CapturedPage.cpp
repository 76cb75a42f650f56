#include "platform/CapturedPage.h"

#include "platform/browser/ShellWindow.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString kUrlOption = QStringLiteral("--capture-url=");
const QString kTitleOption = QStringLiteral("--capture-title=");

QString optionValue(const QStringList &arguments, const QString &option)
{
    for (const QString &argument : arguments) {
        if (argument.startsWith(option))
            return argument.mid(option.size());
    }
    return {};
}

} // namespace

std::optional<CapturedPage> CapturedPage::make(const QString &url, const QString &title)
{
    if (url.isEmpty() || url.size() > kMaxUrlLength || !ShellWindow::isWebAddress(url))
        return std::nullopt;
    // Line breaks and other controls have no place in a name.
    QString name = title.left(kMaxTitleLength);
    for (QChar &c : name) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return CapturedPage{url, name.trimmed()};
}

std::optional<CapturedPage> CapturedPage::fromMessage(const Message &message)
{
    if (!message.is(MessageType::CapturePage))
        return std::nullopt;
    const QJsonObject page = QJsonDocument::fromJson(message.payload).object();
    return make(page.value(QStringLiteral("url")).toString(), page.value(QStringLiteral("title")).toString());
}

std::optional<CapturedPage> CapturedPage::fromArguments(const QStringList &arguments)
{
    return make(optionValue(arguments, kUrlOption), optionValue(arguments, kTitleOption));
}

Message CapturedPage::toMessage() const
{
    const QJsonObject page{{QStringLiteral("url"), url}, {QStringLiteral("title"), title}};
    return {quint8(MessageType::CapturePage), QJsonDocument(page).toJson(QJsonDocument::Compact)};
}

QStringList CapturedPage::toArguments() const
{
    // One argument each, so that nothing in a title can pass for an option.
    return {kUrlOption + url, kTitleOption + title};
}
