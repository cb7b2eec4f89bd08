#pragma once

#include <QImage>
#include <QWidget>

namespace common {

// A picture box that keeps what is drawn on it: routines paint into its
// picture, which it shows and keeps across repaints. The picture has the
// widget's size; it is cleared to the background colour (the palette's
// Window role) when the size changes or on Cls().
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr);

    // The picture to draw on, at the widget's current size.
    QImage& picture();
    // Clears the picture to the background colour.
    void Cls();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

} // namespace common
