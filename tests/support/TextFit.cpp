#include "support/TextFit.h"

#include "platform/ui/FlexGrid.h"
#include "platform/ui/FontSubstitution.h"
#include "platform/ui/Twips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>

namespace testing_support {

namespace {

// The text as a control shows it: without the mnemonic marks, in lines.
QStringList shownLines(QString text, bool mnemonic)
{
    if (mnemonic) {
        text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    return text.split(u'\n');
}

bool fits(const QFontMetrics& fm, const QStringList& lines, const QRect& room)
{
    int widest = 0;
    for (const QString& line : lines) {
        widest = std::max(widest, fm.horizontalAdvance(line));
    }
    return widest <= room.width() && fm.height() * int(lines.size()) <= room.height();
}

bool labelFits(const QLabel* label)
{
    if (label->text().isEmpty() || label->textFormat() == Qt::RichText) {
        return true;
    }
    QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
    if (label->indent() > 0) {
        room.adjust(label->indent(), 0, 0, 0);
    }
    if (label->wordWrap()) {
        return label->heightForWidth(label->width()) <= label->height();
    }
    return fits(label->fontMetrics(), shownLines(label->text(), label->buddy() != nullptr), room);
}

bool buttonFits(const QAbstractButton* button)
{
    if (button->text().isEmpty()) {
        return true;
    }
    QRect room = button->contentsRect();
    if (const auto* push = qobject_cast<const QPushButton*>(button)) {
        QStyleOptionButton option;
        option.initFrom(push);
        option.text = push->text();
        option.features = push->isFlat() ? QStyleOptionButton::Flat : QStyleOptionButton::None;
        room = push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push);
    } else if (qobject_cast<const QCheckBox*>(button) || qobject_cast<const QRadioButton*>(button)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const bool radio = qobject_cast<const QRadioButton*>(button) != nullptr;
        room = button->style()->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents,
                                               &option, button);
    } else if (const auto* tool = qobject_cast<const QToolButton*>(button)) {
        if (tool->toolButtonStyle() == Qt::ToolButtonIconOnly && !tool->icon().isNull()) {
            return true;
        }
    }
    return fits(button->fontMetrics(), shownLines(button->text(), true), room);
}

bool lineEditFits(const QLineEdit* box)
{
    if (box->text().isEmpty() || box->echoMode() != QLineEdit::Normal) {
        return true;
    }
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    const QMargins margins = box->textMargins();
    // Qt keeps two pixels between the frame and the text on each side.
    const QRect room = box->style()
                           ->subElementRect(QStyle::SE_LineEditContents, &option, box)
                           .marginsRemoved(margins)
                           .adjusted(2, 0, -2, 0);
    return box->fontMetrics().horizontalAdvance(box->text()) <= room.width() &&
           box->fontMetrics().height() <= room.height();
}

// The headings of a view whose sections are narrower than their text.
void cutHeadings(const QHeaderView* header, QStringList& cut)
{
    if (!header->isVisible() || !header->model()) {
        return;
    }
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int section = 0; section < header->count(); ++section) {
        if (header->isSectionHidden(section)) {
            continue;
        }
        const QString text = header->model()->headerData(section, header->orientation()).toString();
        if (header->fontMetrics().horizontalAdvance(text) + 2 * margin > header->sectionSize(section)) {
            cut << header->parentWidget()->objectName() + QStringLiteral(" heading: ") + text;
        }
    }
}

// The headings of a grid (its fixed first row) wider than their columns,
// measured in bold, the headings' font.
void cutHeadings(const platform::ui::FlexGrid* grid, QStringList& cut)
{
    if (grid->FixedRows() < 1 || grid->Rows() < 1) {
        return;
    }
    QFont bold = grid->font();
    bold.setBold(true);
    const QFontMetrics fm(bold);
    for (int col = 0; col < grid->Cols(); ++col) {
        const int width = platform::ui::twipsToPixels(grid->ColWidth(col));
        const QString text = grid->TextMatrix(0, col);
        // The grid keeps three pixels each side of a cell's text.
        if (width > 0 && fm.horizontalAdvance(text) + 6 > width) {
            cut << grid->objectName() + QStringLiteral(" heading: ") + text;
        }
    }
}

// The buttons of a tool bar that its layout put away behind the overflow
// arrow, for want of room in the bar.
void overflowed(const QToolBar* bar, QStringList& cut)
{
    for (QAction* action : bar->actions()) {
        const QWidget* button = bar->widgetForAction(action);
        if (action->isVisible() && button && !button->isVisible()) {
            const QString name = button->toolTip().isEmpty() ? button->objectName() : button->toolTip();
            cut << bar->objectName() + QStringLiteral(" overflow: ") + name;
        }
    }
}

} // namespace

QStringList cutTexts(const QWidget* window, const QList<const QWidget*>& skip)
{
    QStringList cut;
    for (const QWidget* w : window->findChildren<const QWidget*>()) {
        const bool skipped =
            std::any_of(skip.begin(), skip.end(), [w](const QWidget* s) { return s == w || s->isAncestorOf(w); });
        if (!w->isVisible() || skipped) {
            continue;
        }
        QString text;
        bool whole = true;
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            text = label->text();
            whole = labelFits(label);
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            text = button->text();
            whole = buttonFits(button);
        } else if (const auto* box = qobject_cast<const QLineEdit*>(w)) {
            text = box->text();
            whole = lineEditFits(box);
        } else if (const auto* view = qobject_cast<const QTreeView*>(w)) {
            cutHeadings(view->header(), cut);
        } else if (const auto* grid = qobject_cast<const platform::ui::FlexGrid*>(w)) {
            cutHeadings(grid, cut);
        } else if (const auto* bar = qobject_cast<const QToolBar*>(w)) {
            overflowed(bar, cut);
        }
        if (!whole) {
            cut << w->objectName() + QStringLiteral(": ") + text;
        }
    }
    return cut;
}

QStringList cutTextsOnScreen(QWidget& window, const QList<const QWidget*>& skip)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return {QStringLiteral("not shown")};
    }
    return cutTexts(&window, skip);
}

DesignFonts::DesignFonts() : m_font(QApplication::font()), m_substituted(QFont::substitutions())
{
    platform::ui::useDesignFonts();
}

DesignFonts::~DesignFonts()
{
    for (const QString& family : QFont::substitutions()) {
        if (!m_substituted.contains(family)) {
            QFont::removeSubstitutions(family);
        }
    }
    QApplication::setFont(m_font);
}

} // namespace testing_support
