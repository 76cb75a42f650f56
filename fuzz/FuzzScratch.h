#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// A private folder for the run, for targets whose code reads files.
class FuzzScratch
{
public:
    // `name` in the run's folder, holding exactly these bytes.
    static QString file(const QString &name, const std::uint8_t *data, std::size_t size);
    static QString folder();
};
