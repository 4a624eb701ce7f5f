#include "app/Lumacet_Main.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv)
{
    // A save that hits a file size limit must fail with an error, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tamsel Lumacet"));
    TfrmLumacet_Main frmLumacet_Main(QApplication::arguments());
    frmLumacet_Main.show();
    return app.exec();
}
