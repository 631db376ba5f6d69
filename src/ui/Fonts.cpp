#include "ui/Fonts.h"

namespace pimvesk {

void InstallFontSubstitutions() {
    QFont::insertSubstitution(kPGothic, "IPAPGothic");
    QFont::insertSubstitution(kGothic, "IPAGothic");
    QFont::insertSubstitution(kPMincho, "IPAPMincho");
}

QFont DesignFont(const QString& family, int pixelHeight, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

}  // namespace pimvesk
