#pragma once

#include <QObject>

class frmSitePins;

// How many folders and SitePins the library holds.
class Statistics : public QObject
{
    Q_OBJECT

public:
    explicit Statistics(frmSitePins &window);

    void mnuViewStats_Click();

private:
    int folderNodeCount() const;
    int sitePinCount() const;

    frmSitePins &m_window;
};
