#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <random>

// Synthetic libraries for the benchmarks, laid out byte for byte as the
// program's own save writes them (two-blank indentation, empty elements
// self-closed), so that opening one costs what opening a real library costs.
// Built as plain text rather than through the store's document classes, so
// that the code being measured does not also produce its own input.
class LibraryGenerator
{
public:
    static constexpr std::uint32_t kDefaultSeed = 20261204;
    static constexpr int kMaxSitePins = 32767;

    explicit LibraryGenerator(std::uint32_t seed = kDefaultSeed);

    // The same seed and count always give the same bytes.
    QByteArray generate(int sitePinCount);
    int lastFolderCount() const { return m_lastFolderCount; }

    static int folderCountFor(int sitePinCount);
    // Returns an empty text on success, else why the file could not be written.
    static QString writeLibrary(const QString &path, int sitePinCount, std::uint32_t seed = kDefaultSeed);

private:
    int below(int bound);
    bool percentChance(int percent);
    const QString &pick(const QStringList &pool);

    QString folderName(int depth);
    QString sitePinName();
    QString address();
    QString description();
    QString notes();
    QString sentence(int targetLength);

    std::uint32_t m_seed;
    std::mt19937 m_random;
    int m_lastFolderCount = 0;
};
