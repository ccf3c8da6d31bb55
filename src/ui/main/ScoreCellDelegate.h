#pragma once

#include <QRect>
#include <QString>
#include <QStyledItemDelegate>

class QFontMetrics;

// Where the two parts of a score cell are painted: the score on the left, the grade part
// (from its "(" on, with an "x" of an ignored score) starting at one place in every cell, so
// grades line up in a proportional font. A text without a grade part is all score.
struct ScoreCellLayout {
    QString score;
    QRect scoreRect;
    QString grade;
    QRect gradeRect;
};

// Lays out `text` in `rect`: the grade part starts at one place, after room for a score of
// five characters (or at the right edge of a narrower cell), unless the score is longer.
ScoreCellLayout LayOutScoreCell(const QString& text, const QFontMetrics& metrics,
                                const QRect& rect);

// Paints score cells by LayOutScoreCell. The cell's text is left as it is: files, the
// clipboard and exports read it.
class ScoreCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
