// The program as it starts for her, on a data home given on the command line:
// window_probe HOME START_NS. Prints the time to the first painted window.
#include <QApplication>
#include <cstdlib>
#include <string>

#include "FirstPaint.h"
#include "app/Program.h"
#include "ui/Fonts.h"
#include "ui/veskForm.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("PimVesk");
    pimvesk::InstallFontSubstitutions();
    // The starts and memos the window holds, so the runner knows it timed the
    // data set and not an empty start.
    const auto loaded = [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (const auto* form = dynamic_cast<pimvesk::TForm1*>(widget)) {
                return std::to_string(form->S.Periods.size()) + "/" +
                       std::to_string(form->S.Memos.size());
            }
        }
        return std::string("none");
    };
    const pimvesk::bench::FirstPaint firstPaint("Pim * Vesk", std::atoll(argv[2]), loaded);
    return pimvesk::RunPimVesk(argv[1]);
}
