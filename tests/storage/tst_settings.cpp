#include "storage/Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

// What the table's font gives before the store is read.
AppSettings fontDefaults() {
    AppSettings d;
    d.fontName = u"DejaVu Sans"_s;
    d.fontItalic = true;
    d.fontCharSet = 1;
    d.fontSize = 9.75;
    d.foreColor = 0x123456;
    return d;
}

// Every setting away from its default, so that a value written to the wrong name shows.
AppSettings everyValueSet() {
    AppSettings s;
    s.labelColumnWidth = 1815;
    s.sliderWidth = -240;
    s.mainWidth = 12000;
    s.mainHeight = 9000;
    s.mainLeft = -150;
    s.mainTop = 300;
    s.mainState = 2;
    s.hideControls = true;
    s.fontName = u"Liberation Serif"_s;
    s.fontItalic = false;
    s.fontCharSet = 238;
    s.fontBold = true;
    s.fontStrikethrough = true;
    s.fontUnderline = true;
    s.fontSize = 8.25;
    s.foreColor = 0xFF8000;
    s.recentFiles = {u"/home/ann/Class 7b.GRD"_s, u"/home/ann/physics.grd"_s,
                     u"/srv/grades/Ärger, Jürgen.GRD"_s};
    s.lastFile = u"/home/ann/Class 7b.GRD"_s;
    return s;
}

// The text a setting is saved as again after the store in `dir` was loaded.
QString savedAgain(const QString& dir, const QString& section, const QString& name) {
    QSettings raw(dir + u"/Quillmark.ini"_s, QSettings::IniFormat);
    const AppSettings loaded = LoadSettings(raw, fontDefaults());
    QSettings again(dir + u"/again.ini"_s, QSettings::IniFormat);
    if (!SaveSettings(again, loaded).ok()) return u"(not saved)"_s;
    again.beginGroup(section);
    return again.value(name).toString();
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void init();
    void storeIsPerUserIni();
    void emptyStoreGivesDefaults();
    void storedValueIsRead_data();
    void storedValueIsRead();
    void recentFilesRead_data();
    void recentFilesRead();
    void roundTripOfEveryValue();
    void savedRecentListHoldsFour();
    void partialWritesTouchOnlyTheirValues();
    void unwritableStoreIsReported_data();
    void unwritableStoreIsReported();
    void addRecentFile_data();
    void addRecentFile();

private:
    QString storePath() const { return m_dir->filePath(u"Quillmark.ini"_s); }
    void write(const QString& section, const QString& name, const QString& text) {
        QSettings raw(storePath(), QSettings::IniFormat);
        raw.beginGroup(section);
        raw.setValue(name, text);
    }
    QVariant stored(const QString& section, const QString& name) {
        QSettings raw(storePath(), QSettings::IniFormat);
        raw.beginGroup(section);
        return raw.value(name);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettings::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestSettings::storeIsPerUserIni() {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir->path());
    const auto store = OpenSettingsStore();
    QCOMPARE(store->format(), QSettings::IniFormat);
    QCOMPARE(store->scope(), QSettings::UserScope);
    QCOMPARE(QDir::cleanPath(store->fileName()), m_dir->filePath(u"Quillmark/Quillmark.ini"_s));
}

void TestSettings::emptyStoreGivesDefaults() {
    QSettings store(storePath(), QSettings::IniFormat);
    const AppSettings loaded = LoadSettings(store, fontDefaults());
    QCOMPARE(loaded, fontDefaults());     // no recent files, no last file, controls shown
    QVERIFY(!QFile::exists(storePath())); // reading creates nothing
}

void TestSettings::storedValueIsRead_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("savedAs"); // what the loaded value is saved as again

    const QString geometry = u"Scale Geometry"_s, font = u"Font"_s, file = u"File"_s;
    const QString longPath = u"/"_s + QString(253, u'x');
    auto row = [](const char* tag, const QString& section, const QString& name, const QString& text,
                  const QString& savedAs) {
        QTest::newRow(tag) << section << name << text << savedAs;
    };
    row("Hide Controls True", geometry, u"Hide Controls"_s, u"True"_s, u"True"_s);
    row("Hide Controls padded", geometry, u"Hide Controls"_s, u"  True "_s, u"True"_s);
    row("Hide Controls lower case", geometry, u"Hide Controls"_s, u"true"_s, u"False"_s);
    row("Hide Controls Yes", geometry, u"Hide Controls"_s, u"Yes"_s, u"False"_s);
    row("Italic False over a true default", font, u"Italic"_s, u"False"_s, u"False"_s);

    row("width abc", geometry, u"Main Width"_s, u"abc"_s, u"0"_s);
    row("width 1200x", geometry, u"Main Width"_s, u"1200x"_s, u"1200"_s);
    row("width 20 characters", geometry, u"Main Width"_s, u"00000000000000001200"_s, u"0"_s);
    row("width beyond 32 bits", geometry, u"Main Width"_s, u"1E+30"_s, u"0"_s);
    row("left fraction rounds", geometry, u"Left"_s, u"1814.6"_s, u"1815"_s);
    row("left beyond 16 bits", geometry, u"Left"_s, u"40000"_s, u"0"_s);
    row("state unknown", geometry, u"Main State"_s, u"7"_s, u"0"_s);
    row("size fraction", font, u"Size"_s, u"8.25"_s, u"8.25"_s);
    row("colour negative keeps the font's", font, u"ForeColor"_s, u"-2147483640"_s, u"1193046"_s);
    row("font name too long", font, u"Name"_s, QString(255, u'N'), u"DejaVu Sans"_s);

    row("last file keeps its blanks", file, u"Last File"_s, u"/a b.GRD "_s, u"/a b.GRD "_s);
    row("last file one space means none", file, u"Last File"_s, u" "_s, QString());
    row("last file of 254 characters", file, u"Last File"_s, longPath, longPath);
    row("last file of 300 characters", file, u"Last File"_s, longPath + QString(46, u'x'),
        QString());
}

