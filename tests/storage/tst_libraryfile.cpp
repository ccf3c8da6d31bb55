#include "TestSupport.h"
#include "grading/Scale.h"
#include "storage/LibraryFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;

namespace {

// Reading `file` and writing what was read to `copy` gives the same bytes.
template <typename Entry> void verifyWrittenBack(const QString& file, const QString& copy) {
    std::vector<Entry> library;
    const LibraryReadResult read = ReadLibraryFile(file, library);
    QVERIFY(WriteLibraryFile(copy, library, read.count));
    QCOMPARE(Contents(copy), Contents(file));
}

QString userDir() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

const QString ReadError = u"Error reading parameters! "_s;

} // namespace

class TestLibraryFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QStandardPaths::setTestModeEnabled(true);
        QDir(userDir()).removeRecursively();
    }
    void cleanupTestCase() { QDir(userDir()).removeRecursively(); }

    void readsSamples() {
        std::vector<GradeScale> scales;
        QCOMPARE(ReadLibraryFile(DataFile(ScaleLibraryName), scales).count, 3);
        QCOMPARE(scales[0], LetterScale(u"Letter grades"_s));
        QCOMPARE(scales[1].steps[0].topScore, 64.99f);
        QCOMPARE(scales[2].name.text() + QString::number(scales[2].count), u"(noname)0"_s);
        std::vector<ImportanceSet> sets;
        QCOMPARE(ReadLibraryFile(DataFile(ImportanceLibraryName), sets).count, 2);
        QCOMPARE(sets[0],
                 GroupSet({{u"Tests", 50}, {u"Quizzes", 30}, {u"Homework", 20}}, u"Standard"_s));
        QCOMPARE(sets[1], GroupSet({{u"Exams", 100}}, u"Exams only"_s));
        // Written back, they are the same bytes.
        verifyWrittenBack<GradeScale>(DataFile(ScaleLibraryName), m_dir.filePath(ScaleLibraryName));
        verifyWrittenBack<ImportanceSet>(DataFile(ImportanceLibraryName),
                                         m_dir.filePath(ImportanceLibraryName));
    }

    void entryCounts_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("kept"); // entries read, which stay after an error too
        QTest::addColumn<int>("size"); // 6, growing by 5
        const auto row = [](const char* tag, const QString& file, int kept,
                            const QString& message = {}, int size = 6) {
            QTest::newRow(tag) << file << message << kept << size;
        };
        row("seven entries", DataFile(u"lib-seven.dat"_s), 7, {}, 11);
        row("name and count on one line", DataFile(u"lib-one-line.dat"_s), 2);
        row("empty file", DataFile(u"lib-empty.dat"_s), 0);
        // The 51st entry is never taken; the warning comes with exactly 50 too, as the reader
        // stops without looking further.
        for (const int n : {49, 50, 51}) {
            std::vector<GradeScale> many;
            for (int i = 1; i <= n; ++i)
                many.push_back(LetterScale(u"Scale %1"_s.arg(i)));
            const QString path = m_dir.filePath(u"%1.dat"_s.arg(n));
            QVERIFY(WriteLibraryFile(path, many, n));
            row(qPrintable(u"%1 entries"_s.arg(n)), path, std::min(n, 50),
                n < 50 ? QString() : u"Warning: Only 50 Entries were loaded!"_s, 51);
        }
        row("count of 27 steps", DataFile(u"lib-count27.dat"_s), 2,
            ReadError + u"Subscript out of range in line 27"_s);
        row("ends inside an entry", DataFile(u"lib-truncated.dat"_s), 1,
            ReadError + u"Input past end of file"_s);
        row("a gradebook is no library", DataFile(u"v1.05s.GRD"_s), 0,
            ReadError + u"Type mismatch in line 3"_s);
    }
    void entryCounts() {
        QFETCH(QString, file);
        QFETCH(QString, message);
        QFETCH(int, kept);
        QFETCH(int, size);
        std::vector<GradeScale> library;
        const LibraryReadResult read = ReadLibraryFile(file, library);
        QCOMPARE(read.count, message.startsWith(ReadError) ? 0 : kept); // none count after an error
        QCOMPARE(read.message, message);
        QCOMPARE(int(library.size()), size);
        for (int i = 0; i < size; ++i)
            QCOMPARE(library[std::size_t(i)].name.text().isEmpty(), i >= kept);
        // A count beyond the library writes what there is.
        const QString copy = m_dir.filePath(u"copy.dat"_s);
        QVERIFY(WriteLibraryFile(copy, library, 99));
        QCOMPARE(ReadLibraryFile(copy, library).count, std::min(size, 50));
    }

    // A library whose file cannot be opened stays in memory as it was, with its count.
    void missingPlacesFail() {
        std::vector<ImportanceSet> library(12);
        library[0].name = u"old"_s;
        const std::vector<ImportanceSet> before = library;
        const LibraryReadResult read = ReadLibraryFile(m_dir.filePath(u"missing.dat"_s), library);
        QCOMPARE(read.count, 0);
        QVERIFY2(FailsWith(read.message, ReadError), qPrintable(read.message));
        QCOMPARE(library, before);
        Libraries libs = LetterLibraries();
        QCOMPARE(ReadLibraries(libs, m_dir.filePath(u"none"_s)).size(), 2);
        QVERIFY(libs.scales == LetterLibraries().scales &&
                libs.importanceSets == LetterLibraries().importanceSets);
        QCOMPARE(QList({libs.scaleCount, libs.importanceCount}), QList({2, 1}));
        const QString noFolder = m_dir.filePath(u"none/importan.dat"_s);
        const QString written = WriteLibraryFile(noFolder, library, 1).message();
        QVERIFY2(FailsWith(written, u"Error opening "_s + noFolder + u". "_s), qPrintable(written));
    }

    void shippedLibrariesRead() {
        Libraries libs;
        QCOMPARE(ReadLibraries(libs, QStringLiteral(QUILLMARK_RESOURCES)), QStringList());
        QCOMPARE(QList({libs.scaleCount, libs.importanceCount}), QList({7, 4}));
        // A new test, out of 100 on the default scale, gives 85 a B.
        const TestRecord test = NewTestRecord(libs, QDate(2026, 9, 1));
        QCOMPARE(test.scale.steps[std::size_t(GradeIndex(test, 85))].grade.text(), u"B"_s);
    }

    void userCopyComesFirst() {
        const QString name = u"tst-libraryfile-%1.dat"_s.arg(QCoreApplication::applicationPid());
        const QDir programDir(QCoreApplication::applicationDirPath());
        const QString beside = programDir.filePath(name), userCopy = QDir(userDir()).filePath(name);
        // Nothing anywhere: the installed share folder.
        QCOMPARE(LibraryReadPath(name),
                 QDir::cleanPath(programDir.filePath(u"../share/quillmark/"_s + name)));
        QVERIFY(Store(beside, "x"));
        QCOMPARE(LibraryReadPath(name), beside);
        // Writing creates the user's folder.
        QCOMPARE(LibraryWritePath(name), userCopy);
        QVERIFY(Store(userCopy, "x"));
        QCOMPARE(LibraryReadPath(name), userCopy);
        // A folder given explicitly is used alone, copy or not.
        QCOMPARE(LibraryReadPath(name, m_dir.path()), QDir(m_dir.path()).filePath(name));
        QCOMPARE(LibraryWritePath(name, m_dir.path()), QDir(m_dir.path()).filePath(name));
        QFile::remove(beside);
    }
};

QTEST_GUILESS_MAIN(TestLibraryFile)
#include "tst_libraryfile.moc"
