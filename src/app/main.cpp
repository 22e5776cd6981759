#include "app/CRegisterApp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Register");
    CRegisterApp register_;
    return register_.InitInstance(app);
}
