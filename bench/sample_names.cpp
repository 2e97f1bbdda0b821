#include "sample_names.h"

#include <string_view>

namespace {

std::u16string Repeated(std::u16string_view piece, std::size_t length) {
    std::u16string text;
    while (text.size() < length)
        text += piece;
    text.resize(length);
    return text;
}

} // namespace

std::u16string AccentedFrenchText(std::size_t length) {
    return Repeated(u"Réunion d'été à Besançon (procès-verbal n°3) – tâches à faire #2 élève.pdf ",
                    length);
}

std::u16string MixedNames(std::size_t length) {
    return Repeated(u"IMG_20240612_153045.jpg rapport_final_v2.docx Être ou ne pas être.odt "
                    u"\u65E5\u672C\u8A9E\u306E\u30D5\u30A1\u30A4\u30EB.txt "
                    u"vacances \U0001F600\U0001F334.png 50% [brouillon] a+b=c?.txt "
                    u"mot\u00A0ins\u00E9cable\u200B.md bad\xDCFF\xDCFE.bin x\uF05Cy.csv ",
                    length);
}
