#pragma once

// Helpers shared by the test programs: sample scales and libraries, classes, files as bytes.
#include "core/Gradebook.h"
#include "core/Libraries.h"
#include "core/NewGradebook.h"
#include "core/TestCommands.h"

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTest>

#include <sys/resource.h>

namespace TestSupport {

// The columns the last data function declared; its test function runs next, row by row.
inline QList<const char*>& ColumnNames() {
    static QList<const char*> names;
    return names;
}

// Declares a data table's columns, one type a name: Columns<int, QString>("rule", "names").
template <class... T, class... Names> void Columns(Names... names) {
    static_assert(sizeof...(T) == sizeof...(Names));
    ColumnNames() = {names...};
    (QTest::addColumn<T>(names), ...);
}

// Declares a data table's columns; called with a row's name and values, adds the row:
// const Table<int, QString> row("rule", "names"); row("by name", 1, u"Ann"_s);
template <class... T> struct Table {
    template <class... Names> explicit Table(Names... names) { Columns<T...>(names...); }
    void operator()(const char* tag, const T&... values) const {
        (QTest::newRow(tag) << ... << values);
    }
};

// The current row's first values, in the columns' order, for a structured binding:
// const auto [rule, names] = Fetch<int, QString>();
template <class... T> std::tuple<T...> Fetch() {
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return std::tuple<T...>{
            *static_cast<T*>(QTest::qData(ColumnNames().at(qsizetype(I)), qMetaTypeId<T>()))...};
    }
    (std::index_sequence_for<T...>{});
}

// F 0 / D 1 / C 2 / B 3 / A 4 with top scores 59, 69, 79, 89, 100.
inline GradeScale LetterScale(const QString& name = QStringLiteral("Letters")) {
    GradeScale s;
    s.name = name;
    const char16_t* grades[] = {u"F", u"D", u"C", u"B", u"A"};
    const float tops[] = {59, 69, 79, 89, 100};
    for (int i = 0; i < 5; ++i)
        s.steps[std::size_t(i)] = {FixedText<Limits::GradeWidth>(grades[i]), float(i), tops[i]};
    s.count = 5;
    return s;
}

// An importance set of named groups with their shares.
inline ImportanceSet GroupSet(std::initializer_list<std::pair<const char16_t*, float>> groups,
                              const QString& name = QStringLiteral("Groups")) {
    ImportanceSet s;
    s.name = name;
    for (const auto& [group, percent] : groups)
        s.steps[std::size_t(s.count++)] = {FixedText<Limits::GradeWidth>(group), 0, percent};
    return s;
}

// Letter scales as library entries 0 and 1, and one group "All" of 100 %.
inline Libraries LetterLibraries() {
    Libraries libs;
    libs.scales = {LetterScale(QStringLiteral("Letters")), LetterScale(QStringLiteral("Totals"))};
    libs.importanceSets = {GroupSet({{u"All", 100}}, QStringLiteral("All"))};
    libs.scaleCount = 2;
    libs.importanceCount = 1;
    return libs;
}

// Appends `n` blank tests dated `date`.
inline void AddTests(Gradebook& book, int n, const Libraries& libs = {},
                     QDate date = QDate(2026, 9, 1)) {
    for (int i = 0; i < n; ++i) {
        int col = book.columnCount();
        AddBlankTest(book, col, libs, date);
    }
}

// `book` made a new gradebook from `libs`, as New and Open do, with `tests` blank tests.
inline Gradebook& NewClass(Gradebook& book, const Libraries& libs = LetterLibraries(),
                           int tests = 0) {
    ResetToNew(book, libs);
    AddTests(book, tests, libs);
    return book;
}

// The texts of a table row, or of a column's student rows.
inline QStringList Row(const Gradebook& book, int row) {
    QStringList cells;
    for (int c = 0; c < book.columnCount(); ++c)
        cells << book.GetCellText(row, c);
    return cells;
}
inline QStringList Column(const Gradebook& book, int col) {
    QStringList cells;
    for (int r = 1; r < book.rowCount(); ++r)
        cells << book.GetCellText(r, col);
    return cells;
}

// A list written as its items joined by "|".
inline QStringList Items(const QString& joined) {
    return joined.split(u'|');
}

// Whether `message` is `prefix` followed by the system's description of the failure.
inline bool FailsWith(const QString& message, const QString& prefix) {
    return message.startsWith(prefix) && message.size() > prefix.size();
}

inline QString DataFile(const QString& name) {
    return QStringLiteral(QUILLMARK_TEST_DATA) + u'/' + name;
}

inline QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool Store(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Whether PDFs can be read back: pdftotext (poppler-utils) is installed.
inline bool CanReadPdfs() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// The text of each page of a PDF, as pdftotext reads it back.
inline QStringList PdfPages(const QString& pdf) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    text.waitForFinished();
    // pdftotext ends each page with a form feed.
    QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(u'\f');
    pages.removeLast();
    return pages;
}

// The files in `dir`: after a failed or interrupted save, the target alone.
inline QStringList Files(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden);
}

// Limits the size of the files this process writes, as a full disk would.
inline void LimitFileSize(rlim_t bytes) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

} // namespace TestSupport
