#pragma once

#include <string>

namespace pimvesk {

// The program on its data home: creates the home when missing, makes sure no
// other instance runs on it, builds the two windows and runs the event loop
// until the main window has closed. Needs a QApplication. Returns the exit
// code, 0.
int RunPimVesk(const std::string& dataHome);

}  // namespace pimvesk
