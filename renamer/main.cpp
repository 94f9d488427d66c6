#include "renamer/BrindleApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    CBrindleApp brindle(QCoreApplication::applicationFilePath());
    return brindle.Run();
}
