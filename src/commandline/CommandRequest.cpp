#include "commandline/CommandRequest.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

const char *actionName(CommandLineOptions::Action action)
{
    switch (action) {
    case CommandLineOptions::Action::Add:
        return "add";
    case CommandLineOptions::Action::Import:
        return "import";
    default:
        return "";
    }
}

QJsonObject objectOf(const Message &message, MessageType type)
{
    if (!message.is(type))
        return {};
    return QJsonDocument::fromJson(message.payload).object();
}

} // namespace

Message CommandRequest::encode(const CommandLineOptions &options, const QString &library)
{
    const QJsonObject object{{QStringLiteral("command"), QLatin1String(actionName(options.action))},
                             {QStringLiteral("library"), library},
                             {QStringLiteral("address"), options.address},
                             {QStringLiteral("name"), options.name},
                             {QStringLiteral("folder"), options.folder},
                             {QStringLiteral("file"), options.file}};
    return {quint8(MessageType::Command), QJsonDocument(object).toJson(QJsonDocument::Compact)};
}

std::optional<CommandRequest::Decoded> CommandRequest::decode(const Message &message)
{
    const QJsonObject object = objectOf(message, MessageType::Command);
    Decoded decoded;
    const QString command = object.value(QLatin1String("command")).toString();
    if (command == QLatin1String("add"))
        decoded.options.action = CommandLineOptions::Action::Add;
    else if (command == QLatin1String("import"))
        decoded.options.action = CommandLineOptions::Action::Import;
    else
        return std::nullopt;
    decoded.library = object.value(QLatin1String("library")).toString();
    decoded.options.library = decoded.library;
    decoded.options.address = object.value(QLatin1String("address")).toString();
    decoded.options.name = object.value(QLatin1String("name")).toString();
    decoded.options.folder = object.value(QLatin1String("folder")).toString();
    decoded.options.file = object.value(QLatin1String("file")).toString();
    return decoded;
}

Message CommandRequest::encodeReply(bool handled, const CommandResult &result)
{
    const QJsonObject object{{QStringLiteral("handled"), handled},
                             {QStringLiteral("exitCode"), result.exitCode},
                             {QStringLiteral("output"), result.output},
                             {QStringLiteral("error"), result.error}};
    return {quint8(MessageType::CommandReply), QJsonDocument(object).toJson(QJsonDocument::Compact)};
}

std::optional<std::pair<bool, CommandResult>> CommandRequest::decodeReply(const Message &message)
{
    const QJsonObject object = objectOf(message, MessageType::CommandReply);
    if (!object.contains(QLatin1String("handled")))
        return std::nullopt;
    CommandResult result;
    result.exitCode = object.value(QLatin1String("exitCode")).toInt(1);
    result.output = object.value(QLatin1String("output")).toString();
    result.error = object.value(QLatin1String("error")).toString();
    return std::pair{object.value(QLatin1String("handled")).toBool(), result};
}
