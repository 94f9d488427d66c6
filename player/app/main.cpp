#include "platform/text/NativeName.h"
#include "player/app/SonavelApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The arguments Qt left, with the bytes of paths whose names are not UTF-8 kept.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << NativeName::fromBytes(argv[i]);
    CSonavelApp sonavel(QApplication::applicationFilePath());
    QApplication::setApplicationName(sonavel.ApplicationName());
    return sonavel.Run(arguments);
}
