#include "gui/widgets/FormScale.h"

#include <QFont>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace trevo::gui {

FormScale::FormScale(double across, double down)
    : across_(std::max(1.0, across)), down_(std::max(1.0, down)) {}

FormScale FormScale::ForFont(const QFont& font) {
    const QFontMetricsF metrics(font);
    const double alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {alphabet / kDesignAlphabetWidth, std::ceil(metrics.height()) / kDesignLineHeight};
}

int FormScale::X(int designX) const {
    return static_cast<int>(std::lround(designX * across_));
}

int FormScale::Y(int designY) const {
    return static_cast<int>(std::lround(designY * down_));
}

QRect FormScale::Rect(int left, int top, int width, int height) const {
    const int x = X(left);
    const int y = Y(top);
    return {x, y, X(left + width) - x, Y(top + height) - y};
}

QSize FormScale::Size(int width, int height) const {
    return {X(width), Y(height)};
}

}  // namespace trevo::gui
