#include "support/FormFixture.h"

#include <QApplication>

#include "store/Paths.h"

namespace pimvesk::test {

FormFixture::FormFixture() = default;

FormFixture::~FormFixture() {
    memo.reset();
    if (form) {
        form->setAttribute(Qt::WA_DeleteOnClose, false);
        form->hide();
    }
    form.reset();
}

std::string FormFixture::MonthFile(int year, int month) const {
    return MonthMemoPath(SettingsPath(), year, static_cast<unsigned>(month));
}

TForm1& FormFixture::Start() {
    form = std::make_unique<TForm1>(ProgramPath());
    memo = std::make_unique<TMemoForm>(form.get());
    form->AttachMemoForm(memo.get());
    form->show();
    QApplication::processEvents();
    return *form;
}

void FormFixture::UseFaultyFiles() {
    form->S.Files = &faulty;
    form->S.IniFile = std::make_unique<TIniFile>(form->S.IniPath, faulty);
}

bool FormFixture::Close() {
    const bool closed = form->close();
    QApplication::processEvents();
    return closed;
}

}  // namespace pimvesk::test
