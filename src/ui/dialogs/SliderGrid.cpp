#include "SliderGrid.h"

#include "core/NumberText.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QToolTip>

#include <algorithm>

namespace {

// The two modes differ in names only; these let one template serve both.
float percentOf(const ScaleStep& s) {
    return s.topScore;
}
float percentOf(const ImportanceGroup& g) {
    return g.percentOfTotal;
}
QString nameOf(const ScaleStep& s) {
    return s.grade.text();
}
QString nameOf(const ImportanceGroup& g) {
    return g.name.text();
}
bool insertInto(GradeScale& s, SliderColumns& c, int column) {
    return InsertStep(s, c, column);
}
bool insertInto(ImportanceSet& s, SliderColumns& c, int column) {
    return InsertGroup(s, c, column);
}
bool deleteFrom(GradeScale& s, SliderColumns& c, int column) {
    return DeleteStep(s, c, column);
}
bool deleteFrom(ImportanceSet& s, SliderColumns& c, int column) {
    return DeleteGroup(s, c, column);
}
bool setPercentOf(GradeScale& s, SliderColumns& c, int step, double percent) {
    return SetTopScore(s, c, step, percent);
}
bool setPercentOf(ImportanceSet& s, SliderColumns& c, int group, double percent) {
    return SetPercent(s, c, group, percent);
}
void setNameOf(GradeScale& s, int step, const QString& text) {
    SetGrade(s, step, text);
}
void setNameOf(ImportanceSet& s, int group, const QString& text) {
    SetName(s, group, text);
}

template <typename List> std::vector<float> percentsOf(const List& list) {
    std::vector<float> percents;
    for (int i = 0; i < list.used(); ++i)
        percents.push_back(percentOf(list.steps[std::size_t(i)]));
    return percents;
}

// The border after `column` (1 for the first entry) released at `twips`.
template <typename List> void applyDrag(List& list, SliderColumns& columns, int column, int twips) {
    std::vector<int> resized = columns.widths;
    resized[std::size_t(column - 1)] = twips;
    ReadBackColumns(list, columns, resized);
}

constexpr int TextMargin = 2; // pixels on each side of a cell's text

} // namespace

SliderGrid::SliderGrid(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_labelWidth = defaultLabelWidth();
    setSliderWidth(0);
}

void SliderGrid::setScale(const GradeScale& scale) {
    m_scale = scale;
    m_editsScale = true;
    layOut();
}

void SliderGrid::setImportanceSet(const ImportanceSet& set) {
    m_set = set;
    m_editsScale = false;
    layOut();
}

void SliderGrid::setListName(const QString& name) {
    withList([&](auto& list) { list.name = name; });
}

int SliderGrid::count() const {
    return withList([](const auto& list) { return list.used(); });
}

void SliderGrid::setCurrentColumn(int column) {
    column = std::clamp(column, 0, count());
    if (column == m_current) return;
    m_current = column;
    update();
    emit currentColumnChanged(column);
}

void SliderGrid::setLabelColumnWidth(int twips) {
    m_labelWidth =
        twips > 0 ? std::clamp(twips, MinColumnWidth, MaxSliderWidth) : defaultLabelWidth();
    updateGeometry();
    update();
}

void SliderGrid::setSliderWidth(int twips) {
    m_columns.sliderWidth = std::clamp(twips > 0 ? twips : defaultGridWidth() - m_labelWidth,
                                       MinSliderWidth, MaxSliderWidth);
    m_columns = withList([&](const auto& list) { return LayOutColumns(list, sliderWidth()); });
    withList([&](auto& list) { ReadBackColumns(list, m_columns); });
    changed();
}

// FillGrid: the columns from the percentages, the first entry current.
void SliderGrid::layOut() {
    m_drag.reset();
    m_preview.reset();
    m_current = count() > 0 ? 1 : 0;
    setSliderWidth(sliderWidth());
}

bool SliderGrid::insertAt(int column) {
    const bool done = withList([&](auto& list) { return insertInto(list, m_columns, column); });
    if (done) changed();
    return done;
}

bool SliderGrid::deleteAt(int column) {
    const bool done = withList([&](auto& list) { return deleteFrom(list, m_columns, column); });
    if (done) changed();
    return done;
}

bool SliderGrid::setPercentAt(int column, double percent) {
    if (column < 1 || column > count()) return false;
    const bool done =
        withList([&](auto& list) { return setPercentOf(list, m_columns, column - 1, percent); });
    if (done) changed();
    return done;
}

