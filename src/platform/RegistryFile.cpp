#include "platform/RegistryFile.h"

#include "store/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kDefaultValueName = QStringLiteral("@");

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool sameSegments(const QStringList &a, const QStringList &b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), sameName);
}

// Equal exactly for names that sameName() finds equal: the same simple case
// folding, code point by code point.
QString foldedName(const QString &name)
{
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t code = name.at(i).unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(name.at(i), name.at(i + 1));
            ++i;
        }
        const char32_t folded = QChar::toCaseFolded(code);
        if (QChar::requiresSurrogates(folded)) {
            out += QChar(QChar::highSurrogate(folded));
            out += QChar(QChar::lowSurrogate(folded));
        } else {
            out += QChar(char16_t(folded));
        }
    }
    return out;
}

QStringList foldedSegments(const QStringList &segments)
{
    QStringList out;
    out.reserve(segments.size());
    for (const QString &segment : segments)
        out.append(foldedName(segment));
    return out;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool isBelow(const QStringList &segments, const QStringList &ancestor)
{
    return segments.size() > ancestor.size() &&
           std::equal(ancestor.begin(), ancestor.end(), segments.begin(), sameName);
}

QString hex2(char16_t code)
{
    return QStringLiteral("%1").arg(unsigned(code), 2, 16, QLatin1Char('0'));
}

int hexDigit(QChar ch)
{
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Names may hold anything; what would confuse the line syntax is written as %XX.
QString encodeName(const QString &name)
{
    QString out;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        const bool edgeSpace = c == u' ' && (i == 0 || i == name.size() - 1);
        if (c < 0x20 || c == 0x7f || edgeSpace || QStringView(u"%[]=;#\\@").contains(QChar(c)))
            out += u'%' + hex2(c).toUpper();
        else
            out += QChar(c);
    }
    return out;
}

QString decodeName(QStringView text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'%' && i + 2 < text.size() && hexDigit(text.at(i + 1)) >= 0 &&
            hexDigit(text.at(i + 2)) >= 0) {
            out += QChar(char16_t(hexDigit(text.at(i + 1)) * 16 + hexDigit(text.at(i + 2))));
            i += 2;
        } else {
            out += text.at(i);
        }
    }
    return out;
}

QString escapeText(const QString &text)
{
    QString out;
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (ch.unicode() < 0x20 || ch.unicode() == 0x7f)
                out += QStringLiteral("\\x") + hex2(ch.unicode());
            else
                out += ch;
        }
    }
    return out;
}

// Unknown escapes are kept literally: a hand-edited file should not lose text.
QString unescapeText(QStringView text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch != u'\\' || i + 1 >= text.size()) {
            out += ch;
            continue;
        }
        const QChar next = text.at(i + 1);
        if (next == u'\\' || next == u'n' || next == u'r' || next == u't') {
            out += next == u'n' ? QChar(u'\n') : next == u'r' ? QChar(u'\r') : next == u't' ? QChar(u'\t') : next;
            ++i;
        } else if (next == u'x' && i + 3 < text.size() && hexDigit(text.at(i + 2)) >= 0 &&
                   hexDigit(text.at(i + 3)) >= 0) {
            out += QChar(char16_t(hexDigit(text.at(i + 2)) * 16 + hexDigit(text.at(i + 3))));
            i += 3;
        } else {
            out += ch;
        }
    }
    return out;
}

QString encodeValue(const RegistryValue &value)
{
    switch (value.type) {
    case REG_SZ:
        return QStringLiteral("sz:") + escapeText(value.data.toString());
    case REG_DWORD:
        return QStringLiteral("dword:%1").arg(value.data.toUInt(), 8, 16, QLatin1Char('0'));
    case REG_BINARY:
        return QStringLiteral("hex:") + QString::fromLatin1(value.data.toByteArray().toHex(','));
    default:
        return QStringLiteral("hex(%1):").arg(value.type, 0, 16) +
               QString::fromLatin1(value.data.toByteArray().toHex(','));
    }
}

RegistryValue decodeValue(const QString &data)
{
    if (data.startsWith(u"sz:"))
        return {REG_SZ, unescapeText(QStringView(data).mid(3))};
    if (data.startsWith(u"dword:")) {
        const QStringView digits = QStringView(data).mid(6);
        bool ok = false;
        const uint number = digits.toUInt(&ok, 16);
        if (ok && !digits.isEmpty() && digits.size() <= 8)
            return {REG_DWORD, QVariant::fromValue<quint32>(number)};
    }
    int type = -1;
    qsizetype start = 0;
    if (data.startsWith(u"hex:")) {
        type = REG_BINARY;
        start = 4;
    } else if (data.startsWith(u"hex(")) {
        const qsizetype close = data.indexOf(u"):");
        bool ok = false;
        if (close > 4)
            type = QStringView(data).mid(4, close - 4).toInt(&ok, 16);
        if (!ok)
            type = -1;
        start = close + 2;
    }
    if (type >= 0)
        return {type, QByteArray::fromHex(data.mid(start).toLatin1())};
    // Not something we can interpret: a type of its own, never read as text.
    return {REG_NONE, data.toUtf8()};
}

} // namespace

