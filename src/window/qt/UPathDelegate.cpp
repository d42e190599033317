#include "window/qt/UPathDelegate.h"

#include <algorithm>

#include <QFontMetrics>
#include <QStyle>
#include <QWidget>

namespace velmora {

QString ElidedPath(const QString& path, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(path) <= width)
        return path;
    const qsizetype nameAt = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;
    const QString name = path.mid(nameAt);
    const int room = width - metrics.horizontalAdvance(name);
    if (nameAt == 0 || room < metrics.horizontalAdvance(QStringLiteral("\u2026/")))
        return metrics.elidedText(name, Qt::ElideMiddle, width);
    return metrics.elidedText(path.left(nameAt), Qt::ElideMiddle, room) + name;
}

void TPathDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // The style draws the text inside a margin on each side of the cell.
    const QStyle* style = option->widget ? option->widget->style() : nullptr;
    const int margin = style ? style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option->widget) + 1 : 3;
    option->text = ElidedPath(option->text, option->fontMetrics, option->rect.width() - 2 * margin);
}

} // namespace velmora