void SliderGrid::setValueAt(int column, double value) {
    if (!m_editsScale || column < 1 || column > count()) return;
    SetValue(m_scale, column - 1, value);
    changed();
}

void SliderGrid::setNameAt(int column, const QString& text) {
    if (column < 1 || column > count()) return;
    withList([&](auto& list) { setNameOf(list, column - 1, text); });
    changed();
}

void SliderGrid::dragBorder(int column, int twips) {
    m_preview.reset();
    if (column == 0)
        m_labelWidth = std::clamp(twips, MinColumnWidth, MaxSliderWidth);
    else if (column >= 1 && column <= count())
        withList([&](auto& list) { applyDrag(list, m_columns, column, twips); });
    changed();
}

// What a drag shows before it is released: the same rules on copies.
SliderGrid::Shown SliderGrid::dragged(int column, int twips) const {
    Shown out = stored();
    if (column == 0) {
        out.labelWidth = std::clamp(twips, MinColumnWidth, MaxSliderWidth);
        return out;
    }
    withList([&](const auto& list) {
        auto copy = list;
        applyDrag(copy, out.columns, column, twips);
        out.percents = percentsOf(copy);
    });
    return out;
}

SliderGrid::Shown SliderGrid::stored() const {
    return {m_labelWidth, m_columns, withList([](const auto& list) { return percentsOf(list); })};
}

void SliderGrid::changed() {
    m_current = std::min(m_current, count());
    updateGeometry();
    update();
    emit edited();
}

QString SliderGrid::cellText(int row, int column) const {
    if (column == 0) {
        if (m_editsScale) return row == 0 ? tr("Grade") : tr("Top %");
        return row == 0 ? tr("Group") : tr("% of Total");
    }
    if (column < 1 || column > count()) return {};
    if (row == 0)
        return withList(
            [&](const auto& list) { return nameOf(list.steps[std::size_t(column - 1)]); });
    const Shown s = shown();
    return FormatWhole(s.percents[std::size_t(column - 1)]);
}

int SliderGrid::twipsToPixels(int twips) const {
    return twips * logicalDpiX() / 1440;
}

int SliderGrid::pixelsToTwips(int pixels) const {
    return pixels * 1440 / logicalDpiX();
}

int SliderGrid::rowHeight() const {
    return fontMetrics().height() + 6;
}

int SliderGrid::defaultLabelWidth() const {
    // Both dialogs keep one "Scale Geometry", so the label column fits the labels of both.
    int widest = 0;
    for (const QString& label : {tr("Grade"), tr("Top %"), tr("Group"), tr("% of Total")})
        widest = std::max(widest, fontMetrics().horizontalAdvance(label));
    return pixelsToTwips(widest + 4 * TextMargin);
}

// Wide enough for a dozen grades at the default font, and growing with a larger one.
int SliderGrid::defaultGridWidth() const {
    return pixelsToTwips(72 * fontMetrics().averageCharWidth());
}

std::vector<SliderGrid::Span> SliderGrid::spans() const {
    const Shown s = shown();
    std::vector<Span> out;
    int twips = 0;
    // Pixels come from the running total of twips, so rounding does not add up along the row.
    const auto add = [&](int width) {
        Span span{twipsToPixels(twips), 0, 0};
        twips += std::max(0, width);
        span.right = twipsToPixels(twips);
        twips += HandleWidth;
        span.handleEnd = twipsToPixels(twips);
        out.push_back(span);
    };
    add(s.labelWidth);
    for (int w : s.columns.widths)
        add(w);
    return out;
}

QRect SliderGrid::handleRect(int column) const {
    const auto all = spans();
    if (column < 0 || column >= int(all.size())) return {};
    const Span& s = all[std::size_t(column)];
    return QRect(s.right, 0, s.handleEnd - s.right, 2 * rowHeight());
}

int SliderGrid::columnAt(int x) const {
    const auto all = spans();
    for (int c = 0; c < int(all.size()); ++c)
        if (x >= all[std::size_t(c)].left && x < all[std::size_t(c)].right) return c;
    return -1;
}

int SliderGrid::handleAt(int x) const {
    const auto all = spans();
    // A pixel to spare on either side, so a thin handle is easy to catch.
    for (int c = 0; c < int(all.size()); ++c)
        if (x >= all[std::size_t(c)].right - 1 && x <= all[std::size_t(c)].handleEnd) return c;
    return -1;
}

