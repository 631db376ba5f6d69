#include "ui/UiText.h"

#include "platform/Cp932.h"

namespace pimvesk {

QString FromCp932(std::string_view cp932) {
    const std::string utf8 = Cp932ToUtf8(cp932);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::optional<std::string> ToCp932(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return Utf8ToCp932(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

QString NotInCp932Message(const QString& text) {
    QString offending;
    for (const QChar& c : text) {
        if (c.isSurrogate() || !ToCp932(QString(c))) {
            offending = c.isHighSurrogate() ? text.mid(text.indexOf(c), 2) : QString(c);
            break;
        }
    }
    return QString("「%1」は保存できない文字です。別の文字に置き換えてください").arg(offending);
}

QString OneLine(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar& c : text) {
        if (c == QChar('\r') || c == QChar('\n') || c == QChar(0x2028) || c == QChar(0x2029) ||
            c == QChar(0)) {
            c = QChar(' ');
        }
    }
    return text;
}

QColor ToQColor(TColor color) {
    const auto value = static_cast<uint32_t>(color);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

TColor FromQColor(const QColor& color) {
    return static_cast<TColor>(static_cast<uint32_t>(color.red()) |
                               static_cast<uint32_t>(color.green()) << 8 |
                               static_cast<uint32_t>(color.blue()) << 16);
}

}  // namespace pimvesk

#include "platform/Error.h"
#include "platform/IntText.h"

namespace pimvesk {

int32_t ParseInteger(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const std::string_view view(utf8.constData(), static_cast<size_t>(utf8.size()));
    if (auto value = TryStrToInt(view)) {
        return *value;
    }
    throw Error(NotAnIntegerMessage(view));
}

}  // namespace pimvesk
