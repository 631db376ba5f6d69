#pragma once

#include <QFont>
#include <QString>

namespace pimvesk {

// The designed font names, as the program asks for them.
inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kPMincho = QStringLiteral("ＭＳ Ｐ明朝");

// Maps the designed faces onto the IPA fonts Debian ships.
void InstallFontSubstitutions();

// A font of the design: a face, a character height in pixels, bold or not.
QFont DesignFont(const QString& family, int pixelHeight, bool bold = false);

}  // namespace pimvesk
