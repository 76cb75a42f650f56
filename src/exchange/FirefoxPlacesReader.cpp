#include "exchange/FirefoxPlacesReader.h"

#include "exchange/BookmarkDates.h"
#include "exchange/BookmarkTreeBuilder.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <QUrl>

#include <sqlite3.h>

#include <cstring>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

struct DatabaseClose
{
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
using Database = std::unique_ptr<sqlite3, DatabaseClose>;

struct StatementFinalize
{
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalize>;

struct Row
{
    qint64 id = 0;
    qint64 parent = 0;
    int type = 0;
    QString title;
    qint64 dateAdded = 0;
    QString guid;
    QString url;
    QString pageTitle;
    QString description;
};

constexpr int kBookmark = 1;
constexpr int kFolder = 2;

// The roots by their fixed identifiers, under the names Firefox shows.
const std::pair<const char *, const char *> kRoots[] = {{"menu________", "Bookmarks Menu"},
                                                        {"toolbar_____", "Bookmarks Toolbar"},
                                                        {"unfiled_____", "Other Bookmarks"},
                                                        {"mobile______", "Mobile Bookmarks"}};

QString columnText(sqlite3_stmt *statement, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(statement, column)) : QString();
}

QString notABookmarkDatabase(sqlite3 *db)
{
    return QStringLiteral("The file is not a Firefox bookmarks database: %1.")
        .arg(QString::fromUtf8(sqlite3_errmsg(db)));
}

bool hasColumn(sqlite3 *db, const char *table, const char *column)
{
    sqlite3_stmt *raw = nullptr;
    const QByteArray sql = QByteArrayLiteral("PRAGMA table_info(") + table + ')';
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &raw, nullptr) != SQLITE_OK)
        return false;
    const Statement statement(raw);
    while (sqlite3_step(raw) == SQLITE_ROW) {
        if (columnText(raw, 1) == QLatin1String(column))
            return true;
    }
    return false;
}

class Places
{
public:
    bool load(sqlite3 *db, QString &error)
    {
        // Older profiles have no page descriptions.
        const bool descriptions = hasColumn(db, "moz_places", "description");
        const QByteArray sql = QByteArrayLiteral("SELECT b.id, b.parent, b.type, b.title, b.dateAdded, b.guid, p.url, "
                                                 "p.title, ") +
                               (descriptions ? "p.description" : "NULL") +
                               " FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk"
                               " ORDER BY b.parent, b.position, b.id";
        sqlite3_stmt *raw = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &raw, nullptr) != SQLITE_OK) {
            error = notABookmarkDatabase(db);
            return false;
        }
        const Statement statement(raw);
        int status = SQLITE_ROW;
        while ((status = sqlite3_step(raw)) == SQLITE_ROW) {
            Row row{sqlite3_column_int64(raw, 0), sqlite3_column_int64(raw, 1), sqlite3_column_int(raw, 2),
                    columnText(raw, 3),           sqlite3_column_int64(raw, 4), columnText(raw, 5),
                    columnText(raw, 6),           columnText(raw, 7),           columnText(raw, 8)};
            m_children[row.parent].push_back(int(m_rows.size()));
            m_rows.push_back(std::move(row));
        }
        if (status != SQLITE_DONE) {
            error = notABookmarkDatabase(db);
            return false;
        }
        return true;
    }

    // Index of the row with this guid, or -1.
    int find(const char *guid) const
    {
        for (int i = 0; i < int(m_rows.size()); ++i) {
            if (m_rows[size_t(i)].guid == QLatin1String(guid))
                return i;
        }
        return -1;
    }

    const std::vector<int> &childrenOf(int row) const
    {
        static const std::vector<int> none;
        const auto found = m_children.constFind(m_rows[size_t(row)].id);
        return found == m_children.cend() ? none : *found;
    }

    // Without recursion, and each folder once: a damaged table may make a
    // folder its own ancestor.
    void readRoot(BookmarkTreeBuilder &builder, int root, const QString &name)
    {
        builder.openFolder(name, m_dates.fromUnixMicroseconds(m_rows[size_t(root)].dateAdded));
        m_visited.insert(root);
        std::vector<std::pair<int, size_t>> open{{root, 0}};
        while (!open.empty()) {
            auto &[folder, index] = open.back();
            const std::vector<int> &children = childrenOf(folder);
            if (index >= children.size()) {
                open.pop_back();
                builder.closeFolder();
                continue;
            }
            const int child = children[index++];
            const Row &row = m_rows[size_t(child)];
            if (row.type == kFolder && !m_visited.contains(child)) {
                m_visited.insert(child);
                builder.openFolder(row.title, m_dates.fromUnixMicroseconds(row.dateAdded));
                open.emplace_back(child, 0);
            } else if (row.type == kBookmark) {
                readBookmark(builder, row);
            } else {
                builder.skip();
            }
        }
    }

