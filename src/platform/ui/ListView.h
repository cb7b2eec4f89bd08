#pragma once

#include "platform/ui/Colors.h"

#include <QString>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QVariant>

namespace platform::ui {

class ListView;

// One row of a ListView: its text (first column), sub-items 1, 2, ... (the
// further columns), a tag, bold text, fore colours, a check mark and the
// selection. Colours are 24-bit values with red in the low byte.
class ListItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::setText;

    QString Text() const { return text(0); }
    void setText(const QString& value) { setText(0, value); }
    // Sub-item i (1-based) is column i; an index without a column raises
    // ControlError (InvalidPropertyValue).
    QString SubItems(int index) const;
    void setSubItems(int index, const QString& value);
    QVariant Tag() const { return m_tag; }
    void setTag(const QVariant& tag) { m_tag = tag; }
    // Bold and ForeColor apply to the item's own text; each sub-item has its own fore colour.
    bool Bold() const;
    void setBold(bool bold);
    OleColor ForeColor() const { return m_foreColor; }
    void setForeColor(OleColor color);
    OleColor SubItemForeColor(int index) const;
    void setSubItemForeColor(int index, OleColor color);
    bool Selected() const { return isSelected(); }
    bool Checked() const { return checkState(0) == Qt::Checked; }
    void setChecked(bool checked);
    // 1-based position in the list.
    int Index() const;

private:
    friend class ListView;
    explicit ListItem(ListView* owner);
    void checkSubItem(int index) const;

    ListView* m_view;
    QVariant m_tag;
    OleColor m_foreColor = 0x80000008u;
};

// A list of rows with column headings (the platform's report view): items
// added, inserted, removed and cleared by 1-based position, one selected item,
// optional check boxes, and ItemClick when the user picks an item with the
// mouse or the keyboard.
class ListView : public QTreeWidget
{
    Q_OBJECT

public:
    enum class ColumnAlignment { Left = 0, Right = 1, Center = 2 };

    explicit ListView(QWidget* parent = nullptr);

    // Column headings. The first column is always left aligned, as on the platform.
    int AddColumnHeader(const QString& text, int widthTwips = 1440, ColumnAlignment alignment = ColumnAlignment::Left);
    int ColumnHeaderCount() const { return columnCount(); }
    void ClearColumnHeaders();

    // Items. A position out of range raises ControlError (IndexOutOfBounds).
    ListItem& AddItem(const QString& text);
    ListItem& InsertItem(int index, const QString& text);
    void RemoveItem(int index);
    void ClearItems();
    int ItemCount() const { return topLevelItemCount(); }
    ListItem& Item(int index) const;
    // The selected item, or nullptr.
    ListItem* SelectedItem() const;
    void setSelectedItem(ListItem* item);

    bool Checkboxes() const { return m_checkboxes; }
    void setCheckboxes(bool on);

    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor color);
    OleColor ForeColor() const { return m_foreColor; }
    void setForeColor(OleColor color);

signals:
    void ItemClick(platform::ui::ListItem* item);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class ListItem;
    void prepare(ListItem* item) const;
    Qt::Alignment columnAlignment(int column) const;

    bool m_checkboxes = false;
    OleColor m_backColor = 0x80000005u;
    OleColor m_foreColor = 0x80000008u;
};

} // namespace platform::ui
