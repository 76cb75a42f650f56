#pragma once

#include "platform/ui/DesktopServices.h"

class QtDesktopServices : public DesktopServices
{
public:
    bool openUrl(const QUrl &url) override;
    bool openDefaultBrowser() override;
};
