#pragma once

#include "store/XmlDocument.h"

#include <QString>

class XMLDatabase;

// Identifiers for many elements added one after another, as an import adds
// them: the same numbers getNewTID and getNewWID would hand out, without
// counting the whole document again for each one. Valid while the caller
// only adds, and appends each element it was given an identifier for.
class IdentifierRun
{
public:
    explicit IdentifierRun(const XMLDatabase &database);

    // Empty when the next one would need a number above the limit.
    QString nextTID();
    QString nextWID();

private:
    struct Kind
    {
        QChar prefix;
        int count = 0;
        int probe = 1;
    };
    QString next(Kind &kind);

    XmlDocument m_dom;
    Kind m_folders;
    Kind m_sitePins;
};
