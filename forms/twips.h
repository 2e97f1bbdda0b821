#pragma once

#include <QRect>

// Window sizes are given in twips; 15 twips make one logical pixel.
namespace forms {

constexpr int Twips(int twips) {
    return twips / 15;
}

constexpr QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(Twips(left), Twips(top), Twips(width), Twips(height));
}

} // namespace forms
