#include "platform/browser/ZipArchive.h"

#include <zip.h>

#include <memory>

namespace {

// Every entry carries the same time, so the same files give the same bytes.
constexpr time_t kFixedTime = 1704067200; // 2024-01-01

struct ArchiveCloser
{
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

QString errorText(zip_error_t *error)
{
    return QString::fromLocal8Bit(zip_error_strerror(error));
}

// The source keeps the archive's bytes once the archive is closed: it is
// kept alive past zip_close() and read back from.
std::optional<QByteArray> contentsOf(zip_source_t *source, QString *error)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(source, &stat) != 0 || zip_source_open(source) != 0) {
        *error = errorText(zip_source_error(source));
        return std::nullopt;
    }
    QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
    const zip_int64_t got = zip_source_read(source, bytes.data(), stat.size);
    zip_source_close(source);
    if (got != zip_int64_t(stat.size)) {
        *error = QStringLiteral("Cannot read the archive back");
        return std::nullopt;
    }
    return bytes;
}

} // namespace

std::optional<QByteArray> ZipArchive::build(const Files &files, QString *error)
{
    zip_error_t zipError;
    zip_error_init(&zipError);
    zip_source_t *target = zip_source_buffer_create(nullptr, 0, 0, &zipError);
    if (!target) {
        *error = errorText(&zipError);
        zip_error_fini(&zipError);
        return std::nullopt;
    }
    zip_source_keep(target);
    Archive archive(zip_open_from_source(target, ZIP_TRUNCATE, &zipError));
    if (!archive) {
        *error = errorText(&zipError);
        zip_error_fini(&zipError);
        zip_source_free(target);
        return std::nullopt;
    }
    zip_error_fini(&zipError);
    for (const auto &[name, bytes] : files) {
        // Copied by libzip only when the archive is written; the map outlives that.
        zip_source_t *entry = zip_source_buffer(archive.get(), bytes.constData(), zip_uint64_t(bytes.size()), 0);
        const QByteArray utf8 = name.toUtf8();
        const zip_int64_t index = entry ? zip_file_add(archive.get(), utf8.constData(), entry, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0 || zip_file_set_mtime(archive.get(), zip_uint64_t(index), kFixedTime, 0) != 0) {
            *error = QString::fromLocal8Bit(zip_strerror(archive.get()));
            zip_source_free(entry);
            zip_source_free(target);
            return std::nullopt;
        }
    }
    if (zip_close(archive.get()) != 0) {
        *error = QString::fromLocal8Bit(zip_strerror(archive.get()));
        zip_source_free(target);
        return std::nullopt;
    }
    (void)archive.release(); // closed and freed by zip_close()
    auto bytes = contentsOf(target, error);
    zip_source_free(target);
    return bytes;
}

std::optional<ZipArchive::Files> ZipArchive::read(const QByteArray &bytes, QString *error)
{
    zip_error_t zipError;
    zip_error_init(&zipError);
    zip_source_t *source = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &zipError);
    Archive archive(source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &zipError) : nullptr);
    if (!archive) {
        *error = errorText(&zipError);
        zip_error_fini(&zipError);
        zip_source_free(source);
        return std::nullopt;
    }
    zip_error_fini(&zipError);
    Files files;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t index = 0; index < count; ++index) {
        zip_stat_t stat;
        zip_file_t *file = zip_stat_index(archive.get(), zip_uint64_t(index), 0, &stat) == 0
                               ? zip_fopen_index(archive.get(), zip_uint64_t(index), 0)
                               : nullptr;
        if (!file) {
            *error = QString::fromLocal8Bit(zip_strerror(archive.get()));
            return std::nullopt;
        }
        QByteArray content(qsizetype(stat.size), Qt::Uninitialized);
        const zip_int64_t got = zip_fread(file, content.data(), stat.size);
        zip_fclose(file);
        if (got != zip_int64_t(stat.size)) {
            *error = QStringLiteral("Cannot read %1 from the archive").arg(QString::fromUtf8(stat.name));
            return std::nullopt;
        }
        files[QString::fromUtf8(stat.name)] = content;
    }
    return files;
}
