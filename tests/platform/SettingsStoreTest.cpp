// The settings store: defaults, round trips of awkward texts, persistence to
// the INI file, and write failures reported as errors.
#include "common/PlatformSupport.h"
#include "platform/SettingsStore.h"

#include <QSettings>

class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    // Defaults and written values come back as the text the old program
    // wrote; written text reads back unchanged in a store made later (as the
    // next run does), and is in the file at once.
    void valuesComeBackAsText() {
        const QList<std::pair<QVariant, QString>> values = {
            {"&H000000FF&", "&H000000FF&"}, {11715, "11715"}, {1897.5f, "1897.5"}, {1234567.8f, "1234568"},
            {true, "True"}, {"  padded  ", "  padded  "}, {"12, 34", "12, 34"}, {"C:\\Maps\\", "C:\\Maps\\"},
            {"@Variant(junk)", "@Variant(junk)"}, {"a=b;c", "a=b;c"}, {"one\ntwo", "one\ntwo"}, {"Zürich", "Zürich"}};
        for (const auto& [value, text] : values) {
            QCOMPARE(SettingsStore().ReadSetting("Vexolan", "NeverWritten", value), text);
            SettingsStore().WriteSetting("Vexolan", "Typed", value);
            QCOMPARE(SettingsStore().ReadSetting("Vexolan", "Typed", "x"), text);
        }
        SettingsStore s;
        QCOMPARE(s.fileName(), qEnvironmentVariable("XDG_CONFIG_HOME") + "/Ferno/Vexolan.ini");
        s.WriteSetting("Other", "Typed", "1");
        QVERIFY(testsupport::fileBytes(s.fileName()).contains("[Other]\nTyped=1\n"));
        QCOMPARE(s.ReadSetting("Vexolan", "Typed", "x") + s.ReadSetting("Other", "Typed", "x"), QStringLiteral("Zürich1"));
    }

    void failedWriteIsAnError() {
        // A folder below a plain file: nothing can be made there, whoever runs the test.
        QTemporaryDir tmp;
        QVERIFY(testsupport::writeFile(tmp.filePath("file"), ""));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, tmp.filePath("file/sub"));
        QString error;
        try {
            SettingsStore().WriteSetting("Vexolan", "MainTop", "10");
        } catch (const legacy::Error& e) {
            error = e.description();
        }
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, qEnvironmentVariable("XDG_CONFIG_HOME"));
        QVERIFY(!error.isEmpty());
    }
};
VEX_TEST(SettingsStoreTest);
#include "SettingsStoreTest.moc"