RegistryFile::RegistryFile()
    : m_keys{Key{}}
{
    m_keyIndex.insert(QStringList(), 0);
}

QStringList RegistryFile::splitPath(const QString &keyPath)
{
    return keyPath.split(u'\\', Qt::SkipEmptyParts);
}

RegistryFile::LoadResult RegistryFile::load(const QString &filePath)
{
    // Not blocking, so that a FIFO put in the file's place cannot stop us
    // here; what it is gets judged on what was opened, not on the name.
    const int fd = ::open(QFile::encodeName(filePath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            *this = RegistryFile();
            return LoadResult::Loaded;
        }
        m_errorString = QStringLiteral("Cannot open %1: %2").arg(filePath, systemError());
        return LoadResult::Unreadable;
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat info = {};
    if (::fstat(fd, &info) != 0) {
        m_errorString = QStringLiteral("Cannot examine %1: %2").arg(filePath, systemError());
        return LoadResult::Unreadable;
    }
    if (S_ISDIR(info.st_mode)) {
        m_errorString = QStringLiteral("%1 is a folder").arg(filePath);
        return LoadResult::Unreadable;
    }
    if (!S_ISREG(info.st_mode)) {
        m_errorString = QStringLiteral("%1 is not a regular file").arg(filePath);
        return LoadResult::Damaged;
    }
    // The size is asked twice: the file may grow after the first look.
    const QByteArray bytes = info.st_size > kMaxFileSize ? QByteArray() : file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        m_errorString = file.errorString();
        return LoadResult::Unreadable;
    }
    if (info.st_size > kMaxFileSize || bytes.size() > kMaxFileSize) {
        m_errorString = QStringLiteral("%1 is larger than %2 bytes").arg(filePath).arg(kMaxFileSize);
        return LoadResult::Damaged;
    }
    return parse(bytes) ? LoadResult::Loaded : LoadResult::Damaged;
}

bool RegistryFile::save(const QString &filePath)
{
    const QFileInfo info(filePath);
    if (!QDir().mkpath(info.absolutePath())) {
        m_errorString = QStringLiteral("Cannot create the folder %1").arg(info.absolutePath());
        return false;
    }
    const SaveResult written = AtomicFile::write(filePath, serialize());
    if (!written.ok)
        m_errorString = written.errorString;
    return written.ok;
}

bool RegistryFile::parse(const QByteArray &text)
{
    RegistryFile parsed;
    qsizetype current = 0;
    int lineNumber = 0;
    for (const QByteArray &rawLine : text.split('\n')) {
        ++lineNumber;
        QString line = QString::fromUtf8(rawLine);
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u';') || trimmed.startsWith(u'#'))
            continue;
        if (trimmed.startsWith(u'[')) {
            if (!trimmed.endsWith(u']')) {
                m_errorString = QStringLiteral("Unterminated section at line %1").arg(lineNumber);
                return false;
            }
            QStringList segments;
            for (const QString &segment : splitPath(trimmed.mid(1, trimmed.size() - 2)))
                segments.append(decodeName(segment));
            current = parsed.ensureKey(segments);
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        const QString name = line.left(equals).trimmed();
        if (equals < 0 || name.isEmpty()) {
            m_errorString = QStringLiteral("Expected name=value at line %1").arg(lineNumber);
            return false;
        }
        parsed.putEntry(parsed.m_keys[current],
                        Entry{name == kDefaultValueName ? QString() : decodeName(name), line.mid(equals + 1)});
    }
    m_keys = std::move(parsed.m_keys);
    m_keyIndex = std::move(parsed.m_keyIndex);
    return true;
}

qsizetype RegistryFile::indexOfEntry(const Key &key, const QString &name)
{
    if (key.entries.size() <= kEntriesWithoutIndex) {
        for (qsizetype i = 0; i < key.entries.size(); ++i) {
            if (sameName(key.entries.at(i).name, name))
                return i;
        }
        return -1;
    }
    return key.entryIndex.value(foldedName(name), -1);
}

// A name given twice keeps the place of the first and the data of the last.
void RegistryFile::putEntry(Key &key, Entry entry)
{
    if (const qsizetype existing = indexOfEntry(key, entry.name); existing >= 0) {
        key.entries[existing] = std::move(entry);
        return;
    }
    key.entries.append(std::move(entry));
    if (key.entries.size() == kEntriesWithoutIndex + 1)
        indexEntries(key);
    else if (key.entries.size() > kEntriesWithoutIndex + 1)
        key.entryIndex.insert(foldedName(key.entries.last().name), key.entries.size() - 1);
}

