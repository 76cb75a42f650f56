#include "store/XmlDocument.h"

#include "store/AtomicFile.h"
#include "store/DoctypeSpan.h"
#include "store/XmlDocumentData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/valid.h>
#include <libxml/xmlIO.h>

#include <mutex>
#include <string>
#include <unordered_set>

namespace {

// What one parse learnt besides the tree: the first error worth reporting and
// whether an external definition could not be loaded.
struct ParseReport
{
    QString firstError;
    bool externalLoadFailed = false;
    QString failedResource;
    // The parser enters only the first element carrying an identifier in the
    // ID table and reports the others; told here rather than found by
    // walking the whole document after every load.
    std::unordered_set<std::string> identifiersCarriedTwice;
};

thread_local ParseReport *currentReport = nullptr;

bool isLocalResource(const char *url)
{
    if (!url)
        return false;
    const QString text = QString::fromUtf8(url);
    const QUrl parsed(text);
    const QString scheme = parsed.scheme();
    // A one-letter scheme would be a drive letter; there are none here, but a
    // plain path never has a scheme at all.
    return scheme.isEmpty() || scheme.compare(QLatin1String("file"), Qt::CaseInsensitive) == 0;
}

// A pipe or a device named as a definition would block the open for good
// or never end.
bool isSomethingButAFile(const char *url)
{
    const QString text = QString::fromUtf8(url);
    const QUrl parsed(text);
    const QFileInfo target(parsed.scheme().isEmpty() ? text : parsed.toLocalFile());
    return target.exists() && !target.isFile();
}

// Every external resource the parser asks for passes here: local files only,
// the network never.
xmlParserInputPtr localOnlyLoader(const char *url, const char *id, xmlParserCtxtPtr ctxt)
{
    xmlParserInputPtr input = nullptr;
    if (isLocalResource(url) && !isSomethingButAFile(url))
        input = xmlNoNetExternalEntityLoader(url, id, ctxt);
    if (!input && currentReport) {
        currentReport->externalLoadFailed = true;
        if (currentReport->failedResource.isEmpty())
            currentReport->failedResource = QString::fromUtf8(url ? url : id ? id : "");
    }
    return input;
}

void collectError(void *, xmlErrorPtr error)
{
    if (!currentReport || !error)
        return;
    if (error->domain == XML_FROM_VALID && error->code == XML_DTD_ID_REDEFINED && error->str1)
        currentReport->identifiersCarriedTwice.insert(error->str1);
    if (error->level >= XML_ERR_ERROR && error->domain != XML_FROM_VALID && currentReport->firstError.isEmpty()) {
        currentReport->firstError = QString::fromUtf8(error->message ? error->message : "").trimmed();
        if (error->line > 0)
            currentReport->firstError += QStringLiteral(" (line %1)").arg(error->line);
    }
}

void initialiseLibxml()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(localOnlyLoader);
    });
}

// Only for encodings whose markup is plain ASCII; others are re-formatted by
// libxml2 as before.
QByteArray originalDoctypeOf(const QString &path, xmlDocPtr doc)
{
    if (!doc->intSubset)
        return {};
    const QByteArray encoding =
        doc->encoding ? QByteArray(reinterpret_cast<const char *>(doc->encoding)).toUpper() : QByteArray("UTF-8");
    if (encoding != "UTF-8" && !encoding.startsWith("ISO-8859") && encoding != "US-ASCII" && encoding != "ASCII")
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The declaration comes before the root element, near the top of the file.
    const QByteArray head = file.read(1 << 20);
    return DoctypeSpan::find(head).in(head);
}

xmlDocPtr readFileLocatedAs(xmlParserCtxtPtr ctxt, const QString &path, const QString &locatedAs, int options)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    return xmlCtxtReadFd(ctxt, file.handle(), QFile::encodeName(QFileInfo(locatedAs).absoluteFilePath()).constData(),
                         nullptr, options);
}

bool declaresExternalSubset(xmlDocPtr doc)
{
    return doc && doc->intSubset && doc->intSubset->SystemID;
}

} // namespace

XmlDocument::XmlDocument(std::shared_ptr<XmlDocumentData> data)
    : m_data(std::move(data))
{
}

XmlDocument XmlDocument::create()
{
    return XmlDocument(std::make_shared<XmlDocumentData>());
}

bool XmlDocument::isEmpty() const
{
    return !m_data || !m_data->doc || !xmlDocGetRootElement(m_data->doc);
}

