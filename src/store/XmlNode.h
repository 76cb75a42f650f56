#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct XmlDocumentData;
struct _xmlNode;
class XmlDocument;

// A handle on one element (or the document node) of a library document.
// Copying a handle never copies the element. A handle taken before its
// document object loaded another file is a null handle from then on.
class XmlNode
{
public:
    XmlNode() = default;
    XmlNode(std::shared_ptr<XmlDocumentData> data, _xmlNode *node);

    bool isNull() const { return live() == nullptr; }
    explicit operator bool() const { return !isNull(); }
    bool operator==(const XmlNode &other) const { return live() == other.live(); }

    QString nodeName() const;
    XmlNode parentNode() const;
    XmlDocument ownerDocument() const;
    // True while the node is part of its document's tree (not removed, not
    // created and left unattached).
    bool isInDocument() const;

    // First child element with exactly this name, or a null node.
    XmlNode selectSingleNode(const QString &name) const;
    // Child elements in document order.
    std::vector<XmlNode> childElements() const;
    // Walking the children one by one, without building a list.
    XmlNode firstChildElement() const;
    XmlNode nextSiblingElement() const;
    // Every element with this name below the node, at any depth, in document order.
    std::vector<XmlNode> getElementsByTagName(const QString &name) const;
    // The same without looking inside the elements found, which is far
    // quicker for SITEPIN, whose fields make up most of the document; each
    // element is handed over as it is found, while it is still in the cache.
    void forEachOutermostElementByTagName(const QString &name, const std::function<void(const XmlNode &)> &visit) const;
    int countElementsByTagName(const QString &name) const;

    bool hasAttributes() const;
    QString getAttribute(const QString &name) const;
    void setAttribute(const QString &name, const QString &value);

    // Appends the element as the last child; an element already in the tree
    // moves (its identifier goes with it). Refuses anything but an element,
    // the document's root element, and an ancestor of this node.
    bool appendChild(const XmlNode &child);
    // Takes the child element (and everything below it) out of the document.
    bool removeChild(const XmlNode &child);

    QString text() const;
    // The element's text as typed value; the library's elements are untyped.
    QString nodeTypedValue() const { return text(); }
    // Replaces the element's content with plain text. Characters XML cannot
    // hold are dropped so that the file always opens again.
    void setText(const QString &text);

private:
    friend class SitePinTextIndex;
    friend struct SitePinRow;
    // The node, or null once its tree is gone.
    _xmlNode *live() const;
    // An element's or attribute's text.
    static QString textOf(const _xmlNode *node);
    bool isMovable(_xmlNode *node) const;
    void detachChildElements(_xmlNode *element);

    std::shared_ptr<XmlDocumentData> m_data;
    _xmlNode *m_node = nullptr;
    std::uint64_t m_generation = 0;
};
