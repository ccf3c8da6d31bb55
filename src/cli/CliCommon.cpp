#include "CliCommon.h"

#include "core/NewGradebook.h"
#include "core/NumberText.h"
#include "core/Security.h"
#include "grading/Refresh.h"
#include "storage/GradebookFile.h"
#include "storage/LibraryFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <utility>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace cli {

namespace {

const QString HelpText = uR"(Usage: quillmark-cli COMMAND ARGUMENTS [OPTIONS]

Reads and writes Quillmark gradebooks (.GRD) from the command line.

Commands:
  show FILE          print the table of grades: one row a line, cells separated by TAB
  stats FILE         print the count, mean, median, standard deviation, highest and lowest
                     of the Total and of every test, ignored and empty scores left out
  export FILE OUT    write the table of grades to OUT as delimited text
  import IN OUT      build a gradebook from the delimited text IN and save it as OUT
  convert IN OUT     save the gradebook IN, of any file version, as version 1.05s
  print FILE OUT     print the table of grades, or a block of it, to the PDF file OUT
  report FILE OUT    print a report of each student, a page each, to the PDF file OUT
  drop-lowest IN OUT leave out each student's lowest scores (--count N of them) as "Ignore
                     grade" does, choosing the ones whose leaving out raises the total most,
                     and save as OUT; prints a line (student, test, score) per dropped score
  curve IN OUT       move every counted score of --test NAME by --add P, --multiply F or
                     --top-to-max, and save as OUT; prints a line (student, before, after)
                     per changed score

Options:
  --mode MODE          grades as numbers, letters or percent (show, stats, export, print,
                       report)
  --password PW        the gradebook's password, to see protected names and notes, and to
                       change protected scores and rules (show, stats, export, print, report,
                       drop-lowest, curve)
  --selection R1,C1,R2,C2
                       print only student rows R1 ... R2 and columns C1 ... C2, where row 1
                       is the first student, column 1 the Total and column 2 the first test
                       (print)
  --student ROW|all    the student of table row ROW, or every student (report; all by default)
  --count N            scores to drop per student, 1 to 10 (drop-lowest)
  --group NAME         drop only among the tests of the importance group NAME (drop-lowest)
  --test NAME          the test to curve (curve)
  --add P, --multiply F, --top-to-max
                       add P points, multiply by F, or scale the best score to the maximum
                       (curve)
  --no-cap             let curved scores pass the maximum score (curve)
  --library-dir DIR    read scales.dat and importan.dat from DIR (every command)
  --no-test-names      no row of test names (export, import)
  --no-student-names   no column of student names (export, import)
  --grades             a grade after every score (export)
  --separator SEP      tab, comma, space or semicolon; tab by default (export, import)
  --delimiter DELIM    quote, apostrophe or none; quote by default (export, import)
  -h, --help           show this help
  -v, --version        show the version

Output is UTF-8; files are written as the program writes them (Windows-1252, CR LF).
Exit status: 0 on success; 1 when a file cannot be read or written or the gradebook's
protection refuses; 2 when the command line is wrong.

Examples:
  quillmark-cli drop-lowest CLASS.GRD DROPPED.GRD --count 1 --group Quizzes
      drops each student's quiz whose leaving out helps the total most, never a total that
      would fall, and never the last counted quiz
  quillmark-cli curve CLASS.GRD CURVED.GRD --test "Exam 1" --top-to-max
      scales Exam 1 so that its best score becomes the test's maximum score
)"_s;

const QString UsageHint =
    u"Usage: quillmark-cli show|stats|export|import|convert|print|report|drop-lowest|curve "
    u"ARGUMENTS [OPTIONS]\n"
    u"Try 'quillmark-cli --help' for more information.\n"_s;

struct Command {
    QString name;
    QStringList arguments; // as named in messages
    QStringList options;   // long names of the options the command takes
};

