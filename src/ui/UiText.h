#pragma once

#include <QColor>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "store/VeskState.h"

namespace pimvesk {

// The window's edge between Qt's text and the CP932 bytes the core keeps.
QString FromCp932(std::string_view cp932);
// Nothing when the text holds a character CP932 cannot hold.
std::optional<std::string> ToCp932(const QString& text);
// The message shown when ToCp932 refuses a text.
QString NotInCp932Message(const QString& text);

// One line of text: typed or pasted line breaks become spaces.
QString OneLine(QString text);

// TColor is 0x00BBGGRR.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

}  // namespace pimvesk

namespace pimvesk {

// A number typed into a field: decimal, signed 32-bit; raises
// "'%s' は整数ではありません" with the text otherwise.
int32_t ParseInteger(const QString& text);

}  // namespace pimvesk
