#include "BenchRun.h"
#include "LibraryGenerator.h"

#include "store/XMLDatabase.h"
#include "store/XmlDocument.h"
#include "store/XmlNode.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <libxml/parser.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>

namespace {

constexpr int kSizes[] = {1000, 10000, 32767};

struct Library
{
    QString path;
    qint64 fileSize = 0;
    int folderCount = 0;
};

// Made once before any case runs; the temporary folder lives until exit. It
// is created under TMPDIR, so pointing TMPDIR elsewhere measures that disk.
std::unique_ptr<QTemporaryDir> workDir;
std::map<int, Library> libraries;

const Library &library(int count)
{
    return libraries.at(count);
}

QString savePath(int count)
{
    return workDir->filePath(QStringLiteral("saved-%1.xml").arg(count));
}

bool openOrSkip(benchmark::State &state, XMLDatabase &database, int count)
{
    if (database.openDBValidate(library(count).path))
        return true;
    state.SkipWithError(qPrintable(database.lastOpenError()));
    return false;
}

void BM_OpenDBValidate(benchmark::State &state)
{
    const int count = int(state.range(0));
    // One database for all iterations, so that each open also releases the
    // document loaded before it, as opening another library does.
    XMLDatabase database;
    for (auto _ : state) {
        if (!database.openDBValidate(library(count).path)) {
            state.SkipWithError(qPrintable(database.lastOpenError()));
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * library(count).fileSize);
}

// libxml2 alone, with the options our load uses and the previous document
// released first as openDBValidate does: what an open cannot beat.
void BM_LibxmlReadFloor(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QByteArray path = QFile::encodeName(library(count).path);
    xmlDocPtr previous = nullptr;
    for (auto _ : state) {
        if (previous)
            xmlFreeDoc(previous);
        previous = xmlReadFile(path.constData(), nullptr, XML_PARSE_DTDLOAD | XML_PARSE_NOBLANKS | XML_PARSE_NONET);
        if (!previous) {
            state.SkipWithError("libxml2 could not read the library");
            break;
        }
    }
    if (previous)
        xmlFreeDoc(previous);
    state.SetBytesProcessed(state.iterations() * library(count).fileSize);
}

template<QString (XMLDatabase::*NewIdentifier)() const>
void newIdentifierBench(benchmark::State &state)
{
    const int count = int(state.range(0));
    XMLDatabase database;
    if (!openOrSkip(state, database, count))
        return;
    QString identifier;
    for (auto _ : state) {
        identifier = (database.*NewIdentifier)();
        benchmark::DoNotOptimize(identifier);
    }
    // At 32,767 SitePins there is no W number left, so only the count is paid.
    state.SetLabel(identifier.isEmpty() ? "none left" : identifier.toStdString());
}

void BM_GetNewWID(benchmark::State &state)
{
    newIdentifierBench<&XMLDatabase::getNewWID>(state);
}

void BM_GetNewTID(benchmark::State &state)
{
    newIdentifierBench<&XMLDatabase::getNewTID>(state);
}

// The whole save as a command does it: serialise, write a temporary file,
// flush it to disk, rename it over the library that is already there, flush
// the folder.
void BM_Save(benchmark::State &state)
{
    const int count = int(state.range(0));
    XMLDatabase database;
    if (!openOrSkip(state, database, count))
        return;
    const XmlDocument document = database.getTheDOM();
    const QString target = savePath(count);
    const qint64 bytes = document.serialize().size();
    for (auto _ : state) {
        const SaveResult result = document.save(target);
        if (!result) {
            state.SkipWithError(qPrintable(result.errorString));
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

// The save's serialisation alone, to tell it apart from the disk.
void BM_Serialize(benchmark::State &state)
{
    const int count = int(state.range(0));
    XMLDatabase database;
    if (!openOrSkip(state, database, count))
        return;
    const XmlDocument document = database.getTheDOM();
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray text = document.serialize();
        bytes = text.size();
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

// What any durable atomic save must pay whatever builds the text: write a
// temporary file, fsync it, rename it over the old one, fsync the folder so
// that the rename itself survives a crash. Plain system calls, as a floor.
void BM_AtomicWriteFloor(benchmark::State &state)
{
    const int count = int(state.range(0));
    XMLDatabase database;
    if (!openOrSkip(state, database, count))
        return;
    const QByteArray text = database.getTheDOM().serialize();
    const QByteArray target = QFile::encodeName(workDir->filePath(QStringLiteral("floor-%1.xml").arg(count)));
    const QByteArray temporary = target + ".tmp";
    const QByteArray folderPath = QFile::encodeName(workDir->path());
    for (auto _ : state) {
        const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        bool ok = fd >= 0;
        for (qsizetype done = 0; ok && done < text.size();) {
            const ssize_t written = ::write(fd, text.constData() + done, std::size_t(text.size() - done));
            ok = written > 0;
            done += ok ? written : 0;
        }
        ok = ok && ::fsync(fd) == 0;
        if (fd >= 0)
            ok = ::close(fd) == 0 && ok;
        ok = ok && ::rename(temporary.constData(), target.constData()) == 0;
        const int folder = ok ? ::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
        ok = ok && folder >= 0 && ::fsync(folder) == 0;
        if (folder >= 0)
            ok = ::close(folder) == 0 && ok;
        if (!ok) {
            state.SkipWithError("writing the file failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

void sizes(benchmark::internal::Benchmark *bench)
{
    for (const int count : kSizes)
        bench->Arg(count);
}

BENCHMARK(BM_OpenDBValidate)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibxmlReadFloor)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetNewWID)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetNewTID)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Serialize)->Apply(sizes)->Unit(benchmark::kMillisecond);
// Real time: the flush to disk is spent waiting, not on the processor.
BENCHMARK(BM_Save)->Apply(sizes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AtomicWriteFloor)->Apply(sizes)->Unit(benchmark::kMillisecond)->UseRealTime();

// A generated library that does not open, or opens with other counts, would
// make every figure meaningless: stop before measuring anything.
bool prepareLibraries()
{
    workDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/sitepins-bench-XXXXXX"));
    if (!workDir->isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder: %s\n", qPrintable(workDir->errorString()));
        return false;
    }
    for (const int count : kSizes) {
        Library entry;
        entry.path = workDir->filePath(QStringLiteral("library-%1.xml").arg(count));
        entry.folderCount = LibraryGenerator::folderCountFor(count);
        const QString error = LibraryGenerator::writeLibrary(entry.path, count);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(entry.path), qPrintable(error));
            return false;
        }
        entry.fileSize = QFileInfo(entry.path).size();

        XMLDatabase database;
        if (!database.openDBValidate(entry.path)) {
            std::fprintf(stderr, "%s does not open: %s\n", qPrintable(entry.path),
                         qPrintable(database.lastOpenError()));
            return false;
        }
        const XmlNode root = database.getTheDOM().documentElement();
        const int sitePins = root.countElementsByTagName(QStringLiteral("SITEPIN"));
        const int folders = root.countElementsByTagName(QStringLiteral("FOLDER"));
        const QString lastWid = QStringLiteral("W%1").arg(count);
        if (sitePins != count || folders != entry.folderCount || database.getSPName(lastWid).isEmpty()) {
            std::fprintf(stderr, "%s: %d SitePins and %d folders, expected %d and %d\n", qPrintable(entry.path),
                         sitePins, folders, count, entry.folderCount);
            return false;
        }
        benchmark::AddCustomContext(
            QStringLiteral("library %1").arg(count).toStdString(),
            QStringLiteral("%1 bytes, %2 folders").arg(entry.fileSize).arg(folders).toStdString());
        libraries.emplace(count, entry);
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    return BenchRun::run(argc, argv, prepareLibraries);
}
