#include "storage/LibraryFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QString dataFile(const QString& name) {
    return QStringLiteral(QUILLMARK_TEST_DATA) + u'/' + name;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool store(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A library file of `entries` one-step scales named "Scale 1", "Scale 2", ...
QByteArray libraryOf(int entries) {
    QByteArray bytes;
    for (int i = 1; i <= entries; ++i) {
        const QByteArray name = "Scale " + QByteArray::number(i);
        bytes += '"' + name + QByteArray(75 - name.size(), ' ') + "\"\r\n1\r\n";
        bytes += "\"A         \"\r\n" + QByteArray::number(i) + "\r\n100\r\n";
    }
    return bytes;
}

const QString ReadError = u"Error reading parameters! "_s;

} // namespace

class TestLibraryFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void readsScales();
    void readsImportanceSets();
    void entryCounts_data();
    void entryCounts();
    void atMostFiftyEntries_data();
    void atMostFiftyEntries();
    void badFiles_data();
    void badFiles();
    void missingFile();

    void writtenFileReadsBackSame();
    void sampleIsWrittenBackUnchanged();
    void writesOnlyTheCountedEntries();
    void writeIntoMissingFolderFails();

    void readPathPrefersUserCopy();
    void writePathCreatesUserFolder();

private:
    QTemporaryDir m_dir;
};

void TestLibraryFile::initTestCase() {
    QVERIFY(m_dir.isValid());
    QStandardPaths::setTestModeEnabled(true);
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
}

void TestLibraryFile::cleanupTestCase() {
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
}

void TestLibraryFile::readsScales() {
    std::vector<GradeScale> library(2);
    library[0].name = u"stale"_s;
    const LibraryReadResult read = ReadLibraryFile(dataFile(u"scales.dat"_s), library);
    QCOMPARE(read.message, QString());
    QCOMPARE(read.count, 3);
    QCOMPARE(library.size(), std::size_t(6));
    QCOMPARE(library[0].name.text(), u"Letter grades"_s);
    QCOMPARE(library[0].name.raw(), u"Letter grades"_s + QString(62, u' '));
    QCOMPARE(library[0].count, 5);
    QCOMPARE(library[0].steps[3].grade.text(), u"B"_s);
    QCOMPARE(library[0].steps[3].value, 3.0f);
    QCOMPARE(library[0].steps[3].topScore, 89.0f);
    QCOMPARE(library[1].steps[0].topScore, 64.99f);
    QCOMPARE(library[2].name.text(), u"(noname)"_s);
    QCOMPARE(library[2].count, 0);
    QCOMPARE(library[3], GradeScale{});
}

void TestLibraryFile::readsImportanceSets() {
    std::vector<ImportanceSet> library;
    const LibraryReadResult read = ReadLibraryFile(dataFile(u"importan.dat"_s), library);
    QCOMPARE(read.count, 2);
    QCOMPARE(library[0].name.text(), u"Standard"_s);
    QCOMPARE(library[0].count, 3);
    QCOMPARE(library[0].steps[1].name.text(), u"Quizzes"_s);
    QCOMPARE(library[0].steps[1].testCount, 0.0f);
    QCOMPARE(library[0].steps[1].percentOfTotal, 30.0f);
    QCOMPARE(library[1].steps[0].percentOfTotal, 100.0f);
}

void TestLibraryFile::entryCounts_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("size");
    QTest::newRow("seven entries grow the library by 5") << u"lib-seven.dat"_s << 7 << 11;
    QTest::newRow("name and count on one line") << u"lib-one-line.dat"_s << 2 << 6;
    QTest::newRow("empty file") << u"lib-empty.dat"_s << 0 << 6;
}

void TestLibraryFile::entryCounts() {
    QFETCH(QString, file);
    QFETCH(int, count);
    QFETCH(int, size);
    std::vector<GradeScale> library;
    const LibraryReadResult read = ReadLibraryFile(dataFile(file), library);
    QCOMPARE(read.message, QString());
    QCOMPARE(read.count, count);
    QCOMPARE(int(library.size()), size);
    for (int i = 0; i < count; ++i)
        QVERIFY(!library[std::size_t(i)].name.text().isEmpty());
    if (file == u"lib-seven.dat") {
        QCOMPARE(library[5].steps[0].value, 0.5f);
        QCOMPARE(library[6].steps[0].value, -0.25f);
        QCOMPARE(library[6].steps[0].topScore, 100.0f);
    }
}

