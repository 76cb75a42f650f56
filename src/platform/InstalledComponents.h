#pragma once

#include "platform/FileVersionInfo.h"

#include <QString>

// The components the help class looks up in the registry, as this program
// provides them: the help viewer, which is part of the program, and the
// browser component behind the preview. Each is registered under its
// class key with the file it lives in, and that file reports its version.
class InstalledComponents
{
public:
    static constexpr const char *kViewerClassKey = "CLSID\\{4662DAB0-D393-11D0-9A56-00C04FB68B66}\\InprocServer32";
    static constexpr const char *kBrowserClassKey = "CLSID\\{0A89A860-D7B1-11CE-8350-444553540000}\\InProcServer32";
    static constexpr const char *kViewerTypeLibraryKey =
        "SOFTWARE\\Classes\\TypeLib\\{ADB880A2-D8FF-11CF-9377-00AA003B7A11}";

    struct Component
    {
        QString path;
        QString version;
    };

    // The running program's file, reporting the program's version.
    static Component viewer();
    // The Qt library file the running program loaded, reporting Qt's version.
    static Component browser();
    static FileVersionInfo fileVersions();

    // Writes the class keys and the viewer's type library key; values
    // already in place are not rewritten. False when a write failed.
    static bool registerComponents(const Component &viewer, const Component &browser);
};
