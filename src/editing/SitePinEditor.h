#pragma once

#include <QObject>
#include <QString>

class QTreeWidgetItem;
class frmSitePins;

// The edit modes of the main window and the SitePin editor, which is the
// detail panel with its labels swapped for input fields.
class SitePinEditor : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *kAdd = "add";
    static constexpr const char *kModify = "mod";

    explicit SitePinEditor(frmSitePins &window);

    // The page the browser capture chose, handed to a create from "browser".
    QString capturedName;
    QString capturedAddress;

    void txtMode_Change();
    void setFormEditMode(bool mode);
    void addSitePinSetup(const QString &source);
    void addSitePinFromCapture();
    void mnuEditModify_Click();
    void saveEdit();
    void cancelEdit();
    void clearEditFields();
    void clearSitePinDisplay(bool show);
    bool saveNewSitePin();
    bool saveModifiedSitePin();

    bool isMode(const char *mode) const;

signals:
    // The input fields gave way to the labels: the edit is over, saved or not.
    void editModeLeft();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyBrowseSurface();
    void applyAddSurface();
    void applyModifySurface();
    void applyEditingSurface();
    void setCommonSurface(bool browsing);
    bool fieldsFitTheLibrary();
    bool leaveModifyFromFolderTree(QTreeWidgetItem *pressed);

    frmSitePins &m_window;
};
