// Draws the command bar's nineteen built-in icons into PNG files named 00.png
// to 18.png in the folder given as the only argument; the build runs it and
// ships the files as resources. Light line drawings on a transparent 64 x 64
// canvas, so they read on every colour style of the bar.
#include "platform/ui/IconDrawing.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace {

namespace icon_drawing = platform::ui::icon_drawing;

constexpr int kLado = 64;
const QColor kTrazo(246, 246, 246);
const QColor kVerde(92, 200, 120);
const QColor kRojo(236, 96, 96);
const QColor kAmbar(244, 190, 70);
const QColor kCeleste(110, 180, 240);

void lapiz(QPainter& p, const QColor& color, double ancho = 4.0)
{
    icon_drawing::stroke(p, color, ancho);
}

void relleno(QPainter& p, const QColor& color)
{
    icon_drawing::fill(p, color);
}

// A sheet of paper with a folded top-right corner.
void hoja(QPainter& p)
{
    QPainterPath h;
    h.moveTo(14, 6);
    h.lineTo(40, 6);
    h.lineTo(52, 18);
    h.lineTo(52, 58);
    h.lineTo(14, 58);
    h.closeSubpath();
    lapiz(p, kTrazo);
    p.drawPath(h);
    p.drawPolyline(QPolygonF({{40, 6}, {40, 18}, {52, 18}}));
}

void nuevo(QPainter& p)
{
    hoja(p);
    lapiz(p, kVerde, 5);
    p.drawLine(QPointF(33, 30), QPointF(33, 48));
    p.drawLine(QPointF(24, 39), QPointF(42, 39));
}

void borrar(QPainter& p)
{
    lapiz(p, kTrazo);
    p.drawLine(QPointF(10, 16), QPointF(54, 16));
    p.drawPolyline(QPolygonF({{24, 16}, {26, 8}, {38, 8}, {40, 16}}));
    p.drawPolyline(QPolygonF({{16, 16}, {19, 58}, {45, 58}, {48, 16}}));
    lapiz(p, kRojo);
    for (const double x : {26.0, 32.0, 38.0}) {
        p.drawLine(QPointF(x, 26), QPointF(x, 49));
    }
}

void reporte(QPainter& p)
{
    hoja(p);
    relleno(p, kCeleste);
    p.drawRect(QRectF(21, 38, 5, 13));
    p.drawRect(QRectF(30, 30, 5, 21));
    p.drawRect(QRectF(39, 34, 5, 17));
}

void consultar(QPainter& p)
{
    lapiz(p, kTrazo, 5);
    p.drawEllipse(QPointF(27, 27), 16, 16);
    p.drawLine(QPointF(39, 39), QPointF(56, 56));
    lapiz(p, kCeleste, 3);
    p.drawArc(QRectF(17, 17, 20, 20), 100 * 16, 70 * 16);
}

void planilla(QPainter& p)
{
    lapiz(p, kTrazo);
    p.drawRoundedRect(QRectF(8, 12, 48, 40), 3, 3);
    p.drawLine(QPointF(8, 24), QPointF(56, 24));
    p.drawLine(QPointF(8, 38), QPointF(56, 38));
    p.drawLine(QPointF(24, 12), QPointF(24, 52));
    p.drawLine(QPointF(40, 12), QPointF(40, 52));
    relleno(p, kVerde);
    p.drawRect(QRectF(10, 14, 12, 8));
}

void cancelar(QPainter& p)
{
    lapiz(p, kTrazo, 5);
    p.drawEllipse(QPointF(32, 32), 23, 23);
    lapiz(p, kRojo, 5);
    p.drawLine(QPointF(23, 23), QPointF(41, 41));
    p.drawLine(QPointF(41, 23), QPointF(23, 41));
}

void grabar(QPainter& p)
{
    QPainterPath disco;
    disco.moveTo(8, 8);
    disco.lineTo(48, 8);
    disco.lineTo(56, 16);
    disco.lineTo(56, 56);
    disco.lineTo(8, 56);
    disco.closeSubpath();
    lapiz(p, kTrazo);
    p.drawPath(disco);
    p.drawRect(QRectF(18, 8, 24, 14));
    relleno(p, kCeleste);
    p.drawRect(QRectF(17, 34, 30, 18));
}

void cerrar(QPainter& p)
{
    lapiz(p, kTrazo);
    p.drawPolyline(QPolygonF({{34, 14}, {34, 6}, {10, 6}, {10, 58}, {34, 58}, {34, 50}}));
    lapiz(p, kAmbar, 5);
    p.drawLine(QPointF(24, 32), QPointF(56, 32));
    p.drawPolyline(QPolygonF({{46, 22}, {56, 32}, {46, 42}}));
}

void cliente(QPainter& p)
{
    lapiz(p, kTrazo);
    p.drawEllipse(QPointF(32, 20), 11, 11);
    QPainterPath cuerpo;
    cuerpo.moveTo(10, 58);
    cuerpo.cubicTo(10, 36, 54, 36, 54, 58);
    p.drawPath(cuerpo);
}

void pedido(QPainter& p)
{
    lapiz(p, kTrazo);
    p.drawRoundedRect(QRectF(12, 10, 40, 48), 4, 4);
    relleno(p, kTrazo);
    p.drawRoundedRect(QRectF(23, 5, 18, 10), 3, 3);
    lapiz(p, kVerde, 5);
    p.drawPolyline(QPolygonF({{21, 35}, {29, 43}, {43, 27}}));
}

