#pragma once

#include <QString>

#include <vector>

// A browser profile that holds bookmarks.
struct BrowserProfile
{
    // "Firefox", "Chromium" or "Chrome": also the name of the folder an
    // import of it goes into.
    QString browser;
    QString name;
    QString folder;
    QString bookmarksFile;
    bool isDefault = false;

    // As the profile chooser lists it.
    QString label() const;
};

// Finds the profiles of the browsers on this machine below the user's home
// and configuration folders.
class BrowserProfiles
{
public:
    struct Roots
    {
        QString home;
        QString configHome;
        // $HOME and $XDG_CONFIG_HOME (by default ~/.config).
        static Roots fromEnvironment();
    };

    // From profiles.ini in ~/.mozilla/firefox and in the configuration
    // folder's mozilla/firefox, where newer Firefox keeps new profiles, and
    // in the folders of the snap and flatpak packages. The default profile
    // comes first.
    static std::vector<BrowserProfile> firefox(const Roots &roots);
    // Every folder holding a Bookmarks file under the configuration folder's
    // chromium and google-chrome, named as the browser's Local State names
    // them. The default profile of each comes first.
    static std::vector<BrowserProfile> chromium(const Roots &roots);
};
