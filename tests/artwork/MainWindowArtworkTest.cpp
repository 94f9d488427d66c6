#include "tests/artwork/TestPictures.h"
#include "tests/support/Id3Writer.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/PlayerSandbox.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "platform/profile/Profile.h"
#include "player/app/SonavelDlg.h"
#include "player/app/SonavelStrings.h"
#include "player/library/ArtWorkDlg.h"
#include "player/library/PictureCtrl.h"
#include "player/library/TrackLibrary.h"
#include "player/settings/ProfileHelpers.h"

#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>

using namespace TestPictures;

namespace {

constexpr char kMain[] = "CSonavelDlg";
const QColor kRed(220, 30, 30);
const QColor kBlue(30, 40, 210);
const QColor kGreen(40, 200, 60);
const QColor kYellow(230, 210, 40);
const QColor kWhite(255, 255, 255);

struct Track {
    QString name;
    QString title;
    QByteArray picture; // the tag's picture frame data; null for none
};

QString PlayingCaption(const QString& title)
{
    return QStringLiteral("再生中 [ %1 ]").arg(title);
}

// Whether the control shows a picture of `picture` size, top half in `top` and bottom half in
// `bottom`, at its drawn size from the top-left corner, with white beyond.
QString DrawnProblem(CPictureCtrl* control, const QSize& picture, const QColor& top, const QColor& bottom)
{
    if (control->Image().size() != picture)
        return QStringLiteral("picture of %1 x %2").arg(control->Image().width()).arg(control->Image().height());
    const QImage shot = control->grab().toImage();
    const QSize drawn = CPictureCtrl::DrawSize(picture, control->size(), control->Zoom());
    const QPoint inTop(std::min(drawn.width(), shot.width()) / 2, 1);
    const QPoint inBottom(inTop.x(), std::min(drawn.height(), shot.height()) - 2);
    if (!Near(shot.pixelColor(inTop), top) || !Near(shot.pixelColor(inBottom), bottom))
        return QStringLiteral("colours %1 %2").arg(shot.pixelColor(inTop).name(), shot.pixelColor(inBottom).name());
    if (drawn.height() < shot.height() && shot.pixelColor(inTop.x(), drawn.height()) != kWhite)
        return QStringLiteral("not white below");
    if (drawn.width() < shot.width() && shot.pixelColor(drawn.width(), inTop.y()) != kWhite)
        return QStringLiteral("not white beside");
    return {};
}

bool AllWhite(CPictureCtrl* control)
{
    const QImage shot = control->grab().toImage();
    for (int y = 0; y < shot.height(); y += 3)
        for (int x = 0; x < shot.width(); x += 3)
            if (shot.pixelColor(x, y) != kWhite)
                return false;
    return true;
}

} // namespace

