#pragma once

// Bounds that keep every library the program writes openable again: the
// parser refuses text nodes above ten million bytes and element nesting
// deeper than 256, and lifting those limits would also lift its protection
// against entity expansion attacks.
struct LibraryLimits
{
    // Characters in one field; even four-byte characters stay far below the
    // parser's text limit.
    static constexpr int kMaxFieldLength = 1'000'000;
    // Folder levels below the root: each level costs two elements, a SitePin's
    // fields three more.
    static constexpr int kMaxFolderDepth = 100;
};
