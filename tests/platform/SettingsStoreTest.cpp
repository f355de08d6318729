// The settings store: defaults, round trips of awkward texts, persistence to
// the INI file, and write failures reported as errors.
#include "common/TestRegistry.h"
#include "document/Legacy.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void storeLivesInTheUsersConfigFolder() {
        SettingsStore s;
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        QVERIFY(!config.isEmpty());
        QCOMPARE(s.fileName(), config + QStringLiteral("/Ferno/Vexolan.ini"));
    }

    void defaultsComeBackAsText_data() {
        QTest::addColumn<QVariant>("def");
        QTest::addColumn<QString>("text");
        QTest::newRow("text") << QVariant(QStringLiteral("2")) << QStringLiteral("2");
        QTest::newRow("literal") << QVariant("&H000000FF&") << QStringLiteral("&H000000FF&");
        QTest::newRow("empty") << QVariant(QString()) << QString();
        QTest::newRow("integer") << QVariant(11715) << QStringLiteral("11715");
        QTest::newRow("negative") << QVariant(-3) << QStringLiteral("-3");
        QTest::newRow("single") << QVariant(1897.5f) << QStringLiteral("1897.5");
        QTest::newRow("single 7 digits") << QVariant(1234567.8f) << QStringLiteral("1234568");
        QTest::newRow("true") << QVariant(true) << QStringLiteral("True");
        QTest::newRow("false") << QVariant(false) << QStringLiteral("False");
        QTest::newRow("date text") << QVariant(QStringLiteral("12/6/2026")) << QStringLiteral("12/6/2026");
    }
    void defaultsComeBackAsText() {
        QFETCH(QVariant, def);
        QFETCH(QString, text);
        SettingsStore s;
        QCOMPARE(s.ReadSetting(QStringLiteral("Vexolan"), QStringLiteral("NeverWritten"), def), text);
    }

    void writtenTextReadsBackUnchanged_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("number") << QStringLiteral("3240");
        QTest::newRow("empty") << QString();
        QTest::newRow("blanks around") << QStringLiteral("  padded  ");
        QTest::newRow("comma") << QStringLiteral("a,b");
        QTest::newRow("comma blank") << QStringLiteral("12, 34");
        QTest::newRow("windows path") << QStringLiteral("C:\\Maps\\Ferno\\");
        QTest::newRow("unix path") << QStringLiteral("/home/user/Documents/Ferno/Vexolan/");
        QTest::newRow("hex colour") << QStringLiteral("&HFF0000");
        QTest::newRow("at sign") << QStringLiteral("@Variant(junk)");
        QTest::newRow("equals and semicolon") << QStringLiteral("a=b;c");
        QTest::newRow("quotes") << QStringLiteral("say \"hi\"");
        QTest::newRow("line break") << QStringLiteral("one\ntwo");
        QTest::newRow("accents") << QStringLiteral("Zürich Ærø");
        QTest::newRow("section look") << QStringLiteral("[Other]");
    }
    void writtenTextReadsBackUnchanged() {
        QFETCH(QString, value);
        {
            SettingsStore s;
            s.WriteSetting(QStringLiteral("Vexolan"), QStringLiteral("RoundTrip"), value);
            QCOMPARE(s.ReadSetting(QStringLiteral("Vexolan"), QStringLiteral("RoundTrip"), QStringLiteral("x")), value);
        }
        // A store made later (as the next run does) sees the same text.
        SettingsStore later;
        QCOMPARE(later.ReadSetting(QStringLiteral("Vexolan"), QStringLiteral("RoundTrip"), QStringLiteral("x")), value);
    }

    void typedValuesAreWrittenAsTheirText() {
        SettingsStore s;
        s.WriteSetting(QStringLiteral("Vexolan"), QStringLiteral("FastPrint"), true);
        s.WriteSetting(QStringLiteral("Vexolan"), QStringLiteral("ContourColor"), 16711680);
        s.WriteSetting(QStringLiteral("Vexolan"), QStringLiteral("MainLeft"), 1897.5f);
        QCOMPARE(s.ReadSetting(QStringLiteral("Vexolan"), QStringLiteral("FastPrint"), false), QStringLiteral("True"));
        QCOMPARE(s.ReadSetting(QStringLiteral("Vexolan"), QStringLiteral("ContourColor"), 0), QStringLiteral("16711680"));
        QCOMPARE(s.ReadSetting(QStringLiteral("Vexolan"), QStringLiteral("MainLeft"), 0), QStringLiteral("1897.5"));
    }

    void writeReachesTheFileAtOnce() {
        SettingsStore s;
        s.WriteSetting(QStringLiteral("Vexolan"), QStringLiteral("DataPath"), QStringLiteral("/data/maps/"));
        QFile f(s.fileName());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray ini = f.readAll();
        QVERIFY(ini.contains("[Vexolan]"));
        QVERIFY(ini.contains("DataPath=/data/maps/"));
    }

    void sectionsAndKeysAreSeparate() {
        SettingsStore s;
        s.WriteSetting(QStringLiteral("Vexolan"), QStringLiteral("Color"), QStringLiteral("3"));
        s.WriteSetting(QStringLiteral("Other"), QStringLiteral("Color"), QStringLiteral("1"));
        QCOMPARE(s.ReadSetting(QStringLiteral("Vexolan"), QStringLiteral("Color"), QStringLiteral("2")), QStringLiteral("3"));
        QCOMPARE(s.ReadSetting(QStringLiteral("Other"), QStringLiteral("Color"), QStringLiteral("2")), QStringLiteral("1"));
        QCOMPARE(s.ReadSetting(QStringLiteral("Vexolan"), QStringLiteral("Colour"), QStringLiteral("2")), QStringLiteral("2"));
    }

    void failedWriteIsAnError() {
        // Point the store at a folder below a plain file: nothing can be
        // created there, whoever runs the test.
        QTemporaryDir tmp;
        QFile blocker(tmp.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, blocker.fileName() + QStringLiteral("/sub"));
        bool raised = false;
        {
            SettingsStore s;
            try {
                s.WriteSetting(QStringLiteral("Vexolan"), QStringLiteral("MainTop"), QStringLiteral("10"));
            } catch (const legacy::Error& e) {
                raised = true;
                QVERIFY(!e.description().isEmpty());
            }
        }
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config);
        QVERIFY(raised);
        SettingsStore back;
        QCOMPARE(back.fileName(), config + QStringLiteral("/Ferno/Vexolan.ini"));
    }

    void registryReadsAreEmpty() {
        SettingsStore s;
        QCOMPARE(s.ReadRegistryValue(QStringLiteral("HKLM"), QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                                     QStringLiteral("PATH"), QStringLiteral("REG_SZ")),
                 QString());
    }
};
VEX_TEST(SettingsStoreTest);
#include "SettingsStoreTest.moc"