const std::vector<Command>& commands() {
    static const std::vector<Command> list = {
        {u"show"_s, {u"FILE"_s}, {u"mode"_s, u"password"_s, u"library-dir"_s}},
        {u"stats"_s, {u"FILE"_s}, {u"mode"_s, u"password"_s, u"library-dir"_s}},
        {u"export"_s,
         {u"FILE"_s, u"OUT"_s},
         {u"mode"_s, u"password"_s, u"library-dir"_s, u"no-test-names"_s, u"no-student-names"_s,
          u"grades"_s, u"separator"_s, u"delimiter"_s}},
        {u"import"_s,
         {u"IN"_s, u"OUT"_s},
         {u"library-dir"_s, u"no-test-names"_s, u"no-student-names"_s, u"separator"_s,
          u"delimiter"_s}},
        {u"convert"_s, {u"IN"_s, u"OUT"_s}, {u"library-dir"_s}},
        {u"print"_s,
         {u"FILE"_s, u"OUT"_s},
         {u"selection"_s, u"mode"_s, u"password"_s, u"library-dir"_s}},
        {u"report"_s,
         {u"FILE"_s, u"OUT"_s},
         {u"student"_s, u"mode"_s, u"password"_s, u"library-dir"_s}},
        {u"drop-lowest"_s,
         {u"IN"_s, u"OUT"_s},
         {u"count"_s, u"group"_s, u"password"_s, u"library-dir"_s}},
        {u"curve"_s,
         {u"IN"_s, u"OUT"_s},
         {u"test"_s, u"add"_s, u"multiply"_s, u"top-to-max"_s, u"no-cap"_s, u"password"_s,
          u"library-dir"_s}},
    };
    return list;
}

// The meaning of an option's word, or nothing for a word it does not know.
template <typename T>
std::optional<T> choose(const QString& word, std::initializer_list<std::pair<QString, T>> table) {
    for (const auto& [key, value] : table)
        if (word == key) return value;
    return std::nullopt;
}

// "R1,C1,R2,C2" as a block with R1 <= R2 and C1 <= C2; nothing when it is not that.
std::optional<CellBlock> readSelection(const QString& text) {
    const QStringList parts = text.split(u',');
    if (parts.size() != 4) return std::nullopt;
    int n[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        n[i] = parts[i].trimmed().toInt(&ok);
        if (!ok) return std::nullopt;
    }
    if (n[0] > n[2] || n[1] > n[3]) return std::nullopt;
    return CellBlock{n[0], n[1], n[2], n[3]};
}

// The password step of Open, answered from the command line: names hidden by HideNames come
// back only with the right password.
// --password answered as the window's password question is: the right one unlocks, a wrong one
// is said to be wrong. Whether the gradebook is open after it.
bool answerPassword(Gradebook& book, const std::optional<QString>& password) {
    if (!AccessNeeded(book, AnyRule)) return true;
    if (password && *password == book.security().password) {
        Unlock(book);
        return true;
    }
    if (password) report(u"Password Incorrect"_s);
    return false;
}

void authorize(Gradebook& book, const std::optional<QString>& password) {
    if (!answerPassword(book, password)) {
        report(u"Authorization was not verified.\nCertain restrictions will apply!"_s);
        return;
    }
    RestoreNames(book);
}

} // namespace

void put(FILE* stream, QStringView text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

void report(const QString& message) {
    put(stderr, message + u'\n');
}

int usageError(const QString& message) {
    put(stderr, message + u'\n' + UsageHint);
    return ExitUsage;
}

void setApplicationNames() {
    QCoreApplication::setOrganizationName(u"Quillmark"_s);
    QCoreApplication::setApplicationName(u"Quillmark"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));
}

