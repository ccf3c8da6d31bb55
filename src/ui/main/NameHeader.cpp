#include "NameHeader.h"

#include <QMouseEvent>

namespace {
constexpr int GripPixels = 4;
constexpr int MinimumWidth = 20;
} // namespace

NameHeader::NameHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
    setMouseTracking(true);
    setSectionResizeMode(QHeaderView::Interactive);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setHighlightSections(true);
}

void NameHeader::setColumnWidth(int pixels) {
    if (pixels == m_width) return;
    m_width = pixels;
    updateGeometry();
}

QSize NameHeader::sizeHint() const {
    return {m_width, QHeaderView::sizeHint().height()};
}

bool NameHeader::nearRightEdge(int x) const {
    return std::abs(x - width()) <= GripPixels;
}

void NameHeader::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && nearRightEdge(int(event->position().x()))) {
        m_dragging = true;
        return;
    }
    QHeaderView::mousePressEvent(event);
}

void NameHeader::mouseMoveEvent(QMouseEvent* event) {
    const int x = int(event->position().x());
    if (m_dragging) {
        emit columnWidthDragged(std::max(x, MinimumWidth));
        return;
    }
    if (nearRightEdge(x))
        viewport()->setCursor(Qt::SplitHCursor);
    else
        viewport()->unsetCursor();
    QHeaderView::mouseMoveEvent(event);
}

void NameHeader::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragging) {
        m_dragging = false;
        return;
    }
    QHeaderView::mouseReleaseEvent(event);
}
