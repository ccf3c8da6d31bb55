#pragma once

#include "core/Records.h"
#include "grading/SliderColumns.h"

#include <QWidget>

#include <optional>
#include <vector>

// The slider grid of Set Scale and Importance Groups: two rows, a label column ("Grade" over
// "Top %", or "Group" over "% of Total") and one column per scale step or importance group,
// named in row 0 with its top score or share in row 1. A column's width is its band of the
// slider, and the border after each column is its handle: dragging it moves the grade boundary
// (or the group's share) and the numbers follow while dragging; dragging the last one scales
// the whole slider. Left and Right select a column, Home and End the first and the last.
//
// The grid holds the scale or set being edited and keeps it in step with its columns. Lengths
// are in twips (pixels = twips x logical DPI / 1440). Every column is followed by a handle 60
// twips wide, so the grid is 60 twips per column wider than its columns.
class SliderGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int HandleWidth = 60;

    explicit SliderGrid(QWidget* parent = nullptr);

    // Fills the grid from a scale (steps) or an importance set (groups): lays the columns out
    // from the percentages at the slider width, reads them back and makes column 1 current.
    void setScale(const GradeScale& scale);
    void setImportanceSet(const ImportanceSet& set);
    bool editsScale() const { return m_editsScale; }
    const GradeScale& scale() const { return m_scale; }
    const ImportanceSet& importanceSet() const { return m_set; }
    // Renames the scale or set; the columns stay as they are.
    void setListName(const QString& name);
    int count() const;

    // The column whose entry the dialog shows: 1 ... count(); 0 shows none.
    int currentColumn() const { return m_current; }
    void setCurrentColumn(int column);

    // "Scale Geometry". Setting 0 (nothing stored) gives the defaults: a label column that fits
    // its labels, and for the slider the grid's own width, 72 average characters of its font,
    // less the label column. Both are at most MaxSliderWidth, the slider at least
    // MinSliderWidth; setting the slider lays the columns out again from the percentages.
    int labelColumnWidth() const { return m_labelWidth; }
    void setLabelColumnWidth(int twips);
    int sliderWidth() const { return m_columns.sliderWidth; }
    void setSliderWidth(int twips);
    const SliderColumns& columns() const { return m_columns; }

    // Edits at a grid column (1 for the first entry); see SliderColumns.h. Each emits edited()
    // and answers true when it changed something.
    bool insertAt(int column);
    bool deleteAt(int column);
    bool setPercentAt(int column, double percent); // the top score, or the share of the total
    void setValueAt(int column, double value);
    void setNameAt(int column, const QString& text);
    // A drag of the border after `column` (0: the label column's) released when the column is
    // `twips` wide.
    void dragBorder(int column, int twips);

    // The texts as shown; column 0 holds the labels.
    QString cellText(int row, int column) const;
    // The handle after `column` (0: the label column), in the grid's pixels.
    QRect handleRect(int column) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void currentColumnChanged(int column);
    // The entries or the columns changed.
    void edited();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Drag {
        int column;
        int pressX;
        int startWidth;
    };
    // The columns and percentages on screen: the stored ones, or a drag's until it is released.
    // The stored widths are m_columns, recorded after every change.
    struct Shown {
        int labelWidth;
        SliderColumns columns;
        std::vector<float> percents;
    };

    template <typename F> decltype(auto) withList(F&& f) {
        return m_editsScale ? f(m_scale) : f(m_set);
    }
    template <typename F> decltype(auto) withList(F&& f) const {
        return m_editsScale ? f(m_scale) : f(m_set);
    }
    void layOut();
    void changed();
    Shown stored() const;
    Shown shown() const { return m_preview ? *m_preview : stored(); }
    // Where drawing and the mouse find column c: its cell [left, right) and its handle after it.
    struct Span {
        int left, right, handleEnd;
    };
    std::vector<Span> spans() const;
    int columnAt(int x) const;
    int handleAt(int x) const;
    int twipsToPixels(int twips) const;
    int pixelsToTwips(int pixels) const;
    int rowHeight() const;
    int defaultLabelWidth() const;
    int defaultGridWidth() const;
    Shown dragged(int column, int twips) const;

    GradeScale m_scale;
    ImportanceSet m_set;
    bool m_editsScale = true;
    SliderColumns m_columns;
    int m_labelWidth = 0;
    int m_current = 0;
    std::optional<Shown> m_preview;
    std::optional<Drag> m_drag;
};
