#include "store/DoctypeSpan.h"

namespace {

// Skips a quoted literal, a comment or a processing instruction starting at
// `at`; returns the position after it, or `at` when none starts there, or -1
// when it never ends.
qsizetype skipOpaque(const QByteArray &text, qsizetype at)
{
    const char c = text.at(at);
    if (c == '"' || c == '\'') {
        const qsizetype close = text.indexOf(c, at + 1);
        return close < 0 ? -1 : close + 1;
    }
    if (text.mid(at, 4) == "<!--") {
        const qsizetype close = text.indexOf("-->", at + 4);
        return close < 0 ? -1 : close + 3;
    }
    if (text.mid(at, 2) == "<?") {
        const qsizetype close = text.indexOf("?>", at + 2);
        return close < 0 ? -1 : close + 2;
    }
    return at;
}

} // namespace

DoctypeSpan DoctypeSpan::find(const QByteArray &text)
{
    const qsizetype start = text.indexOf("<!DOCTYPE");
    if (start < 0)
        return {};
    bool inSubset = false;
    qsizetype at = start + 9;
    while (at < text.size()) {
        const qsizetype after = skipOpaque(text, at);
        if (after < 0)
            return {};
        if (after != at) {
            at = after;
            continue;
        }
        const char c = text.at(at);
        if (c == '[' && !inSubset)
            inSubset = true;
        else if (c == ']' && inSubset)
            inSubset = false;
        else if (c == '>' && !inSubset)
            return {start, at + 1 - start};
        ++at;
    }
    return {};
}