bool XmlDocument::load(const QString &path, const QString &locatedAs)
{
    initialiseLibxml();
    if (!m_data)
        m_data = std::make_shared<XmlDocumentData>();
    m_data->freeTree();
    m_data->parseErrorReason.clear();
    m_data->noteOtherChange();

    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        m_data->parseErrorReason = QStringLiteral("The file does not exist.");
        return false;
    }
    if (!info.isReadable()) {
        m_data->parseErrorReason = QStringLiteral("The file cannot be read.");
        return false;
    }

    ParseReport report;
    currentReport = &report;
    xmlSetStructuredErrorFunc(nullptr, collectError);
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    xmlDocPtr doc = nullptr;
    bool wellFormed = false;
    if (ctxt) {
        const int options = XML_PARSE_DTDLOAD | XML_PARSE_NOBLANKS | XML_PARSE_NONET;
        doc = locatedAs.isEmpty() ? xmlCtxtReadFile(ctxt, QFile::encodeName(path).constData(), nullptr, options)
                                  : readFileLocatedAs(ctxt, path, locatedAs, options);
        wellFormed = ctxt->wellFormed != 0;
        xmlFreeParserCtxt(ctxt);
    }
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    currentReport = nullptr;

    QString reason;
    if (!doc || !wellFormed)
        reason = report.firstError.isEmpty() ? QStringLiteral("The file is not well-formed XML.") : report.firstError;
    else if (report.externalLoadFailed || (declaresExternalSubset(doc) && !doc->extSubset))
        reason = QStringLiteral("The external definition file %1 could not be loaded.").arg(report.failedResource);
    else if (!xmlDocGetRootElement(doc))
        reason = QStringLiteral("The document has no root element.");

    if (!reason.isEmpty()) {
        if (doc)
            xmlFreeDoc(doc);
        m_data->parseErrorReason = reason;
        return false;
    }
    m_data->doc = doc;
    m_data->originalDoctype = originalDoctypeOf(path, doc);
    m_data->identifiersCarriedTwice = std::move(report.identifiersCarriedTwice);
    return true;
}

QString XmlDocument::parseErrorReason() const
{
    return m_data ? m_data->parseErrorReason : QString();
}

XmlNode XmlDocument::documentElement() const
{
    if (!m_data || !m_data->doc)
        return {};
    xmlNodePtr root = xmlDocGetRootElement(m_data->doc);
    return root ? XmlNode(m_data, root) : XmlNode();
}

XmlNode XmlDocument::selectSingleNode(const QString &name) const
{
    XmlNode root = documentElement();
    return (root && root.nodeName() == name) ? root : XmlNode();
}

XmlNode XmlDocument::createElement(const QString &name)
{
    if (!m_data)
        m_data = std::make_shared<XmlDocumentData>();
    if (!m_data->doc)
        m_data->doc = xmlNewDoc(reinterpret_cast<const xmlChar *>("1.0"));
    xmlNodePtr node =
        xmlNewDocNode(m_data->doc, nullptr, reinterpret_cast<const xmlChar *>(name.toUtf8().constData()), nullptr);
    if (!node)
        return {};
    // Until it is appended, the element belongs to the document's spare nodes
    // and is freed with the document if it never joins the tree.
    m_data->detached.push_back(node);
    return XmlNode(m_data, node);
}

XmlNode XmlDocument::nodeFromID(const QString &id) const
{
    if (!m_data || !m_data->doc || id.isEmpty())
        return {};
    xmlAttrPtr attr = xmlGetID(m_data->doc, reinterpret_cast<const xmlChar *>(id.toUtf8().constData()));
    if (!attr || !attr->parent)
        return {};
    XmlNode element(m_data, attr->parent);
    return element.isInDocument() ? element : XmlNode();
}

QByteArray XmlDocument::serialize() const
{
    if (!m_data || !m_data->doc)
        return {};
    xmlChar *buffer = nullptr;
    int size = 0;
    const char *encoding = m_data->doc->encoding ? reinterpret_cast<const char *>(m_data->doc->encoding) : "UTF-8";
    xmlDocDumpFormatMemoryEnc(m_data->doc, &buffer, &size, encoding, 1);
    if (!buffer)
        return {};
    QByteArray result(reinterpret_cast<const char *>(buffer), size);
    xmlFree(buffer);
    const DoctypeSpan written = DoctypeSpan::find(result);
    if (!m_data->originalDoctype.isEmpty() && written.isValid())
        result.replace(written.start, written.length, m_data->originalDoctype);
    return result;
}

SaveResult XmlDocument::save(const QString &path) const
{
    if (isEmpty())
        return SaveResult::failure(QStringLiteral("There is no library document to save."));
    // Marking the file read-only is how a user keeps it from changing.
    if (AtomicFile::isReadOnly(path))
        return SaveResult::failure(QStringLiteral("The SitePins file %1 is read-only.")
                                       .arg(QDir::toNativeSeparators(AtomicFile::resolvedTarget(path))));
    const QByteArray bytes = serialize();
    if (bytes.isEmpty())
        return SaveResult::failure(QStringLiteral("The library document could not be written out."));

    return AtomicFile::write(path, bytes);
}
