#pragma once

#include <QIcon>
#include <QStyledItemDelegate>

namespace nerubato {

// Fixed row heights as designed, whatever the font's own line height.
class RowHeightDelegate : public QStyledItemDelegate
{
public:
    RowHeightDelegate(int height, bool icons, QObject *parent)
        : QStyledItemDelegate(parent), m_height(height), m_icons(icons)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(m_height);
        return size;
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!m_icons) {
            option->features &= ~QStyleOptionViewItem::HasDecoration;
            option->icon = QIcon();
        }
    }

private:
    int m_height;
    bool m_icons;
};

} // namespace nerubato
