#pragma once

#include "platform/ui/Colors.h"

#include <QFont>
#include <QImage>
#include <QLineF>
#include <QPoint>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

class QPainter;

namespace controls::utilvek {

// What was drawn on a control's surface. Positions are twips from the
// surface's top-left corner, except the picture's, which is in pixels (the
// imaging works in pixels).
struct Rectangulo
{
    QRectF zona;
    platform::ui::OleColor color;
    bool relleno;
};
struct Linea
{
    QLineF linea;
    platform::ui::OleColor color;
};
// A circle filled and outlined in one colour.
struct Circulo
{
    QPointF centro;
    double radio;
    platform::ui::OleColor color;
};
struct Imagen
{
    QImage imagen;
    QPoint posicion;
};
using Trazo = std::variant<Rectangulo, Linea, Circulo, Imagen>;

enum class Alineacion { Izquierda = 0, Derecha = 1, Centro = 2 };

// One of the bar's child controls (item box, icon surface, caption, badge,
// active bar). The bar keeps them as plain values in twips and paints them
// itself, in their stacking order, at the widget's edge.
struct ControlPintado
{
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
    bool Visible = false;
    bool Enabled = true;
    // Setting the background clears what was drawn on the surface.
    platform::ui::OleColor BackColor = 0;
    bool Opaco = true;
    platform::ui::OleColor ForeColor = 0;
    QString Caption;
    QString ToolTipText;
    QFont Font;
    bool WordWrap = false;
    Alineacion Alignment = Alineacion::Centro;
    // The caption is drawn below this many twips of the control's top, its
    // lines at the top of the room left or centred in it.
    double MargenSuperior = 0;
    bool CentradoVertical = false;
    bool Borde = false;
    // Higher is painted later, so it lies above.
    uint64_t ZOrder = 0;
    std::vector<Trazo> Dibujo;

    void Move(double left, double top, double width, double height);
    void setBackColor(platform::ui::OleColor color);
    bool contiene(double x, double y) const;
};

// The text with every blank made a non-breaking one, so a caption never
// breaks between its words.
QString conBlancosFijos(QString texto);

// A caption laid out in a room of `ancho` x `alto` twips.
struct TituloAjustado
{
    QString texto; // its lines, joined by line breaks, each with fixed blanks
    double puntos; // the font's size
};

// Lays `texto` (trimmed, without line breaks) out in a room of `ancho` x
// `alto` twips in `fuente`: as it is when it fits one line; else its words in
// as few lines as the width takes, at the font's size or at the largest
// smaller one, down to `minimo` points, at which a word and the lines fit.
// nullopt when they fit at no size.
std::optional<TituloAjustado> AjustarTitulo(const QString& texto, QFont fuente, double ancho, double alto,
                                            double minimo, double twipsPorPixel);

// The pixel rectangle of a twips rectangle, edges rounded to the nearest pixel.
QRect aPixeles(double left, double top, double width, double height, double twipsPorPixel);

// Paints `c` at its place on a surface whose pixels are `superficie`:
// background when opaque, what was drawn on it, its border (around the part
// of it on the surface) and its caption.
void PintarControl(QPainter& p, const ControlPintado& c, double twipsPorPixel, const QRect& superficie);

} // namespace controls::utilvek
