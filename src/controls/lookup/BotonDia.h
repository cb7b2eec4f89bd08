#pragma once

#include <QAbstractButton>

namespace controls {

// A day cell of the look-up box's month calendar: an option button of the
// graphical kind, a raised button with its caption centred that stays
// pressed while it is the chosen day. Its caption keeps the colour it was
// given (the palette's button text) also while disabled, so the "." cells
// show black. Checkable; the calendar keeps the cells one group.
class BotonDia : public QAbstractButton
{
    Q_OBJECT

public:
    explicit BotonDia(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace controls
