// Renders the three pages and the memo dialog, over a sample data set, to PNG
// files: render_pages OUTPUT_DIR [DATA_DIR]. Runs under the offscreen platform.
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPixmap>
#include <QTabWidget>
#include <cstdio>
#include <memory>

#include "platform/DateTime.h"
#include "store/Memos.h"
#include "store/Paths.h"
#include "store/Settings.h"
#include "ui/Fonts.h"
#include "ui/UiText.h"
#include "ui/memo.h"
#include "ui/veskForm.h"

namespace {

using namespace pimvesk;

// Starts every 28 to 30 days up to this month, a few memos in this month.
void WriteSampleData(const std::string& home) {
    VeskState s;
    OpenDefaultState(s, SettingsPathFor(ProgramPathIn(home)));
    const TDateTime today = Today();
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    DecodeDate(today, year, month, day);
    const TDateTime first = EncodeDate(year, month, 1);
    for (int k = 5; k >= 0; --k) {
        s.Periods.push_back(first + 3 - k * 29 + (k % 2));
    }
    s.AverageDays = CalcAverage(s.Periods);
    s.CategoryNames = {*ToCp932("メモ"), *ToCp932("通院"), *ToCp932("体温"), *ToCp932("予定"),
                       *ToCp932("その他")};
    SaveSettings(s);
    s.ViewDate = first;
    PutMemo(s, first + 5, 0, *ToCp932("頭痛がする"));
    PutMemo(s, first + 12, 1, *ToCp932("婦人科 10:30"));
    PutMemo(s, first + 19, 2, *ToCp932("36.7℃"));
    PutMemo(s, first + 26, 3, *ToCp932("旅行"));
}

bool Save(QWidget* widget, const QString& path) {
    const bool saved = widget->grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("PimVesk");
    InstallFontSubstitutions();
    if (argc < 2) {
        std::fprintf(stderr, "usage: render_pages OUTPUT_DIR [DATA_DIR]\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    std::string home = argc > 2 ? argv[2] : (out + "/sample-data/").toStdString();
    if (home.back() != '/') {
        home += '/';
    }
    if (argc <= 2) {
        QDir(QString::fromStdString(home)).removeRecursively();
        QDir().mkpath(QString::fromStdString(home));
        WriteSampleData(home);
    }

    TForm1 form(ProgramPathIn(home));
    TMemoForm memoForm(&form);
    form.AttachMemoForm(&memoForm);
    form.show();
    QApplication::processEvents();
    bool ok = true;
    const char* names[] = {"calendar", "details", "options"};
    for (int page = 0; page < 3; ++page) {
        form.PageControl1->setCurrentIndex(page);
        if (page == 1 && !form.S.Periods.empty()) {
            form.PastBox->setCurrentRow(static_cast<int>(form.S.Periods.size()) - 1);
        }
        QApplication::processEvents();
        ok = Save(&form, out + "/" + names[page] + ".png") && ok;
    }
    form.PageControl1->setCurrentIndex(0);
    form.S.ViewDate = Today();
    memoForm.show();
    QApplication::processEvents();
    ok = Save(&memoForm, out + "/memo.png") && ok;
    memoForm.hide();
    form.setAttribute(Qt::WA_DontShowOnScreen);
    return ok ? 0 : 1;
}
