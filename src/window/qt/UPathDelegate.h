// The file list's "File Name" column: a path too long for its column keeps
// the file's own name whole and gives up the middle of its folders instead,
// so rows of dumps from one folder can still be told apart.
#pragma once

#include <QString>
#include <QStyledItemDelegate>

class QFontMetrics;

namespace velmora {

// path shortened to fit width pixels: the folders elided in their middle
// first; the file's name is elided only when it alone does not fit.
QString ElidedPath(const QString& path, const QFontMetrics& metrics, int width);

class TPathDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

} // namespace velmora