void TestLibraryFile::atMostFiftyEntries_data() {
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("warned");
    QTest::newRow("49") << 49 << 49 << false;
    QTest::newRow("exactly 50 still warns") << 50 << 50 << true;
    QTest::newRow("51") << 51 << 50 << true;
    QTest::newRow("80") << 80 << 50 << true;
}

void TestLibraryFile::atMostFiftyEntries() {
    QFETCH(int, entries);
    QFETCH(int, count);
    QFETCH(bool, warned);
    const QString path = m_dir.filePath(u"many.dat"_s);
    QVERIFY(store(path, libraryOf(entries)));
    std::vector<GradeScale> library;
    const LibraryReadResult read = ReadLibraryFile(path, library);
    QCOMPARE(read.count, count);
    QCOMPARE(read.message, warned ? u"Warning: Only 50 Entries were loaded!"_s : QString());
    QCOMPARE(library.size(), std::size_t(51)); // 6, then 5 at a time
    QCOMPARE(library[std::size_t(count - 1)].name.text(), u"Scale "_s + QString::number(count));
    QCOMPARE(library[std::size_t(count - 1)].steps[0].value, float(count));
    QCOMPARE(library[50], GradeScale{}); // the 51st entry is never taken
}

void TestLibraryFile::badFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("entriesKept");

    QTest::newRow("count of 27 steps")
        << u"lib-count27.dat"_s << u"Subscript out of range in line 27"_s << 2;
    QTest::newRow("ends inside an entry")
        << u"lib-truncated.dat"_s << u"Input past end of file"_s << 1;
    QTest::newRow("word for a float")
        << u"lib-wrong-kind.dat"_s << u"Type mismatch in line 12"_s << 1;
    QTest::newRow("a gradebook is no library")
        << u"v1.05s.GRD"_s << u"Type mismatch in line 3"_s << 0;
}

void TestLibraryFile::badFiles() {
    QFETCH(QString, file);
    QFETCH(QString, description);
    QFETCH(int, entriesKept);
    std::vector<GradeScale> library;
    const LibraryReadResult read = ReadLibraryFile(dataFile(file), library);
    QCOMPARE(read.count, 0);
    QCOMPARE(read.message, ReadError + description);
    QCOMPARE(library.size(), std::size_t(6));
    for (int i = 0; i < 6; ++i)
        QCOMPARE(library[std::size_t(i)].name.text().isEmpty(), i >= entriesKept);
    if (entriesKept > 0) QCOMPARE(library[0].name.text(), u"Letter grades"_s);
}

void TestLibraryFile::missingFile() {
    std::vector<ImportanceSet> library(12);
    library[0].name = u"old"_s;
    const LibraryReadResult read = ReadLibraryFile(m_dir.filePath(u"importan.dat"_s), library);
    QCOMPARE(read.count, 0);
    QVERIFY2(read.message.startsWith(ReadError), qPrintable(read.message));
    QVERIFY(read.message.size() > ReadError.size()); // the system's description follows
    QCOMPARE(library, std::vector<ImportanceSet>(6));
}

void TestLibraryFile::writtenFileReadsBackSame() {
    std::vector<GradeScale> library(3);
    library[0].name = u"Fractions ½ and é"_s;
    library[0].count = 3;
    const float values[] = {0.5f, -0.25f, 1e7f};
    const float tops[] = {0.001f, 33.3333f, 100};
    for (int k = 0; k < 3; ++k) {
        library[0].steps[std::size_t(k)].grade = u"G"_s + QString::number(k);
        library[0].steps[std::size_t(k)].value = values[k];
        library[0].steps[std::size_t(k)].topScore = tops[k];
    }
    library[1].name = u"Empty"_s; // count 0: the name and 0
    library[2].name = u"Say \"hi\""_s;
    library[2].count = 1;
    library[2].steps[0].grade = u"Q\"1"_s;

    const QString path = m_dir.filePath(u"written.dat"_s);
    QVERIFY(WriteLibraryFile(path, library, 3));
    std::vector<GradeScale> back;
    const LibraryReadResult read = ReadLibraryFile(path, back);
    QCOMPARE(read.count, 3);
    QCOMPARE(read.message, QString());
    QCOMPARE(back[0], library[0]);
    QCOMPARE(back[1], library[1]);
    QCOMPARE(back[2].name.text(), u"Say 'hi'"_s);
    QCOMPARE(back[2].steps[0].grade.text(), u"Q'1"_s);
    QVERIFY(contents(path).contains("\"Empty" + QByteArray(70, ' ') + "\"\r\n0\r\n"));

    const QString again = m_dir.filePath(u"again.dat"_s);
    QVERIFY(WriteLibraryFile(again, back, read.count));
    QCOMPARE(contents(again), contents(path));
}

