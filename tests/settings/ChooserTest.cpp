#include "tests/support/TestMain.h"

#include "common/ui/Chooser.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

// Lets `act` work on the modal dialog that the next call opens.
void OnNextModal(const std::function<void(QDialog*)>& act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

void Press(QDialog* dialog, QDialogButtonBox::StandardButton which)
{
    dialog->findChild<QDialogButtonBox*>()->button(which)->click();
}

bool EffectsShown(QDialog* dialog)
{
    const auto boxes = dialog->findChildren<QCheckBox*>();
    return !boxes.isEmpty()
           && std::all_of(boxes.begin(), boxes.end(), [](QCheckBox* box) { return box->isVisibleTo(box->window()); });
}

// The font sample's box: the group without check boxes. It must show a few lines of text.
void CheckSampleHasRoom(QDialog* dialog)
{
    for (QGroupBox* group : dialog->findChildren<QGroupBox*>())
        if (group->findChildren<QCheckBox*>().isEmpty())
            QVERIFY2(group->height() >= 3 * group->fontMetrics().height(), qPrintable(QString::number(group->height())));
}

} // namespace

// The real choosers behind the seam: the font chooser starts on the given font, with effects it
// offers the text colour as well, and Cancel answers nothing.
class ChooserTest : public QObject
{
    Q_OBJECT
private slots:
    void fontWithEffectsAndColour()
    {
        QFont start(QStringLiteral("DejaVu Serif"));
        start.setPointSize(14);
        OnNextModal([](QDialog* dialog) {
            auto* fonts = dialog->findChild<QFontDialog*>();
            QVERIFY(fonts);
            QCOMPARE(fonts->currentFont().family(), QStringLiteral("DejaVu Serif"));
            QCOMPARE(fonts->currentFont().pointSize(), 14);
            QVERIFY(EffectsShown(dialog));
            CheckSampleHasRoom(dialog);
            // The swatch opens the colour chooser.
            QPushButton* swatch = nullptr;
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                if (!button->icon().isNull() && !dialog->findChild<QDialogButtonBox*>()->buttons().contains(button))
                    swatch = button;
            QVERIFY(swatch);
            OnNextModal([](QDialog* colours) {
                auto* chooser = qobject_cast<QColorDialog*>(colours);
                QVERIFY(chooser);
                QCOMPARE(chooser->currentColor(), QColor(255, 0, 0));
                chooser->setCurrentColor(QColor(10, 200, 30));
                chooser->accept();
            });
            swatch->click();
            Press(dialog, QDialogButtonBox::Ok);
        });
        const ChooserAnswer answer = ChooseFont(nullptr, start, true, QColor(255, 0, 0));
        QVERIFY(answer.accepted);
        QCOMPARE(answer.font.family(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(answer.color, QColor(10, 200, 30));
    }

    void fontWithoutEffects()
    {
        OnNextModal([](QDialog* dialog) {
            QVERIFY(!EffectsShown(dialog));
            CheckSampleHasRoom(dialog);
            Press(dialog, QDialogButtonBox::Cancel);
        });
        QVERIFY(!ChooseFont(nullptr, QFont(QStringLiteral("DejaVu Sans")), false).accepted);
    }

    void colour()
    {
        OnNextModal([](QDialog* dialog) {
            auto* chooser = qobject_cast<QColorDialog*>(dialog);
            QVERIFY(chooser);
            QCOMPARE(chooser->currentColor(), QColor(0, 0, 255));
            chooser->setCurrentColor(QColor(1, 2, 3));
            chooser->accept();
        });
        const ChooserAnswer answer = ChooseColor(nullptr, QColor(0, 0, 255));
        QVERIFY(answer.accepted);
        QCOMPARE(answer.color, QColor(1, 2, 3));
        OnNextModal([](QDialog* dialog) { dialog->reject(); });
        QVERIFY(!ChooseColor(nullptr, QColor(0, 0, 255)).accepted);
    }

    void handlerAnswersInstead()
    {
        QList<ChooserRequest> requests;
        const ChooserHandler previous = SetChooserHandler([&requests](const ChooserRequest& request) {
            requests.append(request);
            return ChooserAnswer{true, request.font, QColor(9, 9, 9)};
        });
        QVERIFY(!previous);
        QVERIFY(ChooseFont(nullptr, QFont(QStringLiteral("DejaVu Sans")), true, QColor(1, 1, 1)).accepted);
        QCOMPARE(ChooseColor(nullptr, QColor(4, 4, 4)).color, QColor(9, 9, 9));
        SetChooserHandler({});
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests[0].kind, ChooserRequest::Kind::Font);
        QVERIFY(requests[0].effects);
        QCOMPARE(requests[0].color, QColor(1, 1, 1));
        QCOMPARE(requests[1].kind, ChooserRequest::Kind::Color);
        QCOMPARE(requests[1].color, QColor(4, 4, 4));
    }
};

SONAVEL_TEST_MAIN(ChooserTest)
#include "ChooserTest.moc"
