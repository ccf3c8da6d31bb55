#include "StudentReportPrinter.h"
#include "PrintFailure.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// Score and maximum are numbers, read best aligned on the right.
bool alignedRight(int column) {
    return column == 2 || column == 3;
}

class ReportPainter {
public:
    ReportPainter(QPainter& painter, QPagedPaintDevice& device, const QFont& font,
                  const QDate& printed)
        : m_p(painter), m_device(device), m_body(font, &device), m_bold(m_body), m_title(m_body),
          m_printed(QLocale::system().toString(printed, QLocale::LongFormat)) {
        m_bold.setBold(true);
        m_title.setBold(true);
        m_title.setPointSizeF(m_body.pointSizeF() * 1.6);
        const QFontMetrics metrics(m_body, &device);
        m_line = metrics.height() + std::max(1, metrics.height() / 4);
        m_gap = QFontMetrics(m_body, &device).horizontalAdvance(u"  "_s);
        m_pen = std::max(1, int(std::lround(device.logicalDpiX() / 600.0)));
    }

    // Prints one report from the top of the current page; false when a new page failed.
    bool print(const StudentReport& report) {
        const std::vector<int> widths = columnWidths(report);
        std::size_t next = 0;
        bool continued = false;
        do {
            if (m_started && !m_device.newPage()) return false;
            m_started = true;
            int y = heading(report, continued);
            y = tableRow(ReportHeadings(), widths, y, m_bold);
            rule(y, 2 * m_pen);
            // The last test keeps room below it for the total and the note's first lines; a
            // page takes at least one test, whatever its size.
            const std::size_t first = next;
            while (next < report.tests.size()) {
                const bool last = next + 1 == report.tests.size();
                if (next > first && y + m_line + (last ? 5 * m_line : 0) > m_device.height()) break;
                y = tableRow(report.tests[next++], widths, y, m_body);
            }
            if (next < report.tests.size()) {
                continued = true;
                continue;
            }
            rule(y, 2 * m_pen);
            y = tableRow(report.total, widths, y, m_bold);
            note(report.note, y + m_line);
            break;
        } while (true);
        return true;
    }

private:
    int heading(const StudentReport& report, bool continued) {
        const int width = m_device.width();
        m_p.setFont(m_title);
        const QFontMetrics title(m_title, &m_device);
        m_p.drawText(0, title.ascent(), u"Student Report"_s);
        int y = title.height() + m_line / 2;
        m_p.setFont(m_body);
        const QFontMetrics body(m_body, &m_device);
        const int dateWidth = body.horizontalAdvance(m_printed);
        m_p.drawText(0, y + body.ascent(),
                     body.elidedText(u"Class: "_s + report.className, Qt::ElideRight,
                                     width - dateWidth - m_gap));
        m_p.drawText(width - dateWidth, y + body.ascent(), m_printed);
        y += m_line;
        rule(y, m_pen);
        y += m_line / 2;
        m_p.setFont(m_bold);
        const QString who =
            u"Student: "_s + report.student + (continued ? u" (continued)"_s : u""_s);
        m_p.drawText(0, y + body.ascent(), body.elidedText(who, Qt::ElideRight, width));
        return y + 2 * m_line;
    }

    std::vector<int> columnWidths(const StudentReport& report) const {
        const QFontMetrics bold(m_bold, &m_device);
        std::vector<int> widths;
        const QStringList headings = ReportHeadings();
        for (int c = 0; c < headings.size(); ++c) {
            int widest = bold.horizontalAdvance(headings[c]);
            widest = std::max(widest, bold.horizontalAdvance(report.total.value(c)));
            for (const QStringList& row : report.tests)
                widest = std::max(widest, bold.horizontalAdvance(row.value(c)));
            widths.push_back(widest + m_gap);
        }
        // The test names take the width the other columns leave, and give way when the page is
        // too narrow for all of them.
        int others = 0;
        for (std::size_t c = 1; c < widths.size(); ++c)
            others += widths[c];
        widths[0] = std::max(m_device.width() - others, m_gap);
        return widths;
    }

    int tableRow(const QStringList& cells, const std::vector<int>& widths, int y,
                 const QFont& font) {
        m_p.setFont(font);
        const QFontMetrics metrics(font, &m_device);
        int x = 0;
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const int room = int(widths[c]) - m_gap;
            QString text = cells.value(int(c));
            if (metrics.horizontalAdvance(text) > room)
                text = metrics.elidedText(text, Qt::ElideRight, room);
            const int shift = alignedRight(int(c)) ? room - metrics.horizontalAdvance(text) : 0;
            m_p.drawText(x + shift, y + (m_line - metrics.height()) / 2 + metrics.ascent(), text);
            x += widths[c];
        }
        y += m_line;
        rule(y, m_pen);
        return y;
    }

    void rule(int y, int width) {
        m_p.setPen(QPen(Qt::black, width));
        m_p.drawLine(0, y, m_device.width(), y);
    }

    void note(const QString& text, int y) {
        if (text.isEmpty()) return;
        m_p.setFont(m_bold);
        m_p.drawText(0, y + QFontMetrics(m_bold, &m_device).ascent(), u"Note"_s);
        m_p.setFont(m_body);
        const QRect room(0, y + m_line, m_device.width(),
                         std::max(0, m_device.height() - y - m_line));
        m_p.drawText(room, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
    }

    QPainter& m_p;
    QPagedPaintDevice& m_device;
    QFont m_body, m_bold, m_title;
    QString m_printed;
    int m_line = 0;
    int m_gap = 0;
    int m_pen = 1;
    bool m_started = false;
};

} // namespace

Result PrintStudentReports(QPagedPaintDevice& device, const QFont& font,
                           const std::vector<StudentReport>& reports, const QDate& printed) {
    QPainter painter;
    if (!painter.begin(&device)) return PrintFailure(u"the print job could not be started."_s);
    ReportPainter pages(painter, device, font, printed);
    Result outcome = Result::success();
    for (const StudentReport& report : reports)
        if (!pages.print(report)) {
            outcome = PrintFailure(u"a new page could not be started."_s);
            break;
        }
    if (!painter.end() && outcome)
        outcome = PrintFailure(u"the print job could not be finished."_s);
    return outcome;
}
