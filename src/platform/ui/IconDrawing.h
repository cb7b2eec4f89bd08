#pragma once

// What the small programs that draw the controls' built-in icons at build
// time share: the pens and brushes of their line drawings, and writing each
// drawing as PNG files. The build runs those programs and ships the files as
// resources; the program itself never draws its icons at run time.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QString>

#include <cstdio>
#include <functional>
#include <vector>

namespace platform::ui::icon_drawing {

// Lines of the colour and width with round ends and joints; shapes drawn
// after it are not filled.
inline void stroke(QPainter& p, const QColor& color, double width)
{
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

// Shapes filled with the colour, without an outline.
inline void fill(QPainter& p, const QColor& color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
}

// One icon: its file name without extension and how to draw it on a square
// canvas of the program's units.
struct Drawing
{
    QString name;
    std::function<void(QPainter&)> draw;
};

// One size of the written files: the side in pixels and what follows the name
// ("" or "@2x", the suffix Qt looks for on screens of twice the density).
struct Size
{
    int pixels;
    QString suffix;
};

// Writes every drawing, made on a canvas of `units` by `units`, onto a
// transparent image of each size, as <name><suffix>.png in the folder that the
// program's only argument names (created when missing). Returns the
// program's exit code: 0 when every file was written, 2 for a wrong call, 1
// when a folder or file could not be written (said on standard error).
inline int writeIcons(int argc, char** argv, const std::vector<Drawing>& drawings, int units,
                      const std::vector<Size>& sizes)
{
    if (argc != 2) {
        std::fprintf(stderr, "use: %s <folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    for (const Drawing& drawing : drawings) {
        for (const Size& size : sizes) {
            QImage image(size.pixels, size.pixels, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            {
                QPainter p(&image);
                p.setRenderHint(QPainter::Antialiasing);
                p.scale(double(size.pixels) / units, double(size.pixels) / units);
                drawing.draw(p);
            }
            const QString file = folder.filePath(drawing.name + size.suffix + QStringLiteral(".png"));
            if (!image.save(file, "PNG")) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
                return 1;
            }
        }
    }
    return 0;
}

} // namespace platform::ui::icon_drawing