// The main window's artwork: the thumbnail shows the playing track's picture (from its tag, else a
// cover file), a click opens the artwork window, which hides for tracks without a picture and
// comes back for the next with one, until the user closes it.
class MainWindowArtworkTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_sandbox.SetUpHome();
    }

    void init()
    {
        m_sandbox.SetUpTest();
    }

    void cleanup()
    {
        QCOMPARE(m_sandbox.boxes->count(), 0);
        m_sandbox.TearDownTest();
    }

    void thumbnailAndWindowFollowTheTracks()
    {
        const QString folder = MakeFolder(QStringLiteral("tracks"),
                                          {{"01.mp3", "A", Jpeg(TwoColours(QSize(400, 300), kRed, kBlue))},
                                           {"02.mp3", "B", {}},
                                           {"03.mp3", "C", Png(TwoColours(QSize(300, 400), kGreen, kYellow))}});
        WriteProfileHexString(kMain, "DefaultFolderPath", folder);
        CSonavelDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTRY_COMPARE(dialog.windowTitle(), PlayingCaption("A"));
        CPictureCtrl* thumbnail = dialog.Thumbnail();
        QCOMPARE(thumbnail->Zoom(), 0);
        // The thumbnail lies wholly inside the window at its first size.
        QVERIFY(thumbnail->x() + thumbnail->width() <= dialog.width());
        QVERIFY(dialog.ScrollLine()->width() >= thumbnail->x() + thumbnail->width());
        QCOMPARE(DrawnProblem(thumbnail, QSize(400, 300), kRed, kBlue), QString());
        QVERIFY(!dialog.ArtWorkWindow());

        // A click opens the window with the picture, fitted as stored by default.
        QTest::mouseClick(thumbnail, Qt::LeftButton, {}, QPoint(5, 5));
        QPointer<CArtWorkDlg> window = dialog.ArtWorkWindow();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->windowTitle(), QStringLiteral("アートワーク"));
        QCOMPARE(DrawnProblem(window->Picture(), QSize(400, 300), kRed, kBlue), QString());
        // Moved by the user: through the native window, as the window manager moves it, which
        // the dialog does not count as a placement of its own.
        const QPoint placed = window->pos() + QPoint(37, 23);
        window->windowHandle()->setPosition(placed);
        QTRY_COMPARE(window->pos(), placed);

        // No picture: the thumbnail is cleared and the window hides.
        dialog.OnCommand(CSonavelDlg::IdNext);
        QTRY_COMPARE(dialog.windowTitle(), PlayingCaption("B"));
        QVERIFY(thumbnail->Image().isNull());
        QVERIFY(AllWhite(thumbnail));
        QVERIFY(window && !window->isVisible());
        QVERIFY(window->Picture()->Image().isNull());

        // The next track with a picture brings it back.
        dialog.OnCommand(CSonavelDlg::IdNext);
        QTRY_COMPARE(dialog.windowTitle(), PlayingCaption("C"));
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->pos(), placed);
        QCOMPARE(DrawnProblem(window->Picture(), QSize(300, 400), kGreen, kYellow), QString());
        QCOMPARE(DrawnProblem(thumbnail, QSize(300, 400), kGreen, kYellow), QString());

        // Closed, the window stays away while the thumbnail goes on following the tracks.
        QTest::mouseClick(DlgItem<QPushButton>(window, CArtWorkDlg::IdClose), Qt::LeftButton);
        QTRY_VERIFY(window.isNull());
        QVERIFY(!dialog.ArtWorkWindow());
        dialog.OnCommand(CSonavelDlg::IdPrevious);
        QTRY_COMPARE(dialog.windowTitle(), PlayingCaption("B"));
        dialog.OnCommand(CSonavelDlg::IdPrevious);
        QTRY_COMPARE(dialog.windowTitle(), PlayingCaption("A"));
        QCOMPARE(DrawnProblem(thumbnail, QSize(400, 300), kRed, kBlue), QString());
        QVERIFY(!dialog.ArtWorkWindow());

        // Only the next click makes a new one.
        QTest::mouseClick(thumbnail, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(dialog.ArtWorkWindow());
        QTRY_VERIFY(dialog.ArtWorkWindow()->isVisible());
        window = dialog.ArtWorkWindow();
        dialog.close();
        QVERIFY(window.isNull());
        QCOMPARE(GetProfileInt("CArtWorkDlg", "PictSizeCB", -1), 3);
        QVERIFY(ProfileHasKey("CArtWorkDlg", "Left"));
    }

    void undecodablePictureClearsInsteadOfKeepingTheLastOne()
    {
        QByteArray noise(3000, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919) % 251);
        const QString folder = MakeFolder(QStringLiteral("bad"),
                                          {{"01.mp3", "A", Jpeg(TwoColours(QSize(64, 48), kRed, kBlue))},
                                           {"02.mp3", "B", noise},
                                           {"03.mp3", "C", QByteArray("\xFF\xD8\xFF\xE0", 4)},
                                           {"04.mp3", "D", QByteArray("")}});
        WriteProfileHexString(kMain, "DefaultFolderPath", folder);
        CSonavelDlg dialog;
        dialog.show();
        QTRY_COMPARE(dialog.windowTitle(), PlayingCaption("A"));
        QTest::mouseClick(dialog.Thumbnail(), Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_VERIFY(dialog.ArtWorkWindow() && dialog.ArtWorkWindow()->isVisible());
        for (const char* title : {"B", "C", "D"}) {
            dialog.OnCommand(CSonavelDlg::IdNext);
            QTRY_COMPARE(dialog.windowTitle(), PlayingCaption(title));
            QVERIFY2(dialog.Thumbnail()->Image().isNull(), title);
            QVERIFY(AllWhite(dialog.Thumbnail()));
            QVERIFY(!dialog.ArtWorkWindow()->isVisible());
        }
    }

    void pictureKinds_data()
    {
        QTest::addColumn<QByteArray>("tagPicture");
        QTest::addColumn<QStringList>("coverFiles"); // names; each holds the matching picture below
        QTest::addColumn<QList<QByteArray>>("coverPictures");
        QTest::addColumn<QColor>("top");
        QTest::addColumn<QColor>("bottom");

        const QSize size(120, 90);
        const QImage redBlue = TwoColours(size, kRed, kBlue);
        const QImage greenYellow = TwoColours(size, kGreen, kYellow);
        const QColor light(210, 210, 210);
        const QColor dark(50, 50, 50);
        const QImage grey = TwoColours(size, light, dark).convertToFormat(QImage::Format_Grayscale8);
        QTest::newRow("greyscale jpeg") << Jpeg(grey) << QStringList() << QList<QByteArray>() << light << dark;
        QTest::newRow("cmyk jpeg") << CmykJpeg(redBlue, false) << QStringList() << QList<QByteArray>() << kRed << kBlue;
        QTest::newRow("png") << Png(redBlue) << QStringList() << QList<QByteArray>() << kRed << kBlue;
        QTest::newRow("cover file Cover.JPG") << QByteArray() << QStringList{"Cover.JPG"}
                                              << QList<QByteArray>{Jpeg(redBlue)} << kRed << kBlue;
        QTest::newRow("cover file folder.png") << QByteArray() << QStringList{"folder.png"}
                                               << QList<QByteArray>{Png(redBlue)} << kRed << kBlue;
        QTest::newRow("cover file FRONT.jpeg") << QByteArray() << QStringList{"FRONT.jpeg"}
                                               << QList<QByteArray>{Jpeg(redBlue)} << kRed << kBlue;
        QTest::newRow("cover before folder")
            << QByteArray() << QStringList{"folder.jpg", "cover.png"}
            << QList<QByteArray>{Jpeg(greenYellow), Png(redBlue)} << kRed << kBlue;
        QTest::newRow("tag before cover file") << Png(redBlue) << QStringList{"cover.jpg"}
                                               << QList<QByteArray>{Jpeg(greenYellow)} << kRed << kBlue;
        QTest::newRow("undecodable tag picture, cover file")
            << QByteArray("no picture") << QStringList{"cover.jpg"} << QList<QByteArray>{Jpeg(redBlue)} << kRed << kBlue;
        QTest::newRow("other names are no cover")
            << QByteArray() << QStringList{"cover.gif", "covers.jpg", "back.png"}
            << QList<QByteArray>{Png(greenYellow), Jpeg(greenYellow), Png(greenYellow)} << QColor() << QColor();
    }

    void pictureKinds()
    {
        QFETCH(QByteArray, tagPicture);
        QFETCH(QStringList, coverFiles);
        QFETCH(QList<QByteArray>, coverPictures);
        QFETCH(QColor, top);
        QFETCH(QColor, bottom);
        const QString folder = MakeFolder(QStringLiteral("kind"), {{"01.mp3", "A", tagPicture}});
        for (int i = 0; i < coverFiles.size(); ++i)
            m_sandbox.temp->write(QStringLiteral("kind/") + coverFiles[i], coverPictures[i]);
        WriteProfileHexString(kMain, "DefaultFolderPath", folder);
        CSonavelDlg dialog;
        dialog.show();
        QTRY_COMPARE(dialog.windowTitle(), PlayingCaption("A"));
        if (!top.isValid()) {
            QVERIFY(dialog.Thumbnail()->Image().isNull());
            return;
        }
        QCOMPARE(DrawnProblem(dialog.Thumbnail(), QSize(120, 90), top, bottom), QString());
    }

    void clickWithNothingPlaying()
    {
        WriteProfileHexString(kMain, "DefaultFolderPath", QString());
        CSonavelDlg dialog;
        QVERIFY(dialog.Library());
        QSignalSpy nowPlaying(dialog.Library(), &CTrackLibrary::NowPlayingInfo);
        dialog.OnArtworkClicked();
        // The window exists but stays hidden; the scrolling line's texts are emptied.
        QVERIFY(dialog.ArtWorkWindow());
        QVERIFY(!dialog.ArtWorkWindow()->isVisible());
        QVERIFY(dialog.Thumbnail()->Image().isNull());
        QVERIFY(!nowPlaying.isEmpty());
        for (const QVariant& text : nowPlaying.last())
            QCOMPARE(text.toString(), QString());
    }

private:
    QString MakeFolder(const QString& name, const QList<Track>& tracks)
    {
        const QString folder = m_sandbox.temp->mkdir(name);
        for (const Track& track : tracks) {
            QList<Id3Writer::Frame> frames{{"TIT2", Id3Writer::textData(Id3Writer::Latin1, track.title)}};
            if (!track.picture.isNull())
                frames.append({"APIC", Id3Writer::pictureData(Id3Writer::Latin1, "image/jpeg", 3, {}, track.picture)});
            const QByteArray bytes = Id3Writer::tag(frames) + Mp3Fixture::silentFrames(30.0);
            if (!TestFiles::writeBytes(folder + '/' + track.name, bytes))
                qFatal("cannot write %s", qPrintable(track.name));
        }
        return folder;
    }

    PlayerSandbox m_sandbox;
};

SONAVEL_TEST_MAIN(MainWindowArtworkTest)
#include "MainWindowArtworkTest.moc"
