#include "app/Program.h"

#include <sys/stat.h>

#include <QApplication>
#include <cerrno>

#include "platform/InstanceLock.h"
#include "store/Paths.h"
#include "ui/Dialogs.h"
#include "ui/Guard.h"
#include "ui/ShutdownSignals.h"
#include "ui/memo.h"
#include "ui/veskForm.h"

namespace pimvesk {

namespace {

// mkdir -p, private to her: the data home holds her health records.
bool MakeDirectories(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

int RunPimVesk(const std::string& home) {
    if (!MakeDirectories(home)) {
        ShowErrorBox(nullptr, QString::fromStdString(home) + " を作成できません");
    }
    const InstanceLock lock(home + ".lock");
    if (lock.Result() == InstanceLock::State::kTakenByAnother) {
        // The end of the session closes this box too, and the exit stays 0.
        const ShutdownSignals sessionEnd(nullptr);
        CurrentDialogs().ShowMessage(nullptr, "PimVesk はすでに起動しています");
        return 0;
    }
    TForm1 form(ProgramPathIn(home));
    TMemoForm memoForm(&form);
    form.AttachMemoForm(&memoForm);
    form.show();
    const ShutdownSignals sessionEnd(&form);  // watches a window that is up
    QApplication::exec();
    return 0;
}

}  // namespace pimvesk
