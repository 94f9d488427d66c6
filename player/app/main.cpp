#include "player/app/SonavelApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    CSonavelApp sonavel(QApplication::applicationFilePath());
    QApplication::setApplicationName(sonavel.ApplicationName());
    return sonavel.Run(arguments);
}
