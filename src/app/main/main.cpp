#include "app/Program.h"

#include <QApplication>

// The program is its main window: it starts by showing it and ends when it closes.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    sortilo::Program program(sortilo::realServices());
    program.window().centreOnScreen();
    program.window().show();
    return app.exec();
}