std::optional<int> parseRequest(Request& request) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption version(QStringList{u"v"_s, u"version"_s});
    const QCommandLineOption mode(u"mode"_s, QString(), u"MODE"_s);
    const QCommandLineOption password(u"password"_s, QString(), u"PW"_s);
    const QCommandLineOption libraryDir(u"library-dir"_s, QString(), u"DIR"_s);
    const QCommandLineOption noTestNames(u"no-test-names"_s);
    const QCommandLineOption noStudentNames(u"no-student-names"_s);
    const QCommandLineOption grades(u"grades"_s);
    const QCommandLineOption separator(u"separator"_s, QString(), u"SEP"_s);
    const QCommandLineOption delimiter(u"delimiter"_s, QString(), u"DELIM"_s);
    const QCommandLineOption selection(u"selection"_s, QString(), u"R1,C1,R2,C2"_s);
    const QCommandLineOption student(u"student"_s, QString(), u"ROW"_s);
    const QCommandLineOption count(u"count"_s, QString(), u"N"_s);
    const QCommandLineOption group(u"group"_s, QString(), u"NAME"_s);
    const QCommandLineOption test(u"test"_s, QString(), u"NAME"_s);
    const QCommandLineOption add(u"add"_s, QString(), u"P"_s);
    const QCommandLineOption multiply(u"multiply"_s, QString(), u"F"_s);
    const QCommandLineOption topToMax(u"top-to-max"_s);
    const QCommandLineOption noCap(u"no-cap"_s);
    parser.addOptions({count, group, test, add, multiply, topToMax, noCap});
    parser.addOptions({help, version, mode, password, libraryDir, noTestNames, noStudentNames,
                       grades, separator, delimiter, selection, student});

    if (!parser.parse(QCoreApplication::arguments())) return usageError(parser.errorText());
    if (parser.isSet(help)) {
        put(stdout, HelpText);
        return ExitSuccess;
    }
    if (parser.isSet(version)) {
        put(stdout, u"quillmark-cli "_s + QCoreApplication::applicationVersion() + u'\n');
        return ExitSuccess;
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) return usageError(u"No command given."_s);
    const QString name = positional.takeFirst();
    const Command* command = nullptr;
    for (const Command& c : commands())
        if (c.name == name) command = &c;
    if (!command) return usageError(u"Unknown command: "_s + name);
    if (positional.size() < command->arguments.size())
        return usageError(name + u" needs "_s + command->arguments.join(u' ') + u'.');
    if (positional.size() > command->arguments.size())
        return usageError(u"Too many arguments for "_s + name + u": "_s +
                          positional.mid(command->arguments.size()).join(u' '));
    for (const QString& option : parser.optionNames()) {
        const QString longName = option == u"h"_s   ? u"help"_s
                                 : option == u"v"_s ? u"version"_s
                                                    : option;
        if (!command->options.contains(longName))
            return usageError(u"--"_s + longName + u" does not apply to "_s + name + u'.');
    }

    request.arguments = positional;
    request.libraryDir = parser.value(libraryDir);
    if (parser.isSet(password)) request.password = parser.value(password);
    if (parser.isSet(mode)) {
        request.mode =
            choose<DisplayMode>(parser.value(mode), {{u"numbers"_s, DisplayMode::Numbers},
                                                     {u"letters"_s, DisplayMode::Letters},
                                                     {u"percent"_s, DisplayMode::PercentOfMax}});
        if (!request.mode)
            return usageError(u"--mode must be numbers, letters or percent, not "_s +
                              parser.value(mode) + u'.');
    }
    request.text.testNamesRow = !parser.isSet(noTestNames);
    request.text.studentNamesColumn = !parser.isSet(noStudentNames);
    request.text.includeGrades = parser.isSet(grades);
    if (parser.isSet(separator)) {
        const auto text = choose<QString>(parser.value(separator), {{u"tab"_s, u"{TAB}"_s},
                                                                    {u"comma"_s, u","_s},
                                                                    {u"space"_s, u"{SPACE}"_s},
                                                                    {u"semicolon"_s, u";"_s}});
        if (!text)
            return usageError(u"--separator must be tab, comma, space or semicolon, not "_s +
                              parser.value(separator) + u'.');
        request.text.separatorText = *text;
    }
    if (parser.isSet(delimiter)) {
        const auto text = choose<QString>(
            parser.value(delimiter),
            {{u"quote"_s, u"\""_s}, {u"apostrophe"_s, u"'"_s}, {u"none"_s, u"{NONE}"_s}});
        if (!text)
            return usageError(u"--delimiter must be quote, apostrophe or none, not "_s +
                              parser.value(delimiter) + u'.');
        request.text.delimiterText = *text;
    }

    if (parser.isSet(selection)) {
        request.selection = readSelection(parser.value(selection));
        if (!request.selection)
            return usageError(
                u"--selection must be R1,C1,R2,C2 with R1 <= R2 and C1 <= C2, not "_s +
                parser.value(selection) + u'.');
    }
    if (parser.isSet(student) && parser.value(student) != u"all"_s) {
        bool ok = false;
        request.student = parser.value(student).toInt(&ok);
        if (!ok || request.student < 1)
            return usageError(u"--student must be a row from 1, or all, not "_s +
                              parser.value(student) + u'.');
    }

    if (name == u"drop-lowest"_s) {
        bool ok = false;
        request.drop.count = parser.value(count).toInt(&ok);
        if (!ok || request.drop.count < 1 || request.drop.count > 10)
            return usageError(u"drop-lowest needs --count N with N from 1 to 10."_s);
        if (parser.isSet(group)) request.groupName = parser.value(group);
    }
    if (name == u"curve"_s) {
        const int ways =
            int(parser.isSet(add)) + int(parser.isSet(multiply)) + int(parser.isSet(topToMax));
        if (!parser.isSet(test) || ways != 1)
            return usageError(
                u"curve needs --test NAME and one of --add P, --multiply F, --top-to-max."_s);
        request.testName = parser.value(test);
        request.curve.capAtMax = !parser.isSet(noCap);
        request.curve.kind = parser.isSet(add)        ? CurveKind::Add
                             : parser.isSet(multiply) ? CurveKind::Multiply
                                                      : CurveKind::TopToMax;
        if (!parser.isSet(topToMax)) {
            const QString amount = parser.value(parser.isSet(add) ? add : multiply);
            if (!IsNumberText(amount))
                return usageError(u"--add and --multiply take a number, not "_s + amount + u'.');
            request.curve.amount = ReadLeadingNumber(amount);
        }
    }

    request.command = name;
    return std::nullopt;
}