void TestSettings::storedValueIsRead() {
    QFETCH(QString, section);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, savedAs);
    write(section, name, text);
    QCOMPARE(savedAgain(m_dir->path(), section, name), savedAs);
}

void TestSettings::recentFilesRead_data() {
    QTest::addColumn<QString>("count");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("expected");
    const QStringList six = {u"/a/1.GRD"_s, u"/a/2.GRD"_s, u"/a/3.GRD"_s,
                             u"/a/4.GRD"_s, u"/a/5.GRD"_s, u"/a/6.GRD"_s};
    QTest::newRow("two announced, one stored")
        << u"2"_s << QStringList{u"/a/1.GRD"_s} << QStringList{u"/a/1.GRD"_s, QString()};
    QTest::newRow("six announced, four kept") << u"6"_s << six << six.mid(0, 4);
    QTest::newRow("fewer announced than stored") << u"1"_s << six << QStringList{u"/a/1.GRD"_s};
    QTest::newRow("negative count") << u"-3"_s << six << QStringList();
    QTest::newRow("count not a number") << u"many"_s << six << QStringList();
}

void TestSettings::recentFilesRead() {
    QFETCH(QString, count);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, expected);
    write(u"File"_s, u"Files in menu"_s, count);
    for (int n = 0; n < stored.size(); ++n)
        write(u"File"_s, u"File"_s + QString::number(n + 1), stored[n]);
    QSettings store(storePath(), QSettings::IniFormat);
    QCOMPARE(LoadSettings(store, fontDefaults()).recentFiles, expected);
}

void TestSettings::roundTripOfEveryValue() {
    const AppSettings saved = everyValueSet();
    {
        QSettings store(storePath(), QSettings::IniFormat);
        QVERIFY(SaveSettings(store, saved).ok());
    }
    QSettings store(storePath(), QSettings::IniFormat);
    QCOMPARE(LoadSettings(store, fontDefaults()), saved);

    // Every value is text, numbers and flags included.
    const QString expected[][3] = {
        {u"Scale Geometry"_s, u"Left"_s, u"1815"_s},
        {u"Scale Geometry"_s, u"Hide Controls"_s, u"True"_s},
        {u"Font"_s, u"Italic"_s, u"False"_s},
        {u"Font"_s, u"Size"_s, u"8.25"_s},
        {u"File"_s, u"Files in menu"_s, u"3"_s},
    };
    for (const auto& e : expected) {
        const QVariant v = stored(e[0], e[1]);
        QCOMPARE(v.typeId(), QMetaType::QString);
        QCOMPARE(v.toString(), e[2]);
    }
}

