#include "TestSupport.h"
#include "storage/Settings.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

// The table's font, given before the store is read; the rest are the defaults.
const AppSettings FontDefaults = {
    0,    0, 0,     0,     0,     0,    0,        false, u"DejaVu Sans"_s,
    true, 1, false, false, false, 9.75, 0x123456, {},    {}};

// Every setting away from its default, so that a value written to the wrong name shows, in field
// order: label and slider widths, window size, place and state, hidden controls; the font's
// name, italic, character set, bold, strikethrough, underline, size and colour; the files.
const QStringList SixFiles = {u"/7b.GRD"_s, u"/Zoë, Ä.GRD"_s, u"/3"_s, u"/4"_s, u"/5"_s, u"/6"_s};
const AppSettings EveryValueSet = {
    1815,  -240, 12000, 9000, -150, 300,  2,        true,     u"Liberation Serif"_s,
    false, 238,  true,  true, true, 8.25, 0xFF8000, SixFiles, SixFiles[0]};

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

    // A store in the test's folder; keys are "section/name".
    std::unique_ptr<QSettings> store(const QString& name = u"Quillmark"_s) const {
        return std::make_unique<QSettings>(m_dir->filePath(name + u".ini"_s), QSettings::IniFormat);
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void emptyUserStoreGivesDefaults() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir->path());
        const auto user = OpenSettingsStore();
        QCOMPARE(QDir::cleanPath(user->fileName()), m_dir->filePath(u"Quillmark/Quillmark.ini"_s));
        QCOMPARE(LoadSettings(*user, FontDefaults), FontDefaults); // no files, controls shown
    }

    void storedValueIsRead_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("savedAs"); // what the loaded value is saved as again
        const QString longPath = u"/"_s + QString(253, u'x');
        auto row = [](const char* tag, QStringView key, QStringView text, QStringView savedAs) {
            QTest::newRow(tag) << key.toString() << text.toString() << savedAs.toString();
        };
        row("flag padded", u"Scale Geometry/Hide Controls", u"  True ", u"True");
        row("flag lower case", u"Scale Geometry/Hide Controls", u"true", u"False");
        row("flag False over a true default", u"Font/Italic", u"False", u"False");
        row("number with a tail", u"Scale Geometry/Main Width", u"1200x", u"1200");
        row("number of 20 characters", u"Scale Geometry/Main Width", u"00000000000000001200", u"0");
        row("left fraction rounds", u"Scale Geometry/Left", u"1814.6", u"1815");
        row("left beyond 16 bits", u"Scale Geometry/Left", u"40000", u"0");
        row("state unknown", u"Scale Geometry/Main State", u"7", u"0");
        row("colour negative keeps the font's", u"Font/ForeColor", u"-2147483640",
            QString::number(FontDefaults.foreColor));
        row("font name too long", u"Font/Name", QString(255, u'N'), u"DejaVu Sans");
        row("recent files missing read empty", u"File/Files in menu", u"2", u"2");
        row("recent files negative", u"File/Files in menu", u"-3", u"0");
        row("last file keeps its blanks", u"File/Last File", u"/a b.GRD ", u"/a b.GRD ");
        row("last file one space means none", u"File/Last File", u" ", QString());
        row("last file of 254 characters", u"File/Last File", longPath, longPath);
    }
    void storedValueIsRead() {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QString, savedAs);
        store()->setValue(key, text);
        QVERIFY(SaveSettings(*store(u"again"_s), LoadSettings(*store(), FontDefaults)).ok());
        QCOMPARE(store(u"again"_s)->value(key).toString(), savedAs);
    }

    void roundTripAndPartialWrites() {
        const auto s = store();
        QVERIFY(SaveSettings(*s, EveryValueSet).ok());
        AppSettings expected = EveryValueSet;
        expected.recentFiles.resize(MaxRecentFiles);
        QCOMPARE(LoadSettings(*store(), FontDefaults), expected);
        QVERIFY(!store()->contains(u"File/File5"_s));
        s->setValue(u"File/Files in menu"_s, u"6"_s); // an older store's count: the menu keeps four
        QCOMPARE(LoadSettings(*s, FontDefaults).recentFiles, expected.recentFiles);
        // The writes outside start-up and exit leave the other values; the new count of two
        // leaves out the files stored beyond it.
        QVERIFY(SaveScaleGeometry(*s, 2000, 3000).ok());
        QVERIFY(SaveFileSection(*s, {u"/new.GRD"_s, u"/b.GRD"_s}, u"/new.GRD"_s).ok());
        QVERIFY(SaveLastFile(*s, u" "_s).ok());
        expected.labelColumnWidth = 2000;
        expected.sliderWidth = 3000;
        expected.recentFiles = {u"/new.GRD"_s, u"/b.GRD"_s};
        expected.lastFile.clear();
        QCOMPARE(store()->value(u"File/Last File"_s).toString(), u" "_s);
        QCOMPARE(LoadSettings(*store(), FontDefaults), expected);
    }

    void unwritableStoreIsReported_data() {
        using Save = std::function<Result(QSettings&)>;
        QTest::addColumn<Save>("save");
        QTest::newRow("exit") << Save([](QSettings& s) { return SaveSettings(s, EveryValueSet); });
        QTest::newRow("geometry") << Save([](QSettings& s) { return SaveScaleGeometry(s, 1, 2); });
        QTest::newRow("files") << Save([](QSettings& s) { return SaveFileSection(s, {}, {}); });
        QTest::newRow("last file") << Save([](QSettings& s) { return SaveLastFile(s, u" "_s); });
    }
    void unwritableStoreIsReported() {
        QFETCH(std::function<Result(QSettings&)>, save);
        // A folder that is a plain file cannot hold the store, whoever runs the test.
        QVERIFY(TestSupport::Store(m_dir->filePath(u"not-a-folder"_s), {}));
        const auto unwritable = store(u"not-a-folder/Quillmark"_s);
        const QString message = save(*unwritable).message();
        QVERIFY2(TestSupport::FailsWith(message, u"Error writing settings "_s +
                                                     unwritable->fileName() + u". "_s),
                 qPrintable(message));
    }

    void addRecentFile_data() {
        QTest::addColumn<QString>("before"); // paths joined by spaces
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("after");
        QTest::newRow("duplicate moves to the front") << u"/a /b /c"_s << u"/c"_s << u"/c /a /b"_s;
        QTest::newRow("case makes another file") << u"/A"_s << u"/a"_s << u"/a /A"_s;
        QTest::newRow("fifth drops the oldest") << u"/1 /2 /3 /4"_s << u"/5"_s << u"/5 /1 /2 /3"_s;
        QTest::newRow("empty path is not a file") << u"/a"_s << QString() << u"/a"_s;
    }
    void addRecentFile() {
        QFETCH(QString, before);
        QFETCH(QString, path);
        QFETCH(QString, after);
        QStringList list = before.split(u' ', Qt::SkipEmptyParts);
        AddRecentFile(list, path);
        QCOMPARE(list.join(u' '), after);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