QSize SliderGrid::sizeHint() const {
    return QSize(spans().back().handleEnd + 1, 2 * rowHeight() + 1);
}

void SliderGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    const int h = rowHeight();
    const auto all = spans();
    painter.fillRect(rect(), pal.base());
    const QFontMetrics metrics = fontMetrics();
    for (int c = 0; c < int(all.size()); ++c) {
        const Span& s = all[std::size_t(c)];
        const QRect column(s.left, 0, s.right - s.left, 2 * h);
        QColor text = pal.color(QPalette::Text);
        if (c == 0) {
            painter.fillRect(column, pal.button());
            text = pal.color(QPalette::ButtonText);
        } else if (c == m_current) {
            painter.fillRect(column, pal.highlight());
            text = pal.color(QPalette::HighlightedText);
        }
        painter.setPen(text);
        for (int row = 0; row < 2; ++row) {
            const QRect cell =
                QRect(s.left, row * h, s.right - s.left, h).adjusted(TextMargin, 0, -TextMargin, 0);
            const QString shown =
                metrics.elidedText(cellText(row, c), Qt::ElideRight, cell.width());
            painter.drawText(cell, Qt::AlignCenter, shown);
        }
        // A handle is a light strip with a groove; the one held shows in the highlight colour.
        const QRect handle(s.right, 0, s.handleEnd - s.right, 2 * h);
        const bool held = m_drag && m_drag->column == c;
        painter.fillRect(handle, held ? pal.highlight() : pal.button());
        painter.setPen(pal.color(QPalette::Mid));
        painter.drawLine(handle.center().x(), 0, handle.center().x(), 2 * h);
    }
    painter.setPen(pal.color(QPalette::Mid));
    painter.drawLine(0, h, width(), h);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (hasFocus() && m_current >= 1 && m_current < int(all.size())) {
        const Span& s = all[std::size_t(m_current)];
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = QRect(s.left, 0, s.right - s.left, 2 * h);
        option.backgroundColor = pal.color(QPalette::Highlight);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void SliderGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const int x = event->position().toPoint().x();
    if (const int handle = handleAt(x); handle >= 0) {
        const int width = handle == 0 ? m_labelWidth : m_columns.widths[std::size_t(handle - 1)];
        m_drag = Drag{handle, x, width};
        update();
        return;
    }
    if (const int column = columnAt(x); column >= 1) setCurrentColumn(column);
}

void SliderGrid::mouseMoveEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    if (m_drag) {
        m_preview = dragged(m_drag->column, m_drag->startWidth + pixelsToTwips(x - m_drag->pressX));
        updateGeometry();
        update();
        return;
    }
    if (handleAt(x) >= 0)
        setCursor(Qt::SplitHCursor);
    else
        unsetCursor();
}

void SliderGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_drag || event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    const Drag drag = *m_drag;
    m_drag.reset();
    dragBorder(drag.column,
               drag.startWidth + pixelsToTwips(event->position().toPoint().x() - drag.pressX));
}

void SliderGrid::keyPressEvent(QKeyEvent* event) {
    const int n = count();
    switch (event->key()) {
    case Qt::Key_Left:
        if (n > 0) setCurrentColumn(std::max(1, m_current - 1));
        break;
    case Qt::Key_Right:
        if (n > 0) setCurrentColumn(std::min(n, m_current + 1));
        break;
    case Qt::Key_Home:
        if (n > 0) setCurrentColumn(1);
        break;
    case Qt::Key_End:
        setCurrentColumn(n);
        break;
    default:
        return QWidget::keyPressEvent(event);
    }
}

bool SliderGrid::event(QEvent* event) {
    // A column too narrow for its texts tells them in a tool tip.
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int c = columnAt(help->pos().x());
        const auto all = spans();
        if (c >= 1) {
            const int room = all[std::size_t(c)].right - all[std::size_t(c)].left - 2 * TextMargin;
            const QString name = cellText(0, c), percent = cellText(1, c);
            if (fontMetrics().horizontalAdvance(name) > room ||
                fontMetrics().horizontalAdvance(percent) > room) {
                QToolTip::showText(help->globalPos(), name + QStringLiteral(": ") + percent, this);
                return true;
            }
        }
    }
    return QWidget::event(event);
}

void SliderGrid::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) updateGeometry();
    QWidget::changeEvent(event);
}
