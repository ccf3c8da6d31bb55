#pragma once

#include <QHeaderView>

// The student-name column, shown as the table's vertical header so that it stays in place
// while the scores scroll. Its width is the name column's width, which the user changes by
// dragging the header's right edge.
class NameHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit NameHeader(QWidget* parent = nullptr);

    void setColumnWidth(int pixels);
    int columnWidth() const { return m_width; }
    QSize sizeHint() const override;

signals:
    void columnWidthDragged(int pixels);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool nearRightEdge(int x) const;

    int m_width = 100;
    bool m_dragging = false;
};
