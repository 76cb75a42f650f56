#pragma once

#include <array>

// The help file beside the program, and the topics a window opens by context
// number. The help project gives the same numbers to the same files in its
// [ALIAS] and [MAP] sections (content/SitePins.hhp); HelpFileTest holds the
// built file to this table.
namespace HelpTopics {

struct Topic
{
    int contextId;
    const char *path;
};

inline constexpr const char *kHelpFileName = "SitePins Help.chm";
// The widget property naming the context number of a window's topic.
inline constexpr const char *kContextProperty = "helpContext";
inline constexpr const char *kContentsTopic = "welcome.htm";
// Text pop-ups for the SitePin's fields, numbered from 2000 by tens in the
// order name, address, description, notes, creation date.
inline constexpr const char *kPopupFile = "popups.txt";
inline constexpr int kFirstFieldPopup = 2000;

inline constexpr Topic kMainWindow{1000, "main-window.htm"};
inline constexpr Topic kEditor{1010, "editor.htm"};
inline constexpr Topic kCreateFolderDialog{1020, "create-folder.htm"};
inline constexpr Topic kModifyFolderDialog{1030, "modify-folder.htm"};
inline constexpr Topic kMoveSitePinDialog{1040, "move-sitepin.htm"};
inline constexpr Topic kMoveFolderDialog{1050, "move-folder.htm"};
inline constexpr Topic kCaptureDialog{1060, "capture-dialog.htm"};
inline constexpr Topic kSearch{1070, "search.htm"};
inline constexpr Topic kFavorites{1080, "favorites.htm"};
inline constexpr Topic kPreview{1090, "preview.htm"};
inline constexpr Topic kBrowserIntegration{1100, "browser-integration.htm"};
inline constexpr Topic kImportFavorites{1110, "import-favorites.htm"};
inline constexpr Topic kTroubleshooting{1120, "troubleshooting.htm"};

inline constexpr std::array kContextTopics{
    kMainWindow,        kEditor,           kCreateFolderDialog, kModifyFolderDialog,
    kMoveSitePinDialog, kMoveFolderDialog, kCaptureDialog,      kSearch,
    kFavorites,         kPreview,          kBrowserIntegration, kImportFavorites,
    kTroubleshooting};

} // namespace HelpTopics
