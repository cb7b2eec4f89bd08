#include "common/PintaProgreso.h"

#include "common/PictureBox.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace common {

QString TextoProgreso(const QString& caption, const platform::Variant& porcentaje)
{
    // "###": whole digits, halves away from zero, and no digit at all for 0.
    const double rounded = std::round(porcentaje.toDouble().value_or(0.0));
    const QString digits = rounded == 0.0 ? QString() : QString::number(rounded, 'f', 0);
    return caption + u' ' + digits + u'%';
}

void PintaProgreso(PictureBox* box, const platform::Variant& porcentaje, long color, const QString& caption)
{
    if (!box) {
        return;
    }
    box->Cls();
    QImage& picture = box->picture();
    const double percent = porcentaje.toDouble().value_or(0.0);
    const QString text = TextoProgreso(caption, porcentaje);

    QPainter painter(&picture);
    painter.setFont(box->font());
    painter.setPen(box->palette().color(QPalette::WindowText));
    const QFontMetricsF metrics(box->font());
    const double x = picture.width() / 2.0 - metrics.horizontalAdvance(text) / 2.0;
    const double y = (picture.height() - metrics.height()) / 2.0;
    painter.drawText(QPointF(x, y + metrics.ascent()), text);

    const int barWidth = int(std::lround(std::clamp(percent, 0.0, 100.0) * picture.width() / 100.0));
    if (barWidth > 0) {
        const QColor bar(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
        painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        painter.fillRect(QRect(0, 0, barWidth, picture.height()), bar);
    }
    painter.end();
    box->update();
}

} // namespace common
