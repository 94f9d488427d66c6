#pragma once

#include "common/ui/DialogTemplate.h"
#include "common/ui/VersionResource.h"

#include <QDialog>

// The About box (dialog 100) of both programs: product name and version, copyright, company
// and comments from the program's version resource, and for the player the media engine's
// version text.
//
//   CAboutDlg about(caption, /*withMediaPlayerVersion=*/true, parent);
//   about.SetMediaPlayerVersion(engineVersionText);   // player only; empty when none
//   about.exec();
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    enum ControlId {
        IdProductNameVersion = 1335,
        IdLegalCopyright = 1295,
        IdCompanyName = 1017,
        IdComments = 1018,
        IdMediaPlayerVersion = 1029,
    };

    CAboutDlg(const QString& caption, bool withMediaPlayerVersion, QWidget* parent = nullptr,
              const CVersionResource& resource = CVersionResource::Application());

    // The media player version text shown in label 1029 (player only).
    void SetMediaPlayerVersion(const QString& version);
    const QString& MediaPlayerVersion() const { return m_mediaPlayerVersion; }

    static DialogTemplate Template(const QString& caption, bool withMediaPlayerVersion);
    // The product name, then " ver " and the version when the resource has one.
    static QString ProductNameAndVersion(const CVersionResource& resource);

private:
    void FillFromResource(const CVersionResource& resource);
    void SetLabel(int id, const QString& text);
    void GiveTextLinesTheirHeight();
    void PlaceVersionInItsFrame();

    QString m_mediaPlayerVersion;
};