void TestSettings::savedRecentListHoldsFour() {
    AppSettings s = everyValueSet();
    s.recentFiles = {u"/1"_s, u"/2"_s, u"/3"_s, u"/4"_s, u"/5"_s, u"/6"_s};
    {
        QSettings store(storePath(), QSettings::IniFormat);
        QVERIFY(SaveSettings(store, s).ok());
    }
    QCOMPARE(stored(u"File"_s, u"Files in menu"_s).toString(), u"4"_s);
    QVERIFY(!stored(u"File"_s, u"File5"_s).isValid());
    QSettings store(storePath(), QSettings::IniFormat);
    QCOMPARE(LoadSettings(store, {}).recentFiles, s.recentFiles.mid(0, 4));
}

void TestSettings::partialWritesTouchOnlyTheirValues() {
    const AppSettings saved = everyValueSet();
    {
        QSettings store(storePath(), QSettings::IniFormat);
        QVERIFY(SaveSettings(store, saved).ok());
        QVERIFY(SaveScaleGeometry(store, 2000, 3000).ok());
        QVERIFY(SaveFileSection(store, {u"/new.GRD"_s, u"/home/ann/Class 7b.GRD"_s}, u"/new.GRD"_s)
                    .ok());
        QVERIFY(SaveLastFile(store, u" "_s).ok());
    }
    AppSettings expected = saved;
    expected.labelColumnWidth = 2000;
    expected.sliderWidth = 3000;
    expected.recentFiles = {u"/new.GRD"_s, u"/home/ann/Class 7b.GRD"_s};
    expected.lastFile.clear();
    QCOMPARE(stored(u"File"_s, u"Last File"_s).toString(), u" "_s);
    QSettings store(storePath(), QSettings::IniFormat);
    QCOMPARE(LoadSettings(store, fontDefaults()), expected);
}

void TestSettings::unwritableStoreIsReported_data() {
    using Save = std::function<Result(QSettings&)>;
    QTest::addColumn<Save>("save");
    QTest::newRow("exit") << Save([](QSettings& s) { return SaveSettings(s, everyValueSet()); });
    QTest::newRow("scale geometry")
        << Save([](QSettings& s) { return SaveScaleGeometry(s, 1, 2); });
    QTest::newRow("file section") << Save(
        [](QSettings& s) { return SaveFileSection(s, {u"/a.GRD"_s}, u"/a.GRD"_s); });
    QTest::newRow("last file") << Save([](QSettings& s) { return SaveLastFile(s, u" "_s); });
}

void TestSettings::unwritableStoreIsReported() {
    using Save = std::function<Result(QSettings&)>;
    QFETCH(Save, save);
    // A folder that is a plain file cannot hold the store, whoever runs the test.
    QFile blocker(m_dir->filePath(u"not-a-folder"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = m_dir->filePath(u"not-a-folder/Quillmark.ini"_s);
    QSettings store(path, QSettings::IniFormat);
    const Result result = save(store);
    QVERIFY(!result.ok());
    QVERIFY2(result.message().startsWith(u"Error writing settings "_s + path + u". "_s),
             qPrintable(result.message()));
    QVERIFY(result.message().size() > (u"Error writing settings "_s + path + u". "_s).size());
}

void TestSettings::addRecentFile_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("into an empty list") << QStringList() << u"/a.GRD"_s << QStringList{u"/a.GRD"_s};
    QTest::newRow("duplicate moves to the front")
        << QStringList{u"/a"_s, u"/b"_s, u"/c"_s} << u"/c"_s
        << QStringList{u"/c"_s, u"/a"_s, u"/b"_s};
    QTest::newRow("case makes another file") << QStringList{u"/home/A.GRD"_s} << u"/home/a.GRD"_s
                                             << QStringList{u"/home/a.GRD"_s, u"/home/A.GRD"_s};
    QTest::newRow("fifth drops the oldest")
        << QStringList{u"/1"_s, u"/2"_s, u"/3"_s, u"/4"_s} << u"/5"_s
        << QStringList{u"/5"_s, u"/1"_s, u"/2"_s, u"/3"_s};
    QTest::newRow("empty path is not a file")
        << QStringList{u"/a"_s} << QString() << QStringList{u"/a"_s};
}

void TestSettings::addRecentFile() {
    QFETCH(QStringList, before);
    QFETCH(QString, path);
    QFETCH(QStringList, after);
    AddRecentFile(before, path);
    QCOMPARE(before, after);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
