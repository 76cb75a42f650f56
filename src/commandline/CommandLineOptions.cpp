#include "commandline/CommandLineOptions.h"

#include "exchange/BookmarkFormats.h"
#include "exchange/LibrarySearch.h"

#include <QCommandLineParser>
#include <QSet>

namespace {

struct Parser
{
    Parser()
    {
        // "-reverse", an option of the window system's, must not read as -v.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({library, add, name, folder, search, in, exportTo, importFrom, help, version});
        // The bridge host starts the program for a page clicked in the browser.
        for (QCommandLineOption *capture : {&captureUrl, &captureTitle}) {
            capture->setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(*capture);
        }
    }

    QCommandLineParser parser;
    QCommandLineOption library{QStringLiteral("library"), {}, QStringLiteral("FILE")};
    QCommandLineOption add{QStringLiteral("add"), {}, QStringLiteral("URL")};
    QCommandLineOption name{QStringLiteral("name"), {}, QStringLiteral("NAME")};
    QCommandLineOption folder{QStringLiteral("folder"), {}, QStringLiteral("PATH")};
    QCommandLineOption search{QStringLiteral("search"), {}, QStringLiteral("TEXT")};
    QCommandLineOption in{QStringLiteral("in"), {}, QStringLiteral("FIELD")};
    QCommandLineOption exportTo{QStringLiteral("export"), {}, QStringLiteral("FILE")};
    QCommandLineOption importFrom{QStringLiteral("import"), {}, QStringLiteral("FILE")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}};
    QCommandLineOption captureUrl{QStringLiteral("capture-url"), {}, QStringLiteral("URL")};
    QCommandLineOption captureTitle{QStringLiteral("capture-title"), {}, QStringLiteral("TITLE")};
};

QString firstProblem(const Parser &p, const CommandLineOptions &options)
{
    const QCommandLineParser &parser = p.parser;
    int commands = 0;
    for (const QCommandLineOption *command : {&p.add, &p.search, &p.exportTo, &p.importFrom})
        commands += parser.isSet(*command) ? 1 : 0;
    if (commands > 1)
        return QStringLiteral("Give only one of --add, --search, --export and --import.");
    if ((parser.isSet(p.help) || parser.isSet(p.version)) && commands > 0)
        return QStringLiteral("--help and --version take no command.");
    if (parser.isSet(p.name) && !parser.isSet(p.add))
        return QStringLiteral("--name goes with --add.");
    if (parser.isSet(p.folder) && !parser.isSet(p.add) && !parser.isSet(p.exportTo))
        return QStringLiteral("--folder goes with --add or --export.");
    if (parser.isSet(p.in) && !parser.isSet(p.search))
        return QStringLiteral("--in goes with --search.");
    if (parser.isSet(p.in) && !LibrarySearch::fieldNamed(options.searchField))
        return QStringLiteral("--in takes name, address, notes or all, not \"%1\".").arg(options.searchField);
    for (const QCommandLineOption *option :
         {&p.library, &p.add, &p.name, &p.folder, &p.search, &p.in, &p.exportTo, &p.importFrom}) {
        if (parser.values(*option).size() > 1)
            return QStringLiteral("--%1 is given more than once.").arg(option->names().constFirst());
    }
    if (parser.isSet(p.exportTo) && !BookmarkFormats::forExport(options.file))
        return QStringLiteral("Cannot tell the format from the name \"%1\": use .html or .htm for a Netscape bookmark "
                              "file, .xbel or .xml for XBEL.")
            .arg(options.file);
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return QStringLiteral("Give one library at most.");
    if (positional.size() == 1 && parser.isSet(p.library) && positional.constFirst() != parser.value(p.library))
        return QStringLiteral("Two libraries are given: \"%1\" and \"%2\".")
            .arg(parser.value(p.library), positional.constFirst());
    if ((parser.isSet(p.add) && options.address.trimmed().isEmpty()) ||
        (parser.isSet(p.exportTo) && options.file.isEmpty()) || (parser.isSet(p.importFrom) && options.file.isEmpty()))
        return QStringLiteral("The command needs a value.");
    return {};
}

} // namespace

CommandLineOptions CommandLineOptions::parse(const QStringList &arguments)
{
    CommandLineOptions options;
    Parser p;
    const QCommandLineParser &parser = p.parser;
    if (!p.parser.parse(arguments)) {
        options.error = parser.errorText();
        return options;
    }
    options.library = parser.value(p.library);
    if (options.library.isEmpty() && !parser.positionalArguments().isEmpty())
        options.library = parser.positionalArguments().constFirst();
    options.address = parser.value(p.add);
    options.name = parser.value(p.name);
    options.folder = parser.value(p.folder);
    options.searchText = parser.value(p.search);
    if (parser.isSet(p.in))
        options.searchField = parser.value(p.in);
    options.file = parser.isSet(p.exportTo) ? parser.value(p.exportTo) : parser.value(p.importFrom);
    options.error = firstProblem(p, options);
    if (!options.error.isEmpty())
        return options;
    if (parser.isSet(p.help))
        options.action = Action::Help;
    else if (parser.isSet(p.version))
        options.action = Action::Version;
    else if (parser.isSet(p.add))
        options.action = Action::Add;
    else if (parser.isSet(p.search))
        options.action = Action::Search;
    else if (parser.isSet(p.exportTo))
        options.action = Action::Export;
    else if (parser.isSet(p.importFrom))
        options.action = Action::Import;
    return options;
}

