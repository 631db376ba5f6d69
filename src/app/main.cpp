#include <QApplication>
#include <cstdlib>
#include <exception>

#include "app/Program.h"
#include "store/Paths.h"
#include "ui/Fonts.h"
#include "ui/Guard.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("PimVesk");
    pimvesk::InstallFontSubstitutions();
    try {
        pimvesk::RunPimVesk(
            pimvesk::DataHomeFor(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
    } catch (const std::exception& error) {
        pimvesk::ShowErrorBox(nullptr, QString::fromLocal8Bit(error.what()));
    }
    return 0;
}
