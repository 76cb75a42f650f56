#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

// Qt's texts as failing assertions should show them.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList &lines, std::ostream *out)
{
    *out << "{\n";
    for (const QString &line : lines)
        *out << "  \"" << line.toStdString() << "\"\n";
    *out << '}';
}
