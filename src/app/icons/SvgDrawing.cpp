#include "app/icons/SvgDrawing.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace vendrel::icons {

namespace {

QByteArray svgText(const QString &path, const QList<std::pair<QString, QString>> &colourSwaps)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray text = file.readAll();
    for (const auto &[from, to] : colourSwaps)
        text.replace(from.toLatin1(), to.toLatin1());
    return text;
}

} // namespace

QImage render(const SvgDrawing &drawing, int pixels)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (const QString &layer : drawing.layers) {
        QSvgRenderer renderer(svgText(layer, drawing.colourSwaps));
        if (renderer.isValid())
            renderer.render(&painter, QRectF(0, 0, pixels, pixels));
    }
    return image;
}

QImage greyed(const QImage &image)
{
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int level = 40 + qGray(line[x]) * 215 / 255;
            line[x] = qRgba(level, level, level, qAlpha(line[x]));
        }
    }
    return grey;
}

} // namespace vendrel::icons
