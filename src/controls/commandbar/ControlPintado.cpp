#include "controls/commandbar/ControlPintado.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace controls::utilvek {

using platform::ui::toQColor;

void ControlPintado::Move(double left, double top, double width, double height)
{
    Left = left;
    Top = top;
    Width = width;
    Height = height;
}

void ControlPintado::setBackColor(platform::ui::OleColor color)
{
    BackColor = color;
    Dibujo.clear();
}

bool ControlPintado::contiene(double x, double y) const
{
    return x >= Left && x < Left + Width && y >= Top && y < Top + Height;
}

QString conBlancosFijos(QString texto)
{
    return texto.replace(u' ', QChar(0x00A0));
}

std::optional<TituloAjustado> AjustarTitulo(const QString& texto, QFont fuente, double ancho, double alto,
                                            double minimo, double tp)
{
    const auto cabe = [&](const QFontMetricsF& medida, const QStringList& lineas) {
        for (const QString& linea : lineas) {
            if (medida.horizontalAdvance(linea) * tp > ancho) {
                return false;
            }
        }
        return lineas.size() * medida.lineSpacing() * tp <= alto;
    };
    if (cabe(QFontMetricsF(fuente), {texto})) {
        return TituloAjustado{conBlancosFijos(texto), fuente.pointSizeF()};
    }
    const QStringList palabras = texto.split(u' ', Qt::SkipEmptyParts);
    // Sizes go down in quarter points: the steps the font sizes of the
    // settings use.
    for (double puntos = fuente.pointSizeF(); puntos >= minimo; puntos -= 0.25) {
        fuente.setPointSizeF(puntos);
        const QFontMetricsF medida(fuente);
        QStringList lineas;
        for (const QString& palabra : palabras) {
            if (!lineas.isEmpty() && medida.horizontalAdvance(lineas.last() + u' ' + palabra) * tp <= ancho) {
                lineas.last() += u' ' + palabra;
            } else {
                lineas << palabra;
            }
        }
        if (cabe(medida, lineas)) {
            for (QString& linea : lineas) {
                linea = conBlancosFijos(linea);
            }
            return TituloAjustado{lineas.join(u'\n'), puntos};
        }
    }
    return std::nullopt;
}

QRect aPixeles(double left, double top, double width, double height, double twipsPorPixel)
{
    const int x0 = int(std::lround(left / twipsPorPixel));
    const int y0 = int(std::lround(top / twipsPorPixel));
    const int x1 = int(std::lround((left + width) / twipsPorPixel));
    const int y1 = int(std::lround((top + height) / twipsPorPixel));
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

namespace {

int alineacionQt(const ControlPintado& c)
{
    const int horizontal = c.Alignment == Alineacion::Izquierda ? Qt::AlignLeft
                           : c.Alignment == Alineacion::Derecha ? Qt::AlignRight
                                                                : Qt::AlignHCenter;
    return horizontal | (c.CentradoVertical ? Qt::AlignVCenter : Qt::AlignTop) | (c.WordWrap ? Qt::TextWordWrap : 0);
}

// Draws the strokes of a surface whose top-left pixel is `origen`.
void pintarDibujo(QPainter& p, const ControlPintado& c, QPoint origen, double tp)
{
    auto punto = [&](QPointF twips) { return QPointF(origen) + twips / tp; };
    for (const Trazo& t : c.Dibujo) {
        if (const auto* r = std::get_if<Rectangulo>(&t)) {
            const QRectF zona(punto(r->zona.topLeft()), punto(r->zona.bottomRight()));
            p.setRenderHint(QPainter::Antialiasing, false);
            if (r->relleno) {
                p.fillRect(zona.toRect(), toQColor(r->color));
            } else {
                p.setPen(QPen(toQColor(r->color), 0));
                p.setBrush(Qt::NoBrush);
                p.drawRect(zona.toRect());
            }
        } else if (const auto* l = std::get_if<Linea>(&t)) {
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QPen(toQColor(l->color), 0));
            p.drawLine(QLineF(punto(l->linea.p1()), punto(l->linea.p2())));
        } else if (const auto* k = std::get_if<Circulo>(&t)) {
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(QPen(toQColor(k->color), 1.0));
            p.setBrush(toQColor(k->color));
            const double radio = k->radio / tp;
            p.drawEllipse(punto(k->centro), radio, radio);
        } else if (const auto* i = std::get_if<Imagen>(&t)) {
            p.drawImage(origen + i->posicion, i->imagen);
        }
    }
}

} // namespace

void PintarControl(QPainter& p, const ControlPintado& c, double tp, const QRect& superficie)
{
    const QRect zona = aPixeles(c.Left, c.Top, c.Width, c.Height, tp);
    if (zona.isEmpty()) {
        return;
    }
    p.save();
    p.setClipRect(zona);
    if (c.Opaco) {
        p.fillRect(zona, toQColor(c.BackColor));
    }
    pintarDibujo(p, c, zona.topLeft(), tp);
    if (c.Borde) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(zona.intersected(superficie).adjusted(0, 0, -1, -1));
    }
    if (!c.Caption.isEmpty()) {
        p.setFont(c.Font);
        p.setPen(toQColor(c.ForeColor));
        p.drawText(zona.adjusted(0, int(std::lround(c.MargenSuperior / tp)), 0, 0), alineacionQt(c), c.Caption);
    }
    p.restore();
}

} // namespace controls::utilvek
