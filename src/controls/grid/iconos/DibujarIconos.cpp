// Draws the icons of the grid's tool bars, one per button and named by the
// button's key (BUSCAR, ACTUALIZAR, AJUSTACOL, Excel, Orden), at 16 and 32
// pixels, and the pictures of the column chooser (Subir and Bajar at 12 and 24,
// Cerrar at 16 and 32), the larger size with the suffix "@2x", into the folder
// given as the only argument; the build runs it and ships the files as
// resources. Dark line drawings with one colour each, on a transparent canvas
// of the icon's own side, so that they read on the light faces of the bars and
// of the chooser.
#include "platform/ui/IconDrawing.h"

#include <QColor>
#include <QLineF>
#include <QPainter>
#include <QPolygonF>

#include <vector>

namespace {

namespace icon_drawing = platform::ui::icon_drawing;

constexpr int kLado = 16;
constexpr int kLadoFlecha = 12;
const QColor kTinta(52, 64, 84);
const QColor kAzul(36, 106, 196);
const QColor kVerde(30, 132, 64);
const QColor kCeleste(200, 226, 248);

// A filled arrow head whose tip is at `punta`, pointing away from `desde`.
void punta(QPainter& p, QPointF desde, QPointF punta, const QColor& color)
{
    QLineF eje(punta, desde);
    eje.setLength(4.0);
    QLineF lado1 = eje;
    lado1.setAngle(eje.angle() + 36);
    QLineF lado2 = eje;
    lado2.setAngle(eje.angle() - 36);
    icon_drawing::fill(p, color);
    p.drawPolygon(QPolygonF({punta, lado1.p2(), lado2.p2()}));
}

// A magnifying glass.
void buscar(QPainter& p)
{
    icon_drawing::fill(p, kCeleste);
    p.drawEllipse(QPointF(6.5, 6.5), 4.4, 4.4);
    icon_drawing::stroke(p, kTinta, 1.6);
    p.drawEllipse(QPointF(6.5, 6.5), 4.4, 4.4);
    icon_drawing::stroke(p, kTinta, 2.6);
    p.drawLine(QPointF(10.0, 10.0), QPointF(14.0, 14.0));
}

// A round arrow: the rows are read again.
void actualizar(QPainter& p)
{
    icon_drawing::stroke(p, kVerde, 1.8);
    p.drawArc(QRectF(2.5, 2.5, 11.0, 11.0), 100 * 16, 290 * 16);
    // The arc ends at 30 degrees, going counter-clockwise; the head sits on
    // its end, along it.
    punta(p, QPointF(13.76, 6.98), QPointF(11.56, 3.17), kVerde);
}

// Two column borders pushed apart to the width of their text.
void ajustarColumnas(QPainter& p)
{
    icon_drawing::stroke(p, kTinta, 1.5);
    p.drawLine(QPointF(1.75, 2.5), QPointF(1.75, 13.5));
    p.drawLine(QPointF(14.25, 2.5), QPointF(14.25, 13.5));
    icon_drawing::stroke(p, kAzul, 1.4);
    p.drawLine(QPointF(5.0, 8.5), QPointF(11.0, 8.5));
    punta(p, QPointF(8.0, 8.5), QPointF(3.4, 8.5), kAzul);
    punta(p, QPointF(8.0, 8.5), QPointF(12.6, 8.5), kAzul);
}

// A spreadsheet: a sheet of cells with a green heading row.
void exportarExcel(QPainter& p)
{
    icon_drawing::fill(p, Qt::white);
    p.drawRect(QRectF(1.5, 2.5, 13.0, 11.0));
    icon_drawing::fill(p, kVerde);
    p.drawRect(QRectF(1.5, 2.5, 13.0, 3.5));
    icon_drawing::stroke(p, kVerde, 1.0);
    p.drawRect(QRectF(1.5, 2.5, 13.0, 11.0));
    p.drawLine(QPointF(1.5, 9.5), QPointF(14.5, 9.5));
    p.drawLine(QPointF(6.5, 6.0), QPointF(6.5, 13.5));
    p.drawLine(QPointF(10.5, 6.0), QPointF(10.5, 13.5));
}

// Rows of growing length beside a downward arrow: the order of the rows.
void orden(QPainter& p)
{
    icon_drawing::stroke(p, kTinta, 1.7);
    p.drawLine(QPointF(1.5, 3.5), QPointF(5.0, 3.5));
    p.drawLine(QPointF(1.5, 8.0), QPointF(7.5, 8.0));
    p.drawLine(QPointF(1.5, 12.5), QPointF(10.0, 12.5));
    icon_drawing::stroke(p, kAzul, 1.6);
    p.drawLine(QPointF(13.0, 2.0), QPointF(13.0, 11.0));
    punta(p, QPointF(13.0, 8.0), QPointF(13.0, 14.5), kAzul);
}

// A filled triangle pointing up (`arriba`) or down, on the 12 x 12 canvas.
void flecha(QPainter& p, bool arriba)
{
    icon_drawing::fill(p, kTinta);
    const double tope = arriba ? 2.5 : 9.5;
    const double base = arriba ? 9.5 : 2.5;
    p.drawPolygon(QPolygonF({QPointF(6.0, tope), QPointF(11.0, base), QPointF(1.0, base)}));
}

// A cross: the window closes.
void cerrar(QPainter& p)
{
    icon_drawing::stroke(p, kTinta, 1.8);
    p.drawLine(QPointF(4.0, 4.0), QPointF(12.0, 12.0));
    p.drawLine(QPointF(12.0, 4.0), QPointF(4.0, 12.0));
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<icon_drawing::Drawing> iconos = {
        {QStringLiteral("BUSCAR"), buscar},
        {QStringLiteral("ACTUALIZAR"), actualizar},
        {QStringLiteral("AJUSTACOL"), ajustarColumnas},
        {QStringLiteral("Excel"), exportarExcel},
        {QStringLiteral("Orden"), orden},
        {QStringLiteral("Cerrar"), cerrar},
    };
    const std::vector<icon_drawing::Drawing> flechas = {
        {QStringLiteral("Subir"), [](QPainter& p) { flecha(p, true); }},
        {QStringLiteral("Bajar"), [](QPainter& p) { flecha(p, false); }},
    };
    const int hecho =
        icon_drawing::writeIcons(argc, argv, iconos, kLado, {{16, QString()}, {32, QStringLiteral("@2x")}});
    return hecho != 0 ? hecho
                      : icon_drawing::writeIcons(argc, argv, flechas, kLadoFlecha,
                                                 {{12, QString()}, {24, QStringLiteral("@2x")}});
}