void TestLibraryFile::sampleIsWrittenBackUnchanged() {
    std::vector<GradeScale> library;
    const LibraryReadResult scales = ReadLibraryFile(dataFile(u"scales.dat"_s), library);
    QVERIFY(WriteLibraryFile(m_dir.filePath(u"scales.dat"_s), library, scales.count));
    QCOMPARE(contents(m_dir.filePath(u"scales.dat"_s)), contents(dataFile(u"scales.dat"_s)));
    std::vector<ImportanceSet> sets;
    const LibraryReadResult read = ReadLibraryFile(dataFile(u"importan.dat"_s), sets);
    const QString path = m_dir.filePath(u"importan.dat"_s);
    QVERIFY(WriteLibraryFile(path, sets, read.count));
    QCOMPARE(contents(path), contents(dataFile(u"importan.dat"_s)));
}

void TestLibraryFile::writesOnlyTheCountedEntries() {
    std::vector<GradeScale> library;
    QCOMPARE(ReadLibraryFile(dataFile(u"lib-seven.dat"_s), library).count, 7);
    const QString path = m_dir.filePath(u"two.dat"_s);
    QVERIFY(WriteLibraryFile(path, library, 2));
    std::vector<GradeScale> back;
    QCOMPARE(ReadLibraryFile(path, back).count, 2);
    QCOMPARE(back[1], library[1]);
    // A count beyond the library writes what there is.
    QVERIFY(WriteLibraryFile(path, library, 99));
    QCOMPARE(ReadLibraryFile(path, back).count, int(library.size()));
}

void TestLibraryFile::writeIntoMissingFolderFails() {
    const QString path = m_dir.filePath(u"none/scales.dat"_s);
    const Result result = WriteLibraryFile(path, std::vector<GradeScale>(1), 1);
    QVERIFY(!result.ok());
    QVERIFY2(result.message().startsWith(u"Error opening "_s + path + u". "_s),
             qPrintable(result.message()));
}

void TestLibraryFile::readPathPrefersUserCopy() {
    const QString name = u"tst-libraryfile-%1.dat"_s.arg(QCoreApplication::applicationPid());
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString beside = programDir.filePath(name);
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString userCopy = QDir(userDir).filePath(name);

    // Nothing anywhere: the installed share folder.
    QCOMPARE(LibraryReadPath(name),
             QDir::cleanPath(programDir.filePath(u"../share/quillmark/"_s + name)));
    QVERIFY(store(beside, "x"));
    QCOMPARE(LibraryReadPath(name), beside);
    QVERIFY(QDir().mkpath(userDir));
    QVERIFY(store(userCopy, "x"));
    QCOMPARE(LibraryReadPath(name), userCopy);
    // A folder given explicitly is used alone, copy or not.
    QCOMPARE(LibraryReadPath(name, m_dir.path()), QDir(m_dir.path()).filePath(name));
    QFile::remove(beside);
    QFile::remove(userCopy);
}

void TestLibraryFile::writePathCreatesUserFolder() {
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir(userDir).removeRecursively();
    const QString path = LibraryWritePath(ScaleLibraryName);
    QCOMPARE(path, QDir(userDir).filePath(u"scales.dat"_s));
    QVERIFY(QFileInfo(userDir).isDir());
    QVERIFY(WriteLibraryFile(path, std::vector<GradeScale>(1), 1));
    QCOMPARE(LibraryReadPath(ScaleLibraryName), path);
}

QTEST_GUILESS_MAIN(TestLibraryFile)
#include "tst_libraryfile.moc"
