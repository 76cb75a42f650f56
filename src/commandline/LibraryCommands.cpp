#include "commandline/LibraryCommands.h"

#include "exchange/BookmarkFile.h"
#include "exchange/FolderPath.h"
#include "exchange/ImportSummary.h"
#include "exchange/LibraryExport.h"
#include "exchange/LibrarySearch.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString notSaved(const SaveResult &saved)
{
    return QStringLiteral("The library could not be saved (%1). Nothing was changed.").arg(saved.errorString);
}

} // namespace

CommandResult LibraryCommands::add(const Library &library, const CommandLineOptions &options,
                                   SitePinAddition::Outcome *added)
{
    const SitePinAddition::Outcome outcome = SitePinAddition::add(
        library.database, library.dom, {options.address, options.name, options.folder}, library.today);
    if (!outcome.ok)
        return CommandResult::failed(outcome.errorString + QStringLiteral(" Nothing was changed."));
    if (const SaveResult saved = library.save(); !saved) {
        SitePinAddition::undo(outcome);
        return CommandResult::failed(notSaved(saved));
    }
    if (added)
        *added = outcome;
    return CommandResult::done(outcome.summary());
}

CommandResult LibraryCommands::import(const Library &library, const QString &file, std::optional<BookmarkFormat> format,
                                      const QString &source, const LibraryImport::Progress &progress,
                                      LibraryImport::Outcome *imported)
{
    QString sniffError;
    if (!format)
        format = BookmarkFormats::sniffFile(file, sniffError);
    const BookmarkReadResult read =
        format ? BookmarkFile::read(file, *format)
               : BookmarkReadResult::failure(QFileInfo::exists(file) ? sniffError + QLatin1Char('.')
                                                                     : QStringLiteral("The file does not exist."));
    if (!read.ok)
        return CommandResult::failed(QStringLiteral("%1 could not be imported. %2 Nothing was changed.")
                                         .arg(QDir::toNativeSeparators(file), read.errorString));
    const QString topName =
        LibraryImport::topFolderName(source.isEmpty() ? LibraryImport::sourceOf(file, *format) : source, library.today);
    LibraryImport import(library.database, library.dom, library.today);
    import.setProgress(progress);
    const LibraryImport::Outcome outcome = import.run(read.tree, topName);
    if (outcome.cancelled)
        return CommandResult::failed(QStringLiteral("The import was cancelled. Nothing was changed."));
    if (!outcome.topFolder)
        return CommandResult::failed(ImportSummary::outOfIdentifiers(outcome.leftOut));
    if (const SaveResult saved = library.save(); !saved) {
        XmlNode root = library.dom.documentElement();
        root.removeChild(outcome.topFolder);
        return CommandResult::failed(notSaved(saved));
    }
    if (imported)
        *imported = outcome;
    CommandResult result = CommandResult::done(ImportSummary::text(outcome, topName, read.tree.skipped));
    // Part of what was asked for is missing.
    if (outcome.outOfIdentifiers)
        result.exitCode = 1;
    return result;
}

CommandResult LibraryCommands::search(const XmlDocument &dom, const CommandLineOptions &options)
{
    QString lines;
    const auto field = LibrarySearch::fieldNamed(options.searchField).value_or(LibrarySearch::Field::All);
    for (const XmlNode &sitePin : LibrarySearch::find(dom, options.searchText, field))
        lines += LibrarySearch::line(sitePin) + QLatin1Char('\n');
    return {0, lines, {}};
}

CommandResult LibraryCommands::exportTo(const XmlDocument &dom, const CommandLineOptions &options)
{
    XmlNode start = dom.documentElement();
    if (!options.folder.isEmpty()) {
        start = FolderPath::find(dom, FolderPath::split(options.folder));
        if (!start)
            return CommandResult::failed(QStringLiteral("There is no folder %1.").arg(options.folder));
    }
    const std::optional<BookmarkFormat> format = BookmarkFormats::forExport(options.file);
    const LibraryExport::Outcome outcome =
        LibraryExport::toFile(options.file, start, format.value_or(BookmarkFormat::Netscape));
    if (!outcome.saved)
        return CommandResult::failed(
            QStringLiteral("The bookmarks could not be written: %1").arg(outcome.saved.errorString));
    return CommandResult::done(QStringLiteral("Exported %1 folders and %2 SitePins to %3.")
                                   .arg(outcome.folders)
                                   .arg(outcome.sitePins)
                                   .arg(QDir::toNativeSeparators(options.file)));
}
