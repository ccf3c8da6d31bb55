// quillmark-pdf: the print commands of quillmark-cli, which starts it for them. Kept apart
// because they need Qt's graphical library, which every other command can do without.

#include "CliCommon.h"

#include "output/PrintFailure.h"
#include "output/StudentReportPrinter.h"
#include "output/TablePrinter.h"

#include <QGuiApplication>
#include <QLocale>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>

#include <csignal>
#include <functional>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using namespace cli;

namespace {

// Writes a PDF through `paint`: nothing is left at `path` when printing fails, and a file
// that was there stays as it was.
int writePdf(const QString& path, const QString& title,
             const std::function<Result(QPdfWriter&)>& paint) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        report(ErrorPrinting + path + u": "_s + file.errorString());
        return ExitFailure;
    }
    Result printed = Result::success();
    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setCreator(u"Quillmark"_s);
        const bool letter = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
        writer.setPageLayout(QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4),
                                         QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                         QPageLayout::Millimeter));
        printed = paint(writer);
    }
    if (!printed) {
        report(printed.message());
        return ExitFailure;
    }
    // commit() misses a failure of its own final flush (a full disk, a size limit) and would put
    // a cut-off PDF in place of the old file; flushed here first, a failure cancels the save.
    if (!file.flush() || !file.commit()) {
        report(ErrorPrinting + path + u": "_s + file.errorString());
        file.cancelWriting();
        return ExitFailure;
    }
    return ExitSuccess;
}

// The table's font of a new window.
QFont printFont() {
    QFont font = QGuiApplication::font();
    font.setPointSize(10);
    return font;
}

int runPrint(const Request& request) {
    Gradebook book;
    if (!openForViewing(book, request)) return ExitFailure;
    const CellBlock whole{1, 1, book.rowCount() - 1, book.columnCount() - 1};
    const CellBlock range = request.selection.value_or(whole);
    if (range.top < 1 || range.bottom > whole.bottom || range.left < 1 || range.right > whole.right)
        return usageError(
            u"--selection must lie within rows 1 ... %1 and columns 1 ... %2."_s.arg(whole.bottom)
                .arg(whole.right));
    return writePdf(request.arguments[1], book.fileName(), [&](QPdfWriter& writer) {
        return TablePrinter(book, printFont()).print(writer, range, QDateTime::currentDateTime());
    });
}

int runReport(const Request& request) {
    Gradebook book;
    if (!openForViewing(book, request)) return ExitFailure;
    if (request.student >= book.rowCount())
        return usageError(
            u"--student must be a row from 1 to %1, or all."_s.arg(book.rowCount() - 1));
    std::vector<StudentReport> reports;
    for (int r : request.student > 0 ? std::vector<int>{request.student} : ReportedRows(book))
        reports.push_back(MakeStudentReport(book, r));
    return writePdf(request.arguments[1], book.fileName(), [&](QPdfWriter& writer) {
        return PrintStudentReports(writer, printFont(), reports, QDate::currentDate());
    });
}

} // namespace

int main(int argc, char* argv[]) {
    std::signal(SIGXFSZ, SIG_IGN);
    // Printing needs fonts, which come with a graphical application; the tool never opens a
    // window, so it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Its start may warn about the desktop session (no runtime folder, say), which is no
    // concern of a tool without windows: stderr carries only the tool's own messages.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(previous);
    setApplicationNames();
    Request request;
    if (const auto exit = parseRequest(request)) return *exit;
    if (request.command == u"print"_s) return runPrint(request);
    if (request.command == u"report"_s) return runReport(request);
    return usageError(u"quillmark-pdf only prints; use quillmark-cli for "_s + request.command +
                      u'.');
}
