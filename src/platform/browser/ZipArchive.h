#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>

// A zip archive made in memory from named files, as browsers take
// extensions (a CRX's payload, a Firefox XPI). Names use "/" and are kept
// in sorted order, so the same files always give the same bytes.
class ZipArchive
{
public:
    using Files = std::map<QString, QByteArray>;

    static std::optional<QByteArray> build(const Files &files, QString *error);
    // What an archive holds; nothing when it cannot be read. For tests and
    // for checking what was written.
    static std::optional<Files> read(const QByteArray &archive, QString *error);
};
