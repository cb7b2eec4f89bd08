#include "platform/ui/ListView.h"

#include "platform/ui/ControlError.h"
#include "platform/ui/Twips.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace platform::ui {

namespace {

Qt::Alignment toQt(ListView::ColumnAlignment alignment)
{
    switch (alignment) {
    case ListView::ColumnAlignment::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case ListView::ColumnAlignment::Center:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case ListView::ColumnAlignment::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

// ---- ListItem --------------------------------------------------------------

ListItem::ListItem(ListView* owner) : QTreeWidgetItem(QTreeWidgetItem::UserType), m_view(owner) {}

void ListItem::checkSubItem(int index) const
{
    if (index < 1 || index >= m_view->columnCount()) {
        throw ControlError(controlErr::InvalidPropertyValue, QStringLiteral("Invalid property value"));
    }
}

QString ListItem::SubItems(int index) const
{
    checkSubItem(index);
    return text(index);
}

void ListItem::setSubItems(int index, const QString& value)
{
    checkSubItem(index);
    setText(index, value);
    setTextAlignment(index, m_view->columnAlignment(index));
}

bool ListItem::Bold() const
{
    return font(0).bold();
}

void ListItem::setBold(bool bold)
{
    QFont f = m_view->font();
    f.setBold(bold);
    setFont(0, f);
}

void ListItem::setForeColor(OleColor color)
{
    m_foreColor = color;
    setForeground(0, toQColor(color));
}

OleColor ListItem::SubItemForeColor(int index) const
{
    checkSubItem(index);
    const QVariant value = data(index, Qt::UserRole);
    return value.isValid() ? OleColor(value.toUInt()) : m_view->ForeColor();
}

void ListItem::setSubItemForeColor(int index, OleColor color)
{
    checkSubItem(index);
    setData(index, Qt::UserRole, uint(color));
    setForeground(index, toQColor(color));
}

void ListItem::setChecked(bool checked)
{
    setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

int ListItem::Index() const
{
    return m_view->indexOfTopLevelItem(const_cast<ListItem*>(this)) + 1;
}

// ---- ListView --------------------------------------------------------------

ListView::ListView(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setColumnCount(0);
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        if (auto* listItem = dynamic_cast<ListItem*>(item)) {
            emit ItemClick(listItem);
        }
    });
}

int ListView::AddColumnHeader(const QString& text, int widthTwips, ColumnAlignment alignment)
{
    const int column = columnCount();
    setColumnCount(column + 1);
    QTreeWidgetItem* heading = headerItem();
    heading->setText(column, text);
    const Qt::Alignment align = column == 0 ? toQt(ColumnAlignment::Left) : toQt(alignment);
    heading->setTextAlignment(column, align);
    heading->setData(column, Qt::UserRole, int(align));
    setColumnWidth(column, twipsToPixels(widthTwips));
    return column + 1;
}

void ListView::ClearColumnHeaders()
{
    setColumnCount(0);
}

Qt::Alignment ListView::columnAlignment(int column) const
{
    const QVariant value = headerItem()->data(column, Qt::UserRole);
    return value.isValid() ? Qt::Alignment(value.toInt()) : toQt(ColumnAlignment::Left);
}

void ListView::prepare(ListItem* item) const
{
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                   (m_checkboxes ? Qt::ItemIsUserCheckable : Qt::NoItemFlags));
    if (m_checkboxes) {
        item->setCheckState(0, Qt::Unchecked);
    }
    item->setForeground(0, toQColor(m_foreColor));
    item->m_foreColor = m_foreColor;
}

ListItem& ListView::AddItem(const QString& text)
{
    return InsertItem(topLevelItemCount() + 1, text);
}

ListItem& ListView::InsertItem(int index, const QString& text)
{
    if (index < 1 || index > topLevelItemCount() + 1) {
        throw ControlError(controlErr::IndexOutOfBounds, QStringLiteral("Index out of bounds"));
    }
    auto* item = new ListItem(this);
    prepare(item);
    item->setText(0, text);
    insertTopLevelItem(index - 1, item);
    return *item;
}

void ListView::RemoveItem(int index)
{
    if (index < 1 || index > topLevelItemCount()) {
        throw ControlError(controlErr::IndexOutOfBounds, QStringLiteral("Index out of bounds"));
    }
    delete takeTopLevelItem(index - 1);
}

void ListView::ClearItems()
{
    clear();
}

ListItem& ListView::Item(int index) const
{
    if (index < 1 || index > topLevelItemCount()) {
        throw ControlError(controlErr::IndexOutOfBounds, QStringLiteral("Index out of bounds"));
    }
    return *static_cast<ListItem*>(topLevelItem(index - 1));
}

ListItem* ListView::SelectedItem() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : static_cast<ListItem*>(selected.first());
}

void ListView::setSelectedItem(ListItem* item)
{
    if (item) {
        setCurrentItem(item);
        item->setSelected(true);
    } else {
        clearSelection();
    }
}

void ListView::setCheckboxes(bool on)
{
    m_checkboxes = on;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = topLevelItem(i);
        item->setFlags(on ? item->flags() | Qt::ItemIsUserCheckable : item->flags() & ~Qt::ItemIsUserCheckable);
        if (on) {
            item->setCheckState(0, item->checkState(0));
        } else {
            item->setData(0, Qt::CheckStateRole, QVariant());
        }
    }
}

void ListView::setBackColor(OleColor color)
{
    m_backColor = color;
    QPalette p = palette();
    p.setColor(QPalette::Base, toQColor(color));
    setPalette(p);
}

void ListView::setForeColor(OleColor color)
{
    m_foreColor = color;
    QPalette p = palette();
    p.setColor(QPalette::Text, toQColor(color));
    setPalette(p);
}

void ListView::keyPressEvent(QKeyEvent* event)
{
    QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    QTreeWidgetItem* after = currentItem();
    if (after != before) {
        if (auto* listItem = dynamic_cast<ListItem*>(after)) {
            emit ItemClick(listItem);
        }
    }
}

} // namespace platform::ui