bool paints(const QString& command) {
    return command == u"print"_s || command == u"report"_s;
}

QString commandWord(int argc, char* argv[]) {
    const QStringList takeValues = {u"--mode"_s,      u"--password"_s,  u"--library-dir"_s,
                                    u"--separator"_s, u"--delimiter"_s, u"--selection"_s,
                                    u"--student"_s,   u"--count"_s,     u"--group"_s,
                                    u"--test"_s,      u"--add"_s,       u"--multiply"_s};
    for (int i = 1; i < argc; ++i) {
        const QString word = QString::fromLocal8Bit(argv[i]);
        if (!word.startsWith(u'-')) return word;
        if (takeValues.contains(word)) ++i;
    }
    return {};
}

Libraries readLibraries(const QString& dir) {
    Libraries libs;
    // A library that cannot be read leaves empty entries, as at the program's start.
    for (const QString& message : ReadLibraries(libs, dir))
        report(message);
    return libs;
}

bool readGradebook(Gradebook& book, const Libraries& libs, const QString& path) {
    ResetToNew(book, libs);
    book.setFileName(path);
    const Result read = ReadGradebookFile(book, path);
    if (!read) report(read.message());
    return read.ok();
}

void refresh(Gradebook& book) {
    const Result sorted = Refresh(book, 1);
    if (!sorted) report(sorted.message());
}

bool openForChanging(Gradebook& book, const Request& request, int rule) {
    if (!readGradebook(book, readLibraries(request.libraryDir), request.arguments[0])) return false;
    answerPassword(book, request.password);
    if (AccessNeeded(book, rule)) {
        report(u"The gradebook is protected: "_s + request.command + u" needs its --password."_s);
        return false;
    }
    refresh(book); // as the window shows a gradebook it opens
    return true;
}

bool openForViewing(Gradebook& book, const Request& request) {
    const Libraries libs = readLibraries(request.libraryDir);
    if (!readGradebook(book, libs, request.arguments[0])) return false;
    HideNames(book);
    authorize(book, request.password);
    if (request.mode) {
        // The window refuses a display-mode change while grading rules are locked.
        if (AccessNeeded(book, ChangeGradingRules)) {
            report(u"The gradebook's grading rules are protected: --mode needs its --password."_s);
            return false;
        }
        book.view().displayMode = *request.mode;
    }
    refresh(book);
    return true;
}

bool save(const Gradebook& book, const QString& path) {
    const Result written = WriteGradebookFile(book, path);
    if (!written) report(written.message());
    return written.ok();
}

} // namespace cli
