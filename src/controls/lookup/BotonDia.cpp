#include "controls/lookup/BotonDia.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace controls {

BotonDia::BotonDia(QWidget* parent) : QAbstractButton(parent)
{
    setCheckable(true);
}

void BotonDia::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter p(this);
    const QPalette& pal = palette();
    const bool hundido = isChecked() || isDown();
    qDrawWinButton(&p, rect(), pal, hundido, &pal.brush(QPalette::Button));
    const QRect cara = rect().adjusted(2, 2, -2, -2);
    // A chosen day keeps the checked look of a pressed toggle: a lighter,
    // dotted face.
    if (isChecked()) {
        p.fillRect(cara, QBrush(pal.color(QPalette::Light), Qt::Dense4Pattern));
    }
    p.setFont(font());
    p.setPen(pal.color(QPalette::Active, QPalette::ButtonText));
    p.drawText(hundido ? rect().translated(1, 1) : rect(), Qt::AlignCenter, text());
    if (hasFocus()) {
        QStyleOptionFocusRect foco;
        foco.initFrom(this);
        foco.rect = cara.adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &foco, &p, this);
    }
}

} // namespace controls
