#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace testing_support {

// Counts the paint events a widget receives while the counter lives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* widget) : m_widget(widget) { m_widget->installEventFilter(this); }
    ~PaintCounter() override
    {
        if (m_widget) {
            m_widget->removeEventFilter(this);
        }
    }

    int paints = 0;

    bool eventFilter(QObject*, QEvent* e) override
    {
        paints += e->type() == QEvent::Paint ? 1 : 0;
        return false;
    }

private:
    QPointer<QWidget> m_widget;
};

} // namespace testing_support
