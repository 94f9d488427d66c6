#pragma once

#include <QList>
#include <QString>

class QMenu;
class QScreen;
class QWidget;

// Which screen the stage view goes to: the one the user picked (kept by its name in the profile,
// section "CStageView", key "Screen"), else a screen other than the main window's when there is
// one, else the main window's.
class CStageScreens
{
public:
    static constexpr char Section[] = "CStageView";
    static constexpr char ScreenKey[] = "Screen";

    static QScreen* Chosen(const QWidget* mainWindow);
    static void Choose(const QScreen* screen);
    // What a menu shows for a screen: its name, size and place.
    static QString Describe(const QScreen* screen);
    // Fills a menu with one checkable item per screen, the chosen one checked; picking one
    // keeps it.
    static void FillMenu(QMenu& menu, const QWidget* mainWindow);
};