void remito(QPainter& p)
{
    lapiz(p, kTrazo);
    p.drawRect(QRectF(6, 16, 32, 28));
    p.drawPolyline(QPolygonF({{38, 24}, {50, 24}, {58, 34}, {58, 44}, {38, 44}}));
    relleno(p, kAmbar);
    p.drawEllipse(QPointF(18, 48), 6, 6);
    p.drawEllipse(QPointF(48, 48), 6, 6);
}

void caja(QPainter& p)
{
    lapiz(p, kTrazo);
    p.drawRect(QRectF(8, 30, 48, 24));
    p.drawLine(QPointF(8, 42), QPointF(56, 42));
    p.drawRect(QRectF(26, 46, 12, 4));
    relleno(p, kAmbar);
    p.drawEllipse(QPointF(32, 16), 10, 10);
    lapiz(p, QColor(120, 80, 10), 3);
    p.drawLine(QPointF(32, 10), QPointF(32, 22));
}

void unidadNegocio(QPainter& p)
{
    lapiz(p, kTrazo);
    p.drawRect(QRectF(10, 8, 26, 50));
    p.drawPolyline(QPolygonF({{36, 24}, {54, 24}, {54, 58}}));
    p.drawLine(QPointF(6, 58), QPointF(58, 58));
    relleno(p, kCeleste);
    for (const double y : {15.0, 27.0, 39.0}) {
        p.drawRect(QRectF(16, y, 5, 6));
        p.drawRect(QRectF(25, y, 5, 6));
    }
    p.drawRect(QRectF(42, 32, 6, 6));
}

void importar(QPainter& p)
{
    lapiz(p, kTrazo);
    p.drawPolyline(QPolygonF({{8, 38}, {8, 56}, {56, 56}, {56, 38}}));
    lapiz(p, kVerde, 5);
    p.drawLine(QPointF(32, 6), QPointF(32, 42));
    p.drawPolyline(QPolygonF({{20, 30}, {32, 42}, {44, 30}}));
}

// A four-pointed sparkle centred on (x, y).
void destello(QPainter& p, double x, double y, double r)
{
    QPainterPath d;
    d.moveTo(x, y - r);
    d.quadTo(x, y, x + r, y);
    d.quadTo(x, y, x, y + r);
    d.quadTo(x, y, x - r, y);
    d.quadTo(x, y, x, y - r);
    p.drawPath(d);
}

void procesarIA(QPainter& p)
{
    relleno(p, kTrazo);
    destello(p, 26, 36, 20);
    relleno(p, kCeleste);
    destello(p, 48, 14, 10);
    relleno(p, kAmbar);
    destello(p, 50, 50, 7);
}

void pantalla(QPainter& p)
{
    lapiz(p, kTrazo);
    p.drawRoundedRect(QRectF(6, 8, 52, 36), 3, 3);
    p.drawLine(QPointF(32, 44), QPointF(32, 54));
    p.drawLine(QPointF(20, 56), QPointF(44, 56));
    relleno(p, kCeleste);
    p.drawRect(QRectF(12, 14, 40, 24));
}

void impresora(QPainter& p)
{
    lapiz(p, kTrazo);
    p.drawPolyline(QPolygonF({{18, 24}, {18, 6}, {46, 6}, {46, 24}}));
    p.drawRoundedRect(QRectF(6, 24, 52, 22), 3, 3);
    p.drawRect(QRectF(18, 38, 28, 20));
    relleno(p, kVerde);
    p.drawEllipse(QPointF(50, 31), 3, 3);
}

void compartir(QPainter& p)
{
    lapiz(p, kTrazo);
    p.drawLine(QPointF(18, 32), QPointF(46, 14));
    p.drawLine(QPointF(18, 32), QPointF(46, 50));
    relleno(p, kCeleste);
    p.drawEllipse(QPointF(16, 32), 8, 8);
    p.drawEllipse(QPointF(46, 14), 8, 8);
    p.drawEllipse(QPointF(46, 50), 8, 8);
}

void ajustes(QPainter& p)
{
    QPainterPath rueda;
    constexpr int dientes = 8;
    for (int i = 0; i < dientes * 2; ++i) {
        const double a = i * std::numbers::pi / dientes;
        const double r = (i % 2 == 0) ? 26.0 : 20.0;
        for (const double d : {-0.16, 0.16}) {
            const QPointF q(32 + r * std::cos(a + d), 32 + r * std::sin(a + d));
            if (rueda.elementCount() == 0) {
                rueda.moveTo(q);
            } else {
                rueda.lineTo(q);
            }
        }
    }
    rueda.closeSubpath();
    lapiz(p, kTrazo);
    p.drawPath(rueda);
    lapiz(p, kAmbar, 5);
    p.drawEllipse(QPointF(32, 32), 8, 8);
}

} // namespace

int main(int argc, char** argv)
{
    const std::function<void(QPainter&)> iconos[] = {
        nuevo,  borrar, reporte,       consultar, planilla,   cancelar, grabar,    cerrar,    cliente, pedido,
        remito, caja,   unidadNegocio, importar,  procesarIA, pantalla, impresora, compartir, ajustes,
    };
    std::vector<icon_drawing::Drawing> dibujos;
    for (const auto& dibujar : iconos) {
        dibujos.push_back({QStringLiteral("%1").arg(int(dibujos.size()), 2, 10, QLatin1Char('0')), dibujar});
    }
    return icon_drawing::writeIcons(argc, argv, dibujos, kLado, {{kLado, QString()}});
}
