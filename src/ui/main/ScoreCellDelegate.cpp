#include "ScoreCellDelegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

using namespace Qt::Literals::StringLiterals;

ScoreCellLayout LayOutScoreCell(const QString& text, const QFontMetrics& metrics,
                                const QRect& rect) {
    const qsizetype paren = text.indexOf(u'(');
    if (paren < 0) return {text, rect, {}, {}};
    ScoreCellLayout parts;
    parts.score = text.left(paren).trimmed();
    parts.grade = text.mid(paren);
    // Grades start after room for a five-character score ("100.5", "92.5%"), or at the right
    // edge when the cell is narrower, but never over the score: a longer one pushes its own
    // grade along.
    const int space = metrics.horizontalAdvance(u' ');
    const int field = metrics.horizontalAdvance(u"00000"_s) + space;
    const int offset =
        std::max(metrics.horizontalAdvance(parts.score) + space,
                 std::min(field, rect.width() - metrics.horizontalAdvance(parts.grade)));
    const int split = std::min(rect.left() + offset, rect.right() + 1);
    parts.scoreRect = QRect(QPoint(rect.left(), rect.top()), QPoint(split - 1, rect.bottom()));
    parts.gradeRect = QRect(QPoint(split, rect.top()), rect.bottomRight());
    return parts;
}

void ScoreCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    if (!opt.text.contains(u'(')) return QStyledItemDelegate::paint(painter, option, index);

    // The background, selection and focus as usual, then the text in its two places.
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QString text = opt.text;
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    opt.text = text;
    // The same inner margin as the style gives a plain cell's text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget)
                           .adjusted(margin, 0, -margin, 0);
    const ScoreCellLayout parts = LayOutScoreCell(text, opt.fontMetrics, area);
    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (opt.state & QStyle::State_Active) ? QPalette::Normal
                                                                            : QPalette::Inactive;
    const QPalette::ColorRole role =
        opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(group, role));
    painter->setClipRect(opt.rect);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    painter->drawText(parts.scoreRect, flags, parts.score);
    painter->drawText(parts.gradeRect, flags, parts.grade);
    painter->restore();
}
