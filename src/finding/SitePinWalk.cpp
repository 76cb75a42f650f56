#include "finding/SitePinWalk.h"

#include "store/XmlNode.h"

#include <vector>

// Depth first with a stack of its own: folders can nest deeper than the call
// stack would like.
void SitePinWalk::forEach(const XmlNode &root, const std::function<void(const XmlNode &sitePin)> &visit)
{
    std::vector<XmlNode> pending;
    const auto pushChildrenOf = [&pending](const XmlNode &element) {
        std::vector<XmlNode> children = element.childElements();
        pending.insert(pending.end(), std::make_move_iterator(children.rbegin()),
                       std::make_move_iterator(children.rend()));
    };
    pushChildrenOf(root);
    while (!pending.empty()) {
        const XmlNode element = std::move(pending.back());
        pending.pop_back();
        if (element.nodeName() == QLatin1String("SITEPIN"))
            visit(element);
        else
            pushChildrenOf(element);
    }
}
