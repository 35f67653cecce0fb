#include "app/Form1.h"

#include <QApplication>

// The program is its main window: it starts by showing Form1 and ends when Form1 closes.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    sortilo::Form1 form(sortilo::realServices());
    form.centreOnScreen();
    form.show();
    return app.exec();
}
