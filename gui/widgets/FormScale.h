#pragma once
// Form scaling: the windows' positions and sizes are designed for an 8-point sans-serif screen
// font at 96 pixels per inch; with another font every position and size is scaled by the ratio
// of the running font's metrics to the design font's, across by the average letter width and
// down by the line height, so that captions fit in the same arrangement. Never below the design.

#include <QRect>
#include <QSize>

class QFont;

namespace trevo::gui {

class FormScale {
  public:
    // The design font's metrics at 96 pixels per inch, as that font is usually measured (it
    // is not on this platform): the 52 letters A-Z a-z together, about 5.5 pixels a letter,
    // and one line's height.
    static constexpr double kDesignAlphabetWidth = 286;
    static constexpr double kDesignLineHeight = 13;

    FormScale() = default;
    FormScale(double across, double down);
    // The scale for windows drawn in `font`.
    static FormScale ForFont(const QFont& font);

    int X(int designX) const;
    int Y(int designY) const;
    // Edges are scaled, not sizes, so that controls that touch at design still touch.
    QRect Rect(int left, int top, int width, int height) const;
    QSize Size(int width, int height) const;
    int Width(int designWidth) const { return X(designWidth); }
    int Height(int designHeight) const { return Y(designHeight); }

  private:
    double across_ = 1;
    double down_ = 1;
};

}  // namespace trevo::gui