bool CommandLineOptions::asksForCommand(const QStringList &arguments)
{
    const CommandLineOptions options = parse(withoutWindowSystemOptions(arguments));
    // Wrong arguments are told about without a window too.
    return !options.error.isEmpty() || options.action != Action::OpenWindow;
}

// The options Qt's window system integration takes out of the arguments
// when the application object is made, with one dash or two.
QStringList CommandLineOptions::withoutWindowSystemOptions(const QStringList &arguments)
{
    static const QSet<QString> withValue{QStringLiteral("platform"),
                                         QStringLiteral("platformpluginpath"),
                                         QStringLiteral("platformtheme"),
                                         QStringLiteral("plugin"),
                                         QStringLiteral("qwindowgeometry"),
                                         QStringLiteral("geometry"),
                                         QStringLiteral("qwindowicon"),
                                         QStringLiteral("icon"),
                                         QStringLiteral("qwindowtitle"),
                                         QStringLiteral("title"),
                                         QStringLiteral("session"),
                                         QStringLiteral("display"),
                                         QStringLiteral("style"),
                                         QStringLiteral("stylesheet"),
                                         QStringLiteral("visual"),
                                         QStringLiteral("ncols"),
                                         QStringLiteral("cmap"),
                                         QStringLiteral("im"),
                                         QStringLiteral("inputstyle"),
                                         QStringLiteral("fn"),
                                         QStringLiteral("font"),
                                         QStringLiteral("bg"),
                                         QStringLiteral("fg"),
                                         QStringLiteral("btn"),
                                         QStringLiteral("button"),
                                         QStringLiteral("background"),
                                         QStringLiteral("foreground"),
                                         QStringLiteral("qmljsdebugger")};
    static const QSet<QString> flags{QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                     QStringLiteral("nograb"),  QStringLiteral("dograb"),
                                     QStringLiteral("sync"),    QStringLiteral("testability")};
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (i == 0 || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("--")) {
            kept << argument;
            continue;
        }
        QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        const bool joinedValue = name.contains(QLatin1Char('='));
        name = name.section(QLatin1Char('='), 0, 0);
        if (flags.contains(name))
            continue;
        if (withValue.contains(name)) {
            if (!joinedValue)
                ++i;
            continue;
        }
        kept << argument;
    }
    return kept;
}

QString CommandLineOptions::helpText()
{
    return QStringLiteral("Usage: SitePins [--library FILE] [LIBRARY]\n"
                          "       SitePins [--library FILE] --add URL [--name NAME] [--folder PATH]\n"
                          "       SitePins [--library FILE] --search TEXT [--in name|address|notes|all]\n"
                          "       SitePins [--library FILE] --export FILE [--folder PATH]\n"
                          "       SitePins [--library FILE] --import FILE\n"
                          "\n"
                          "Without a command, SitePins Manager opens its window on LIBRARY, or on the\n"
                          "default library; when it is already running, it opens LIBRARY there.\n"
                          "\n"
                          "  --library FILE  work on this library instead of the default one\n"
                          "  --add URL       add a SitePin with this address\n"
                          "  --name NAME     the new SitePin's name (default: its address)\n"
                          "  --folder PATH   the folder, as the names of the folders from the top\n"
                          "                  joined by \"/\"; missing folders are made (default:\n"
                          "                  Unsorted). With --export: write only this folder.\n"
                          "  --search TEXT   print the SitePins holding TEXT, one a line: the name,\n"
                          "                  a tab, the address\n"
                          "  --in FIELD      look in the name, address or notes, or in all fields\n"
                          "                  (default: all)\n"
                          "  --export FILE   write the library to FILE: a Netscape bookmark file for\n"
                          "                  .html or .htm, XBEL for .xbel or .xml\n"
                          "  --import FILE   import a Netscape bookmark file, an XBEL file, a Chromium\n"
                          "                  or Chrome Bookmarks file or a Firefox places.sqlite into\n"
                          "                  a new folder at the top\n"
                          "  -h, --help      show this text\n"
                          "  -v, --version   show the version\n"
                          "\n"
                          "When SitePins Manager is running on the same library, it carries out --add\n"
                          "and --import itself, so that its window shows the change.\n"
                          "Exit status: 0 done, 1 failed, 2 wrong arguments.\n");
}
