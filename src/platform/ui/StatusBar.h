#pragma once

#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class QHBoxLayout;
class QLabel;
class QTimer;

namespace platform::ui {

class StatusBar;

// One panel of a StatusBar: a key (may be empty), its 1-based position, a
// text, a tool tip and a width in twips. A Date panel shows today's date
// instead of its text.
class Panel
{
public:
    enum class Style { Text = 0, Date = 6 };

    QString Key() const { return m_key; }
    int Index() const;
    QString Text() const { return m_text; }
    void setText(const QString& text);
    QString ToolTipText() const;
    void setToolTipText(const QString& text);
    int Width() const { return m_width; }
    void setWidth(int twips);
    Style style() const { return m_style; }
    void setStyle(Style style);

private:
    friend class StatusBar;
    Panel(StatusBar* bar, const QString& key, const QString& text, int widthTwips);
    void refresh();

    StatusBar* m_bar;
    QString m_key;
    QString m_text;
    int m_width;
    Style m_style = Style::Text;
    QLabel* m_label;
};

// A strip of panels at the bottom of a form, reached by key (letter case
// ignored) or by 1-based position. A missing key raises ControlError
// (ElementNotFound), a position out of range ControlError (IndexOutOfBounds).
class StatusBar : public QWidget
{
    Q_OBJECT

public:
    explicit StatusBar(QWidget* parent = nullptr);
    ~StatusBar() override;

    // Adds a panel at the end; a key that another panel has raises
    // ControlError (KeyNotUnique). The default width is 1440 twips.
    Panel& AddPanel(const QString& key = {}, const QString& text = {}, int widthTwips = 1440);
    int PanelCount() const { return int(m_panels.size()); }
    Panel& Panels(int index);
    Panel& Panels(const QString& key);

    // The bar's width in twips.
    int Width() const;

private:
    friend class Panel;
    int indexOf(const Panel* panel) const;
    void refreshDates();

    std::vector<std::unique_ptr<Panel>> m_panels;
    QHBoxLayout* m_layout;
    QTimer* m_dateTimer;
};

} // namespace platform::ui
