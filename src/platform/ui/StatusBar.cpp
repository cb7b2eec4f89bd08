#include "platform/ui/StatusBar.h"

#include "platform/core/Runtime.h"
#include "platform/ui/ControlError.h"
#include "platform/ui/Twips.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>

namespace platform::ui {

Panel::Panel(StatusBar* bar, const QString& key, const QString& text, int widthTwips)
    : m_bar(bar), m_key(key), m_text(text), m_width(widthTwips), m_label(new QLabel(bar))
{
    m_label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setContentsMargins(2, 0, 2, 0);
    setWidth(widthTwips);
    refresh();
}

int Panel::Index() const
{
    return m_bar->indexOf(this) + 1;
}

void Panel::setText(const QString& text)
{
    m_text = text;
    refresh();
}

QString Panel::ToolTipText() const
{
    return m_label->toolTip();
}

void Panel::setToolTipText(const QString& text)
{
    m_label->setToolTip(text);
}

void Panel::setWidth(int twips)
{
    m_width = std::max(twips, 0);
    m_label->setFixedWidth(twipsToPixels(m_width));
}

void Panel::setStyle(Style style)
{
    m_style = style;
    refresh();
}

void Panel::refresh()
{
    m_label->setText(m_style == Style::Date ? platform::now().format(QStringLiteral("dd/mm/yyyy")) : m_text);
}

StatusBar::StatusBar(QWidget* parent) : QWidget(parent), m_layout(new QHBoxLayout(this)), m_dateTimer(new QTimer(this))
{
    m_layout->setContentsMargins(1, 1, 1, 1);
    m_layout->setSpacing(2);
    m_layout->addStretch(1);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // Date panels follow the clock across midnight.
    m_dateTimer->setInterval(60 * 1000);
    connect(m_dateTimer, &QTimer::timeout, this, &StatusBar::refreshDates);
    m_dateTimer->start();
}

StatusBar::~StatusBar() = default;

Panel& StatusBar::AddPanel(const QString& key, const QString& text, int widthTwips)
{
    if (!key.isEmpty()) {
        for (const auto& panel : m_panels) {
            if (panel->m_key.compare(key, Qt::CaseInsensitive) == 0) {
                throw ControlError(controlErr::KeyNotUnique, QStringLiteral("Key is not unique in collection"));
            }
        }
    }
    m_panels.push_back(std::unique_ptr<Panel>(new Panel(this, key, text, widthTwips)));
    m_layout->insertWidget(m_layout->count() - 1, m_panels.back()->m_label);
    return *m_panels.back();
}

Panel& StatusBar::Panels(int index)
{
    if (index < 1 || index > int(m_panels.size())) {
        throw ControlError(controlErr::IndexOutOfBounds, QStringLiteral("Index out of bounds"));
    }
    return *m_panels[std::size_t(index - 1)];
}

Panel& StatusBar::Panels(const QString& key)
{
    for (const auto& panel : m_panels) {
        if (!panel->m_key.isEmpty() && panel->m_key.compare(key, Qt::CaseInsensitive) == 0) {
            return *panel;
        }
    }
    throw ControlError(controlErr::ElementNotFound, QStringLiteral("Element not found"));
}

int StatusBar::Width() const
{
    return int(pixelsToTwips(width()));
}

int StatusBar::indexOf(const Panel* panel) const
{
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        if (m_panels[i].get() == panel) {
            return int(i);
        }
    }
    return -1;
}

void StatusBar::refreshDates()
{
    for (const auto& panel : m_panels) {
        if (panel->m_style == Panel::Style::Date) {
            panel->refresh();
        }
    }
}

} // namespace platform::ui
