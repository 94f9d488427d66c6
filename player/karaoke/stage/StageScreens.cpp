#include "player/karaoke/stage/StageScreens.h"

#include "platform/profile/Profile.h"

#include <QActionGroup>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QWidget>

QScreen* CStageScreens::Chosen(const QWidget* mainWindow)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    const QString stored =
        GetProfileString(QString::fromLatin1(Section), QString::fromLatin1(ScreenKey), QString());
    for (QScreen* screen : screens)
        if (!stored.isEmpty() && screen->name() == stored)
            return screen;
    QScreen* own = mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen();
    for (QScreen* screen : screens)
        if (screen != own)
            return screen;
    return own;
}

void CStageScreens::Choose(const QScreen* screen)
{
    if (screen)
        WriteProfileString(QString::fromLatin1(Section), QString::fromLatin1(ScreenKey), screen->name());
}

QString CStageScreens::Describe(const QScreen* screen)
{
    const QRect area = screen->geometry();
    return QStringLiteral("%1 (%2×%3, %4, %5)")
        .arg(screen->name())
        .arg(area.width())
        .arg(area.height())
        .arg(area.left())
        .arg(area.top());
}

void CStageScreens::FillMenu(QMenu& menu, const QWidget* mainWindow)
{
    menu.clear();
    auto* group = new QActionGroup(&menu);
    const QScreen* chosen = Chosen(mainWindow);
    for (QScreen* screen : QGuiApplication::screens()) {
        QAction* item = menu.addAction(Describe(screen));
        item->setCheckable(true);
        item->setChecked(screen == chosen);
        group->addAction(item);
        QObject::connect(item, &QAction::triggered, &menu, [screen] { Choose(screen); });
    }
}
