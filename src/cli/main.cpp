// quillmark-cli: shows, exports, imports, converts and prints gradebooks without the window. Each
// command reads and writes exactly as the program's own commands do.

#include "CliCommon.h"

#include "core/NewGradebook.h"
#include "core/NumberText.h"
#include "core/Security.h"
#include "grading/GradingTools.h"
#include "grading/Sorting.h"
#include "grading/Statistics.h"
#include "storage/TextExchange.h"

#include <QCoreApplication>
#include <QFile>

#include <csignal>
#include <string>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace cli;

namespace {

int runShow(const Request& request) {
    Gradebook book;
    if (!openForViewing(book, request)) return ExitFailure;
    // Built as one standard string: QString's own append is slow for small pieces.
    std::u16string table;
    for (int r = 0; r < book.rowCount(); ++r) {
        for (int c = 0; c < book.columnCount(); ++c) {
            if (c > 0) table += u'\t';
            const QString& cell = book.cell(r, c);
            table.append(QStringView(cell).utf16(), std::size_t(cell.size()));
        }
        table += u'\n';
    }
    put(stdout, QStringView(table));
    return ExitSuccess;
}

int runStats(const Request& request) {
    Gradebook book;
    if (!openForViewing(book, request)) return ExitFailure;
    QString lines = u"Test\tScores\tMean\tMedian\tStd. dev.\tHighest\tLowest\n"_s;
    for (int c = 1; c < book.columnCount(); ++c) {
        const ScoreStatistics s = ColumnStatistics(book, c);
        lines += book.GetCellText(0, c) + u'\t' + QString::number(s.count);
        for (const double figure : {s.mean, s.median, s.deviation, s.highest, s.lowest})
            lines += u'\t' + (s.count > 0 ? FormatTwoDecimals(figure) : QString());
        lines += u'\n';
    }
    put(stdout, lines);
    return ExitSuccess;
}

int runExport(const Request& request) {
    Gradebook book;
    if (!openForViewing(book, request)) return ExitFailure;
    const Result exported = ExportText(book, request.arguments[1], request.text);
    if (!exported) report(exported.message());
    return exported ? ExitSuccess : ExitFailure;
}

int runImport(const Request& request) {
    const Libraries libs = readLibraries(request.libraryDir);
    Gradebook book;
    ResetToNew(book, libs);
    const Result imported = ImportText(book, request.arguments[0], request.text, libs);
    if (!imported) {
        report(imported.message());
        return ExitFailure; // a partly imported class is not saved
    }
    // What Refresh adds to the import's own recalculation of every cell is its sorting.
    const Result sorted = SortStudents(book, 1);
    if (!sorted) report(sorted.message());
    SortTests(book);
    return save(book, request.arguments[1]) ? ExitSuccess : ExitFailure;
}

int runConvert(const Request& request) {
    const Libraries libs = readLibraries(request.libraryDir);
    Gradebook book;
    // No names are hidden: the file is written with the data it holds.
    if (!readGradebook(book, libs, request.arguments[0])) return ExitFailure;
    refresh(book);
    return save(book, request.arguments[1]) ? ExitSuccess : ExitFailure;
}

// A student as the table shows them to whoever may not see the names.
QString shownName(const Gradebook& book, int row) {
    return AccessNeeded(book, AccessNames) ? book.StudentOf(row).id.text().trimmed()
                                           : book.GetCellText(row, 0);
}

int runDropLowest(const Request& request) {
    Gradebook book;
    if (!openForChanging(book, request, ChangeGradingRules)) return ExitFailure;
    DropOptions options = request.drop;
    if (!request.groupName.isEmpty()) {
        const ImportanceSet& groups = book.importanceSet();
        for (int g = 0; g < groups.used(); ++g)
            if (groups.steps[std::size_t(g)].name.text().trimmed() == request.groupName.trimmed())
                options.group = g;
        if (!options.group) {
            report(u"The gradebook has no importance group named "_s + request.groupName + u'.');
            return ExitFailure;
        }
    }
    const std::vector<StudentDrops> plan = PlanDropLowest(book, options);
    ApplyDrops(book, plan);
    QString lines;
    for (const StudentDrops& student : plan)
        for (const DroppedScore& d : student.drops)
            lines += shownName(book, student.row) + u'\t' + book.GetCellText(0, d.col) + u'\t' +
                     d.score + u'\n';
    put(stdout, lines);
    refresh(book);
    return save(book, request.arguments[1]) ? ExitSuccess : ExitFailure;
}

int runCurve(const Request& request) {
    Gradebook book;
    if (!openForChanging(book, request, EditScores)) return ExitFailure;
    int col = -1;
    for (int c = book.columnCount() - 1; c >= 2; --c)
        if (book.GetCellText(0, c).trimmed() == request.testName.trimmed()) col = c;
    if (col < 0) {
        report(u"The gradebook has no test named "_s + request.testName + u'.');
        return ExitFailure;
    }
    const std::vector<CurvedScore> plan = PlanCurve(book, col, request.curve);
    ApplyCurve(book, col, plan);
    QString lines;
    for (const CurvedScore& s : plan)
        lines += shownName(book, s.row) + u'\t' + s.before + u'\t' + s.after + u'\n';
    put(stdout, lines);
    refresh(book);
    return save(book, request.arguments[1]) ? ExitSuccess : ExitFailure;
}

// Printing needs Qt's graphical library, whose loading would slow down every other command by
// more than the work of a small one; the print commands run in quillmark-pdf instead, which is
// built beside this program and installed in the libexec folder.
int runPrinter(char* argv[]) {
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& path :
         {dir + u"/quillmark-pdf"_s,
          dir + u"/"_s + QStringLiteral(QUILLMARK_LIBEXEC_DIR) + u"/quillmark-pdf"_s}) {
        const QByteArray file = QFile::encodeName(path);
        ::execv(file.constData(), argv); // comes back only when it cannot start
    }
    report(u"Cannot print: quillmark-pdf was not found beside quillmark-cli."_s);
    return ExitFailure;
}

} // namespace

int main(int argc, char* argv[]) {
    // A file-size limit then fails the write, reported as a full disk is, instead of killing us.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    if (paints(commandWord(argc, argv))) return runPrinter(argv);
    setApplicationNames();
    Request request;
    if (const auto exit = parseRequest(request)) return *exit;
    const QString& name = request.command;
    if (name == u"show"_s) return runShow(request);
    if (name == u"stats"_s) return runStats(request);
    if (name == u"export"_s) return runExport(request);
    if (name == u"import"_s) return runImport(request);
    if (name == u"drop-lowest"_s) return runDropLowest(request);
    if (name == u"curve"_s) return runCurve(request);
    return runConvert(request);
}
