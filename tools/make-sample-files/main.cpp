#include "SampleFiles.h"

#include <QCoreApplication>

#include <cstdio>

// make-sample-files FOLDER: writes the sample data files of a new application folder, leaving
// every file that is already there as it is.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: make-sample-files APPLICATION-FOLDER\n");
        return 2;
    }
    const QStringList problems = sortilo::writeSampleFiles(args[1]);
    for (const QString& problem : problems) {
        std::fprintf(stderr, "make-sample-files: %s\n", qPrintable(problem));
    }
    return problems.isEmpty() ? 0 : 1;
}
