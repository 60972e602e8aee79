#pragma once
// The product logo: "Skizzar" in large black letters with a grey drop shadow on white.

#include <QImage>

class Logo
{
public:
    static constexpr int Width = 299;
    static constexpr int Height = 207;

    // An 8-bit palette image of Width × Height pixels at 96 dots per inch, drawn anew at the
    // device pixel ratio (each of those pixels that many device pixels wide), so that its letters
    // stay crisp on a scaled screen.
    static QImage create(qreal devicePixelRatio = 1.0);
};