void RegistryFile::indexEntries(Key &key)
{
    key.entryIndex.clear();
    if (key.entries.size() <= kEntriesWithoutIndex)
        return;
    for (qsizetype i = 0; i < key.entries.size(); ++i)
        key.entryIndex.insert(foldedName(key.entries.at(i).name), i);
}

void RegistryFile::reindex()
{
    m_keyIndex.clear();
    for (qsizetype i = 0; i < m_keys.size(); ++i) {
        m_keyIndex.insert(foldedSegments(m_keys.at(i).segments), i);
        indexEntries(m_keys[i]);
    }
}

QByteArray RegistryFile::serialize() const
{
    QList<const Key *> order;
    for (const Key &key : m_keys)
        order.append(&key);
    // Parents before children, siblings in name order: a readable file.
    std::stable_sort(order.begin(), order.end(), [](const Key *a, const Key *b) {
        return std::lexicographical_compare(
            a->segments.begin(), a->segments.end(), b->segments.begin(), b->segments.end(),
            [](const QString &x, const QString &y) { return x.compare(y, Qt::CaseInsensitive) < 0; });
    });
    QString out;
    for (const Key *key : order) {
        if (!key->segments.isEmpty()) {
            QStringList encoded;
            for (const QString &segment : key->segments)
                encoded.append(encodeName(segment));
            if (!out.isEmpty())
                out += u'\n';
            out += u'[' + encoded.join(u'\\') + QStringLiteral("]\n");
        }
        for (const Entry &entry : key->entries)
            out += (entry.name.isEmpty() ? kDefaultValueName : encodeName(entry.name)) + u'=' + entry.data + u'\n';
    }
    return out.toUtf8();
}

qsizetype RegistryFile::indexOfKey(const QStringList &segments) const
{
    return m_keyIndex.value(foldedSegments(segments), -1);
}

qsizetype RegistryFile::ensureKey(const QStringList &segments)
{
    // Each level takes the stored spelling of an existing parent.
    QStringList path;
    qsizetype index = 0;
    for (const QString &segment : segments) {
        path.append(segment);
        index = indexOfKey(path);
        if (index < 0) {
            index = m_keys.size();
            m_keys.append(Key{path, {}, {}});
            m_keyIndex.insert(foldedSegments(path), index);
        }
        path = m_keys.at(index).segments;
    }
    return index;
}

std::optional<QString> RegistryFile::findKey(const QStringList &segments) const
{
    const qsizetype index = indexOfKey(segments);
    if (index < 0)
        return std::nullopt;
    return m_keys.at(index).segments.join(u'\\');
}

QString RegistryFile::createKey(const QStringList &segments)
{
    return m_keys.at(ensureKey(segments)).segments.join(u'\\');
}

void RegistryFile::removeKey(const QString &keyPath)
{
    const QStringList segments = splitPath(keyPath);
    if (segments.isEmpty())
        return;
    m_keys.removeIf(
        [&](const Key &key) { return sameSegments(key.segments, segments) || isBelow(key.segments, segments); });
    reindex();
}

QStringList RegistryFile::subKeyNames(const QString &keyPath) const
{
    const QStringList segments = splitPath(keyPath);
    QStringList names;
    for (const Key &key : m_keys) {
        if (key.segments.size() == segments.size() + 1 && isBelow(key.segments, segments))
            names.append(key.segments.last());
    }
    return names;
}

std::optional<RegistryValue> RegistryFile::value(const QString &keyPath, const QString &name) const
{
    const qsizetype index = indexOfKey(keyPath);
    if (index < 0)
        return std::nullopt;
    const Key &key = m_keys.at(index);
    const qsizetype entry = indexOfEntry(key, name);
    if (entry < 0)
        return std::nullopt;
    return decodeValue(key.entries.at(entry).data);
}

void RegistryFile::setValue(const QString &keyPath, const QString &name, const RegistryValue &value)
{
    Key &key = m_keys[ensureKey(splitPath(keyPath))];
    if (const qsizetype existing = indexOfEntry(key, name); existing >= 0)
        key.entries[existing].data = encodeValue(value);
    else
        putEntry(key, Entry{name, encodeValue(value)});
}

bool RegistryFile::removeValue(const QString &keyPath, const QString &name)
{
    const qsizetype index = indexOfKey(keyPath);
    if (index < 0)
        return false;
    if (m_keys[index].entries.removeIf([&](const Entry &entry) { return sameName(entry.name, name); }) == 0)
        return false;
    reindex();
    return true;
}

QStringList RegistryFile::valueNames(const QString &keyPath) const
{
    QStringList names;
    const qsizetype index = indexOfKey(keyPath);
    if (index >= 0) {
        for (const Entry &entry : m_keys.at(index).entries)
            names.append(entry.name);
    }
    return names;
}
