#include "commandline/CommandLine.h"

#include "commandline/CommandRequest.h"
#include "commandline/LibraryCommands.h"
#include "help/HelpTopics.h"
#include "platform/InstanceChannel.h"
#include "platform/ProgramFiles.h"
#include "store/AtomicFile.h"
#include "store/DefaultLibraryLocation.h"
#include "store/LibraryLock.h"
#include "store/XMLDatabase.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

constexpr int kSaveLockWaitMs = 5000;

void print(FILE *stream, const QString &text)
{
    if (text.isEmpty())
        return;
    const QByteArray bytes = (text.endsWith(QLatin1Char('\n')) ? text : text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

QString absolute(const QString &path)
{
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

} // namespace

CommandLine::CommandLine(Setup setup)
    : m_setup(std::move(setup))
{
}

QStringList CommandLine::arguments(int argc, char **argv)
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

int CommandLine::run(const QStringList &arguments)
{
    const CommandResult result = execute(CommandLineOptions::parse(arguments));
    print(stdout, result.output);
    print(stderr, result.error);
    return result.exitCode;
}

CommandResult CommandLine::execute(const CommandLineOptions &given)
{
    if (!given.error.isEmpty())
        return CommandResult::usage(given.error + QStringLiteral("\nSee SitePins --help."));
    switch (given.action) {
    case CommandLineOptions::Action::Help:
    case CommandLineOptions::Action::OpenWindow:
        return CommandResult::done(CommandLineOptions::helpText() + userGuideLine());
    case CommandLineOptions::Action::Version:
        return CommandResult::done(QStringLiteral("SitePins Manager " SITEPINS_VERSION));
    default:
        break;
    }
    CommandLineOptions options = given;
    options.file = absolute(options.file);
    const QString library = libraryPath(options);
    if (options.changesLibrary())
        return handOverOrRunHere(options, library);
    return runHere(options, library);
}

// Where the window's Help finds the user guide, for reading it without one.
QString CommandLine::userGuideLine() const
{
    const QString guide = ProgramFiles(m_setup.programFolder).path(QString::fromLatin1(HelpTopics::kHelpFileName));
    return QStringLiteral("\nThe user guide: %1\n").arg(QDir::toNativeSeparators(guide));
}

QString CommandLine::libraryPath(const CommandLineOptions &options) const
{
    if (!options.library.isEmpty())
        return absolute(options.library);
    return absolute(DefaultLibraryLocation(m_setup.programFolder).resolve());
}

CommandResult CommandLine::handOverOrRunHere(const CommandLineOptions &options, const QString &library)
{
    InstanceChannel channel(m_setup.instanceName);
    // Holding the name keeps a window from opening on the library, and
    // writing it, while this works on it.
    if (channel.tryBecomePrimary() || !channel.isHeldByAnother())
        return runHere(options, library);
    const QString canonical = QFileInfo(library).canonicalFilePath();
    const std::optional<Message> reply = channel.request(
        CommandRequest::encode(options, canonical.isEmpty() ? library : canonical), m_setup.replyTimeoutMs);
    if (!reply)
        return CommandResult::failed(QStringLiteral("SitePins Manager is running but did not answer (%1), so it is "
                                                    "not known whether the command was carried out.")
                                         .arg(channel.errorString()));
    const auto decoded = CommandRequest::decodeReply(*reply);
    if (!decoded)
        return CommandResult::failed(QStringLiteral("SitePins Manager is running but gave an answer that makes no "
                                                    "sense, so it is not known whether the command was carried out."));
    // It has another library open: this one is ours to change.
    if (!decoded->first)
        return runHere(options, library);
    return decoded->second;
}

CommandResult CommandLine::runHere(const CommandLineOptions &options, const QString &library)
{
    XMLDatabase database;
    database.setPath(library);
    if (!database.openDBValidate(library))
        return CommandResult::failed(QStringLiteral("The library %1 could not be opened: %2")
                                         .arg(QDir::toNativeSeparators(library), database.lastOpenError()));
    XmlDocument dom = database.getTheDOM();
    if (options.action == CommandLineOptions::Action::Search)
        return LibraryCommands::search(dom, options);
    if (options.action == CommandLineOptions::Action::Export)
        return LibraryCommands::exportTo(dom, options);
    if (AtomicFile::isReadOnly(library))
        return CommandResult::failed(
            QStringLiteral("The library %1 is read-only. Nothing was changed.").arg(QDir::toNativeSeparators(library)));
    // The same save lock as a window's, so that the two never replace the
    // file at the same moment.
    const LibraryCommands::Library target{
        database, dom, m_setup.today(), [&dom, &library] {
            LibraryLock lock(library, LibraryLock::Purpose::Saving);
            if (!lock.tryLock(kSaveLockWaitMs) && lock.isHeldByAnother())
                return SaveResult::failure(QStringLiteral("another program (%1) is saving it").arg(lock.holder()));
            return dom.save(library);
        }};
    if (options.action == CommandLineOptions::Action::Add)
        return LibraryCommands::add(target, options);
    return LibraryCommands::import(target, options.file, std::nullopt, QString());
}
