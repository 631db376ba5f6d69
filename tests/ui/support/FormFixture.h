#pragma once

#include <memory>
#include <string>

#include "support/FakeDialogs.h"
#include "support/TestFiles.h"
#include "ui/memo.h"
#include "ui/veskForm.h"

namespace pimvesk::test {

// A main window and its memo dialog on a fresh data home, with the modal
// windows faked. Write the files first (Settings(), MonthFile()), then Start().
class FormFixture {
public:
    FormFixture();
    ~FormFixture();

    std::string ProgramPath() const { return dir.File("PIMVESK.EXE"); }
    std::string SettingsPath() const { return dir.File("PIMVESK.ini"); }
    std::string MonthFile(int year, int month) const;

    // Builds and shows the window, as start-up does.
    TForm1& Start();
    // Closes the window as she would; whether it closed.
    bool Close();
    // From now on the form reads and writes every file through `faulty` (call
    // after Start: the settings store is made anew on it).
    void UseFaultyFiles();

    TempDir dir;
    FakeDialogs dialogs;
    FaultyFileSystem faulty;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TMemoForm> memo;
};

}  // namespace pimvesk::test
