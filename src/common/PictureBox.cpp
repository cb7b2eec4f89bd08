#include "common/PictureBox.h"

#include <QPainter>

namespace common {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

QImage& PictureBox::picture()
{
    const QSize size = this->size().expandedTo(QSize(1, 1));
    if (m_picture.size() != size) {
        m_picture = QImage(size, QImage::Format_RGB32);
        m_picture.fill(palette().color(QPalette::Window));
    }
    return m_picture;
}

void PictureBox::Cls()
{
    picture().fill(palette().color(QPalette::Window));
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, picture());
}

} // namespace common
