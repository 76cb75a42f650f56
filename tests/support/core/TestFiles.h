#pragma once

#include <QByteArray>
#include <QString>

// Whole files, as the tests read and write them.
class TestFiles
{
public:
    // Empty when the file cannot be read.
    static QByteArray read(const QString &path);
    // Makes the folders on the way; false unless every byte was written.
    static bool write(const QString &path, const QByteArray &bytes);
};
