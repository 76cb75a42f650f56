#include "exchange/ChromiumBookmarksReader.h"

#include "exchange/BookmarkDates.h"
#include "exchange/BookmarkTreeBuilder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <utility>
#include <vector>

namespace {

QDate dateOf(BookmarkDates &dates, const QJsonObject &node)
{
    return dates.fromWindowsMicroseconds(node.value(QLatin1String("date_added")).toString().toLongLong());
}

bool isFolder(const QJsonObject &node)
{
    return node.value(QLatin1String("type")).toString() == QLatin1String("folder");
}

// Without recursion: the file decides how deep its folders go.
void readFolder(BookmarkTreeBuilder &builder, BookmarkDates &dates, const QJsonObject &folder,
                const QString &fallbackName)
{
    QString name = folder.value(QLatin1String("name")).toString();
    builder.openFolder(name.isEmpty() ? fallbackName : name, dateOf(dates, folder));
    std::vector<std::pair<QJsonArray, qsizetype>> open{{folder.value(QLatin1String("children")).toArray(), 0}};
    while (!open.empty()) {
        auto &[children, index] = open.back();
        if (index >= children.size()) {
            open.pop_back();
            builder.closeFolder();
            continue;
        }
        const QJsonObject node = children.at(index++).toObject();
        if (isFolder(node)) {
            builder.openFolder(node.value(QLatin1String("name")).toString(), dateOf(dates, node));
            open.emplace_back(node.value(QLatin1String("children")).toArray(), 0);
        } else if (node.value(QLatin1String("type")).toString() == QLatin1String("url")) {
            builder.addBookmark(node.value(QLatin1String("name")).toString(),
                                node.value(QLatin1String("url")).toString(), dateOf(dates, node));
        } else {
            builder.skip();
        }
    }
}

} // namespace

BookmarkReadResult ChromiumBookmarksReader::read(QByteArrayView bytes)
{
    if (bytes.trimmed().isEmpty())
        return BookmarkReadResult::failure(QStringLiteral("The file is empty."));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError)
        return BookmarkReadResult::failure(
            QStringLiteral("The file is not valid JSON: %1 (at byte %2).").arg(error.errorString()).arg(error.offset));
    const QJsonObject roots = document.object().value(QLatin1String("roots")).toObject();
    if (roots.isEmpty())
        return BookmarkReadResult::failure(QStringLiteral("The file holds no bookmarks of a Chromium profile."));

    BookmarkTreeBuilder builder;
    BookmarkDates dates;
    const std::pair<const char *, const char *> known[] = {
        {"bookmark_bar", "Bookmarks bar"}, {"other", "Other bookmarks"}, {"synced", "Mobile bookmarks"}};
    QStringList rest = roots.keys();
    for (const auto &[key, fallbackName] : known) {
        rest.removeOne(QLatin1String(key));
        const QJsonObject root = roots.value(QLatin1String(key)).toObject();
        if (!root.value(QLatin1String("children")).toArray().isEmpty())
            readFolder(builder, dates, root, QString::fromLatin1(fallbackName));
    }
    for (const QString &key : std::as_const(rest)) {
        const QJsonObject root = roots.value(key).toObject();
        if (isFolder(root) && !root.value(QLatin1String("children")).toArray().isEmpty())
            readFolder(builder, dates, root, key);
    }
    return {true, {}, builder.take()};
}