private:
    void readBookmark(BookmarkTreeBuilder &builder, const Row &row)
    {
        const QString name = row.title.isEmpty() ? row.pageTitle : row.title;
        BookmarkEntry *bookmark = builder.addBookmark(name, row.url, m_dates.fromUnixMicroseconds(row.dateAdded));
        if (bookmark)
            bookmark->description = BookmarkTreeBuilder::fieldText(row.description);
    }

    std::vector<Row> m_rows;
    QHash<qint64, std::vector<int>> m_children;
    QSet<int> m_visited;
    BookmarkDates m_dates;
};

BookmarkReadResult readDatabase(sqlite3 *db)
{
    if (!db)
        return BookmarkReadResult::failure(QStringLiteral("Out of memory."));
    Places places;
    QString error;
    if (!places.load(db, error))
        return BookmarkReadResult::failure(error);
    BookmarkTreeBuilder builder;
    bool anyRoot = false;
    for (const auto &[guid, name] : kRoots) {
        const int root = places.find(guid);
        anyRoot = anyRoot || root >= 0;
        if (root >= 0 && !places.childrenOf(root).empty())
            places.readRoot(builder, root, QString::fromLatin1(name));
    }
    if (!anyRoot)
        return BookmarkReadResult::failure(QStringLiteral("The file holds none of Firefox's bookmark folders."));
    return {true, {}, builder.take()};
}

BookmarkReadResult readImmutable(const QString &path)
{
    // A URI, so that the file can be opened without its locks; every
    // character a file name may hold is escaped in it.
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() + "?immutable=1";
    sqlite3 *raw = nullptr;
    const int status = sqlite3_open_v2(uri.constData(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    const Database db(raw);
    if (status != SQLITE_OK)
        return BookmarkReadResult::failure(notABookmarkDatabase(raw));
    return readDatabase(raw);
}

// The copy takes the log in when it is opened; the profile's own files are
// never written.
std::optional<BookmarkReadResult> readCopyWithLog(const QString &path)
{
    QTemporaryDir folder;
    if (!folder.isValid())
        return std::nullopt;
    const QString copy = folder.filePath(QStringLiteral("places.sqlite"));
    if (!QFile::copy(path, copy) || !QFile::copy(path + QStringLiteral("-wal"), copy + QStringLiteral("-wal")))
        return std::nullopt;
    sqlite3 *raw = nullptr;
    const int status = sqlite3_open_v2(QFile::encodeName(copy).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    const Database db(raw);
    if (status != SQLITE_OK)
        return std::nullopt;
    BookmarkReadResult result = readDatabase(raw);
    if (!result.ok)
        return std::nullopt;
    return result;
}

} // namespace

BookmarkReadResult FirefoxPlacesReader::readFile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return BookmarkReadResult::failure(QStringLiteral("The file does not exist."));
    if (QFileInfo(path + QStringLiteral("-wal")).size() > 0) {
        if (std::optional<BookmarkReadResult> result = readCopyWithLog(path))
            return std::move(*result);
    }
    return readImmutable(path);
}

BookmarkReadResult FirefoxPlacesReader::read(QByteArrayView bytes)
{
    sqlite3 *raw = nullptr;
    if (sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(raw);
        return BookmarkReadResult::failure(QStringLiteral("Out of memory."));
    }
    const Database db(raw);
    auto *image = static_cast<unsigned char *>(sqlite3_malloc64(sqlite3_uint64(bytes.size())));
    if (!image && !bytes.isEmpty())
        return BookmarkReadResult::failure(QStringLiteral("Out of memory."));
    if (!bytes.isEmpty())
        std::memcpy(image, bytes.data(), size_t(bytes.size()));
    // A database in memory has no log: read one written for a log as one
    // written without.
    constexpr qsizetype kFormatVersions = 18;
    if (bytes.size() > kFormatVersions + 1 && image[kFormatVersions] == 2 && image[kFormatVersions + 1] == 2)
        image[kFormatVersions] = image[kFormatVersions + 1] = 1;
    const int status = sqlite3_deserialize(raw, "main", image, bytes.size(), bytes.size(),
                                           SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY);
    if (status != SQLITE_OK)
        return BookmarkReadResult::failure(notABookmarkDatabase(raw));
    return readDatabase(raw);
}
