#pragma once

#include <QByteArray>

// Where the document type declaration stands in a document's text, so a
// save can write it back byte for byte instead of libxml2's re-formatting
// of it (which changes "(FOLDER*)" into "(FOLDER)*" and the like).
struct DoctypeSpan
{
    qsizetype start = -1;
    qsizetype length = 0;

    bool isValid() const { return start >= 0 && length > 0; }
    QByteArray in(const QByteArray &text) const { return isValid() ? text.mid(start, length) : QByteArray(); }

    // Only for ASCII-compatible encodings; an unrecognisable text gives an
    // invalid span.
    static DoctypeSpan find(const QByteArray &text);
};
