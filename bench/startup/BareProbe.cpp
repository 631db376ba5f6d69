// The yardstick for start-up: a bare Qt window holding the same controls as
// the program's, with the same captions and fonts, and its hidden second
// window, but no data, no files and no handlers. bare_probe START_NS.
#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cstdlib>

#include "FirstPaint.h"

namespace {

const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
const QString kGothic = QStringLiteral("ＭＳ ゴシック");
const QString kPMincho = QStringLiteral("ＭＳ Ｐ明朝");

QFont Font(const QString& family, int pixels, bool bold = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Seven columns of week rows, painted cell by cell as the calendar is.
class Grid : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        for (int row = 0; row < 7; ++row) {
            for (int col = 0; col < 7; ++col) {
                const QRect cell(col * 49, row * 31, 48, 30);
                painter.fillRect(cell, Qt::white);
                painter.setPen(Qt::black);
                painter.drawText(cell.adjusted(1, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                                 row == 0 ? QStringLiteral(" M") : QString::number(row * 7 + col));
            }
        }
    }
};

QLabel* Label(const QString& text, int x, int y, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QFrame* Shape(QRect place, QWidget* parent) {
    auto* shape = new QFrame(parent);
    shape->setFrameShape(QFrame::Box);
    shape->setAutoFillBackground(true);
    shape->setGeometry(place);
    return shape;
}

void BuildCalendar(QWidget* tab) {
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* image = new QWidget;
    image->setAutoFillBackground(true);
    layout->addWidget(image);
    auto* title = new QLabel("2026/12", image);
    title->setGeometry(152, 40, 153, 23);
    title->setFont(Font(kPMincho, 23, true));
    auto* prev = new QLabel("←", image);
    prev->setGeometry(56, 40, 62, 15);
    prev->setFont(Font(kPGothic, 20));
    auto* next = new QLabel("→", image);
    next->setGeometry(336, 40, 63, 15);
    next->setFont(Font(kPGothic, 20, true));
    auto* grid = new Grid(image);
    grid->setGeometry(56, 64, 342, 216);
    grid->setFont(Font(kGothic, 27, true));
}

void BuildDetails(QWidget* tab) {
    Label("Y", 8, 20, tab);
    Label("M", 88, 20, tab);
    Label("D", 152, 20, tab);
    const QRect spins[] = {{24, 16, 57, 23}, {105, 16, 41, 23}, {168, 16, 41, 23}};
    for (const QRect& place : spins) {
        auto* spin = new QSpinBox(tab);
        spin->setGeometry(place);
        spin->setRange(1, 3000);
        spin->setValue(12);
    }
    (new QLineEdit("28", tab))->setGeometry(224, 16, 25, 23);
    Label("Ave.", 250, 20, tab);
    (new QPushButton("この日を追加", tab))->setGeometry(16, 48, 121, 25);
    (new QListWidget(tab))->setGeometry(16, 80, 121, 185);
    (new QPushButton("この日を削除", tab))->setGeometry(16, 272, 121, 25);
    (new QListWidget(tab))->setGeometry(152, 80, 121, 217);
    (new QListWidget(tab))->setGeometry(288, 8, 145, 289);
}

void BuildOptions(QWidget* tab) {
    auto* average = new QGroupBox("平均周期", tab);
    average->setGeometry(16, 24, 161, 89);
    (new QRadioButton("自動計算", average))->setGeometry(8, 22, 145, 24);
    (new QRadioButton("固定 : ", average))->setGeometry(8, 54, 72, 24);
    (new QLineEdit("28", tab))->setGeometry(96, 80, 49, 23);
    Label("排卵日：", 208, 56, tab);
    (new QLineEdit("14", tab))->setGeometry(304, 48, 49, 23);
    Label("生理日数：", 208, 96, tab);
    (new QLineEdit("6", tab))->setGeometry(304, 88, 49, 23);
    (new QPushButton("Save", tab))->setGeometry(384, 48, 75, 25);
    (new QPushButton("About", tab))->setGeometry(384, 88, 75, 25);
    auto* colours = new QGroupBox("色の設定", tab);
    colours->setGeometry(16, 136, 273, 185);
    const char* captions[] = {"背景色", "Period", "危険日", "日付の色", "土曜日", "日曜日"};
    for (int i = 0; i < 6; ++i) {
        const int x = i < 3 ? 16 : 168;
        const int y = 24 + 56 * (i % 3);
        Label(captions[i], x, y, colours);
        Shape({x, y + 16, 65, 25}, colours);
    }
    Label("メモの種類：", 312, 144, tab);
    for (int k = 0; k < 5; ++k) {
        (new QLineEdit(QString("メモ%1").arg(k + 1), tab))->setGeometry(312, 168 + 32 * k, 121, 23);
        Shape({441, 168 + 32 * k, 25, 25}, tab);
    }
}

// The memo dialog, built hidden as the program builds its own.
void BuildMemoDialog(QWidget* dialog) {
    dialog->setWindowTitle("1行メモ");
    dialog->setFont(Font(kPGothic, 15));
    dialog->setGeometry(290, 275, 371, 248);
    auto* date = new QLabel(dialog);
    date->setGeometry(40, 8, 281, 25);
    date->setFont(Font(kPGothic, 23, true));
    (new QPlainTextEdit(dialog))->setGeometry(40, 40, 281, 97);
    auto* categories = new QComboBox(dialog);
    categories->setGeometry(40, 152, 249, 23);
    for (int k = 0; k < 5; ++k) {
        categories->addItem(QString("メモ%1").arg(k + 1));
    }
    Shape({296, 152, 25, 25}, dialog);
    (new QPushButton("登録", dialog))->setGeometry(40, 184, 75, 25);
    (new QPushButton("削除", dialog))->setGeometry(144, 184, 75, 25);
    (new QPushButton("取り消し", dialog))->setGeometry(248, 184, 75, 25);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("PimVesk");
    QFont::insertSubstitution(kPGothic, "IPAPGothic");
    QFont::insertSubstitution(kGothic, "IPAGothic");
    QFont::insertSubstitution(kPMincho, "IPAPMincho");
    const pimvesk::bench::FirstPaint firstPaint("Pim * Vesk", std::atoll(argv[1]));

    QWidget window;
    window.setWindowTitle("Pim * Vesk");
    window.setFont(Font(kPGothic, 15));
    window.setFixedSize(482, 356);
    window.move(221, 183);
    auto* pages = new QTabWidget(&window);
    pages->setGeometry(0, 0, 482, 356);
    auto* calendar = new QWidget;
    auto* details = new QWidget;
    auto* options = new QWidget;
    pages->addTab(calendar, "カレンダー");
    pages->addTab(details, "詳細");
    pages->addTab(options, "設定");
    BuildCalendar(calendar);
    BuildDetails(details);
    BuildOptions(options);
    QWidget memo(nullptr, Qt::Window);
    BuildMemoDialog(&memo);
    window.show();
    return QApplication::exec();
}
