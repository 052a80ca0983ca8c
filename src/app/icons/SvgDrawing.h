#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include <utility>

namespace vendrel::icons {

// One picture made of SVG files painted bottom to top on the same canvas
// (a base drawing and its badges), with colour swaps applied to their text so
// one drawing serves several variants (a monitor with a red screen).
struct SvgDrawing {
    QList<QString> layers;
    QList<std::pair<QString, QString>> colourSwaps = {};
};

// The drawing rendered on a transparent square of the given side in pixels.
// A layer that cannot be read or parsed leaves the image without it.
QImage render(const SvgDrawing &drawing, int pixels);

// The same image in shades of grey, alpha kept, its darkest tones lifted so
// the resting toolbar stays quieter than the hovered button in colour.
QImage greyed(const QImage &image);

} // namespace vendrel::icons
