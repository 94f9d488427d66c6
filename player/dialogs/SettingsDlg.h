#pragma once

#include "player/dialogs/SettingsRecord.h"

#include <QDialog>

#include <initializer_list>

class CColorStatic;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

// Dialog 132 "設定": fonts and colours of the tree, path field, track list, scrolling line and
// karaoke display, how tags are read, scroll speed and shown items, window options and the
// extensions the track list reads. It works on a copy of the record it is given; only OK ("設定")
// takes the controls back into it, and the caller then reads Record() and applies it.
//
// The template gives no rectangles: the controls are laid out with Qt layouts, in the template's
// order, in two columns of groups.
class CSettingsDlg : public QDialog
{
    Q_OBJECT
public:
    enum ControlId {
        IdTreeSample = 1014,
        IdTreeFont = 1015,
        IdPathSample = 1019,
        IdPathFont = 1027,
        IdListSample = 1013,
        IdListFont = 1009,
        IdWmpTags = 1020,
        IdOwnTags = 1021,
        IdTagCodePage = 1018,
        IdTitleSample = 1012,
        IdTitleFont = 1008,
        IdDataSample = 1016,
        IdDataFont = 1011,
        IdScrollSpeed = 1010,
        IdBackColor = 1017,
        IdShowFileName = 1029,
        IdShowTitle = 1022,
        IdShowArtist = 1023,
        IdShowAlbum = 1024,
        IdShowTrack = 1025,
        IdKaraokeSample = 1026,
        IdKaraokeFont = 1034,
        IdSungSample = 1040,
        IdSungColor = 1041,
        IdTagSample = 1043,
        IdTagColor = 1044,
        IdKaraokeCodePage = 1042,
        IdAutoLyricsLookup = 1050,
        IdRubyMode = 1053,
        IdLanguage = 1051,
        IdLanguageLabel = 1052,
        IdClipOnDesktop = 1028,
        IdMainOnTop = 1030,
        IdVideoOnTop = 1031,
        IdDetectCdrom = 1045,
        IdShowFilePath = 1032,
        IdDelPlaylist = 1033,
        IdReadShortcuts = 1035,
        IdReadM3u = 1036,
        IdExtensions = 1037,
        IdAddExtension = 1038,
        IdDeleteExtension = 1039,
        IdOk = 1,
        IdCancel = 2,
    };
    static constexpr int TemplateId = 132;

    CSettingsDlg(const SettingsRecord& record, const CodePageChoices& codePages, QWidget* parent = nullptr);

    const SettingsRecord& Record() const { return m_record; }

    // "%s - %d pt": the face name and the height in points at a fixed 96 dpi, rounded.
    static QString SampleText(const LogFont& font);

    // OK: tag reading, code pages, extensions, check boxes and scroll speed into the record; a
    // scroll speed that is not an integer is refused with a message and the dialog stays.
    void accept() override;

private:
    // Building, in template order.
    QGroupBox* BuildFontGroup();
    QGroupBox* BuildTagGroup();
    QGroupBox* BuildScrollGroup();
    QGroupBox* BuildShowGroup();
    QGroupBox* BuildKaraokeGroup();
    QGroupBox* BuildOtherGroup();
    QGroupBox* BuildFilesGroup();
    QLayout* BuildButtons();
    // The next row of a group's grid: label, sample and its button, which is returned.
    QPushButton* AddSampleRow(QGridLayout* grid, const QString& label, QLabel* sample, int sampleId, int buttonId,
                         const QString& buttonText);
    CColorStatic* NewColorSample();

    // Opening.
    void ExchangeToControls();
    void InitSamples();
    void InitTagReading(const CodePageChoices& codePages);
    void InitKaraokeCodePage(const CodePageChoices& codePages);
    void InitColors();
    void InitExtensions();
    void InitLanguage();

    // Choosers.
    void ChoosePlainFont(LogFont& font, int sampleId, bool& changed);
    void ChooseEffectsFont(LogFont& font, COLORREF& color, std::initializer_list<int> sampleIds, int colorSampleId,
                           bool& changed);
    void ChooseTextColor(COLORREF& color, int sampleId);
    void ChooseBackColor();

    void OnMainOnTopClicked();
    void OnExtensionSelectionChanged();
    void OnAddExtension();
    void OnDeleteExtension();

    // OK's data exchange of the check boxes and the scroll speed; false when the speed is refused.
    bool ExchangeFromControls();
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    QLabel* Sample(int id) const;
    CColorStatic* ColorSample(int id) const;
    QComboBox* Combo(int id) const;
    QListWidget* ExtensionList() const;

    SettingsRecord m_record;
};
