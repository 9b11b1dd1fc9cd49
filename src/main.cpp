#include "app/AppDelegate.h"
#include "app/Startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    plinth::AppDelegate delegate;
    plinth::prepareApplication(delegate);
    return application.exec();
}
