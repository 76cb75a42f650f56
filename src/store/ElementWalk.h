#pragma once

#include <libxml/tree.h>

// Walks over elements in document order, without recursion so that very
// deep trees cannot exhaust the stack.
class ElementWalk
{
public:
    static bool isElement(const xmlNode *node) { return node && node->type == XML_ELEMENT_NODE; }

    // The elements below `root`; the visitor says whether to look inside the
    // element it was given.
    template<typename Visit>
    static void pruned(xmlNodePtr root, Visit visit)
    {
        xmlNodePtr node = root->children;
        while (node && node != root) {
            const bool descend = isElement(node) && visit(node);
            if (descend && node->children) {
                node = node->children;
                continue;
            }
            while (node != root && !node->next)
                node = node->parent;
            if (node == root)
                break;
            node = node->next;
        }
    }

    // Every element below `root`.
    template<typename Visit>
    static void descendants(xmlNodePtr root, Visit visit)
    {
        pruned(root, [&visit](xmlNodePtr element) {
            visit(element);
            return true;
        });
    }

    // `root` itself, then every element below it.
    template<typename Visit>
    static void subtree(xmlNodePtr root, Visit visit)
    {
        visit(root);
        descendants(root, visit);
    }
};
