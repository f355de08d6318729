// Lines and files in the old runtime's layout: print zones, quoted fields,
// the item reader, Latin-1 text and safe whole-file writing.
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/Legacy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace legacy;

namespace {

// The text padded with blanks to a whole zone of 14 columns.
QString zone(const QString& item) { return item.leftJustified(14, u' '); }

ErrorCode codeOf(const std::function<void()>& f, QString* description = nullptr) {
    try {
        f();
    } catch (const Error& e) {
        if (description) *description = e.description();
        return e.code();
    }
    return ErrorCode::Custom;
}

} // namespace

class LegacyTextTest : public QObject {
    Q_OBJECT
private slots:
    // Line 4 of a linear map in metres: 1200 x 900 pixels, spans 2500 and
    // 2000, scale limits typed as 10 and 25.5.
    void printZoneProjectLine() {
        const QString line = PrintZoneLine()
                                 .number(1200)
                                 .number(900)
                                 .number(2500)
                                 .number(2000)
                                 .text(QStringLiteral("10"))
                                 .text(QStringLiteral("25.5"))
                                 .text(QStringLiteral("Linear Coordinates:Meters"))
                                 .str();
        QCOMPARE(line, zone(" 1200 ") + zone(" 900 ") + zone(" 2500 ") + zone(" 2000 ") + zone("10") +
                           zone("25.5") + "Linear Coordinates:Meters");
        QCOMPARE(line.indexOf(QStringLiteral("Linear")), 84);   // column 85

        FieldReader reader(line + QStringLiteral("\r\n"));
        QCOMPARE(reader.readNumber(), 1200.0);
        QCOMPARE(reader.readNumber(), 900.0);
        QCOMPARE(reader.readNumber(), 2500.0);
        QCOMPARE(reader.readNumber(), 2000.0);
        QCOMPARE(reader.readNumber(), 10.0);
        QCOMPARE(reader.readNumber(), 25.5);
        QCOMPARE(reader.readText(), QStringLiteral("Linear Coordinates:Meters"));
        QVERIFY(reader.atEnd());
    }

    void printZoneDatumRow() {
        const QString line = PrintZoneLine()
                                 .integer(1)
                                 .text(QStringLiteral("2000.0"))
                                 .text(Format(-1000, QStringLiteral("0.0")))
                                 .text(QStringLiteral("12.5"))
                                 .str();
        QCOMPARE(line, zone(" 1 ") + zone("2000.0") + zone("-1000.0") + "12.5");
    }

    // Where the next item starts, by what the line holds before it.
    void printZoneNeverGlues_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("nextStart");
        const QString x = QStringLiteral("X");
        QTest::newRow("empty first item") << PrintZoneLine().text("").text(x).str() << 14;
        QTest::newRow("13 columns") << PrintZoneLine().text(QString(13, u'a')).text(x).str() << 14;
        QTest::newRow("text fills its zone") << PrintZoneLine().text(QString(14, u'a')).text(x).str() << 28;
        QTest::newRow("text one past") << PrintZoneLine().text(QString(15, u'a')).text(x).str() << 28;
        QTest::newRow("second zone filled")
            << PrintZoneLine().text("a").text(QString(14, u'b')).text(x).str() << 42;
        QTest::newRow("number fills its zone") << PrintZoneLine().number(12345670.0f).text(x).str() << 14;
        QTest::newRow("number one past") << PrintZoneLine().number(-12345678.0f).text(x).str() << 28;
        QTest::newRow("negative integer") << PrintZoneLine().integer(-32768).text(x).str() << 14;
    }
    void printZoneNeverGlues() {
        QFETCH(QString, line);
        QFETCH(int, nextStart);
        QCOMPARE(line.lastIndexOf(u'X'), nextStart);
        QCOMPARE(line.at(nextStart - 1), QChar(u' '));
    }

    void printZoneNumbers() {
        QCOMPARE(PrintZoneLine().number(0.5f).str(), QStringLiteral(" .5 "));
        QCOMPARE(PrintZoneLine().number(-0.5f).str(), QStringLiteral("-.5 "));
        QCOMPARE(PrintZoneLine().number(12345670.0f).str(), QStringLiteral(" 1.234567E+07 "));
        QCOMPARE(PrintZoneLine().integer(-7).integer(0).str(), zone("-7 ") + " 0 ");
        QCOMPARE(PrintZoneLine().str(), QString());
    }

    // A whole project file in the layout the opener reads, item by item.
    void projectFileReadsInStep() {
        QStringList lines;
        lines << PrintZoneLine().text("Survey 1").str() << PrintZoneLine().str()
              << PrintZoneLine().text("/maps/area.jpg").str()
              << PrintZoneLine()
                     .number(1200).number(900).number(2500).number(2000)
                     .text("0").text("500").text("Linear Coordinates:Meters").str()
              << PrintZoneLine().number(0).number(0).number(0).number(0).number(1).number(1).str()
              << PrintZoneLine().number(-0.25f).number(10).number(2510).number(5e7f).number(0.001f).number(3).str()
              << PrintZoneLine().str() << PrintZoneLine().text("Structural datum/contour points and contour detail:").str()
              << PrintZoneLine().integer(2).integer(0).integer(25).str() << PrintZoneLine().str()
              << PrintZoneLine().text("Datum").text("Northing").text(" Easting").text("  Z").str()
              << PrintZoneLine().text(QString(54, u'=')).str()
              << PrintZoneLine().integer(1).text("2000.0").text("1000.0").text("12.5").str()
              << PrintZoneLine().integer(2).text("-3.5").text("1E+07").text("-0.0").str();
        FieldReader r(decodeLatin1(joinLinesCrLf(lines)));
        QCOMPARE(r.readText(), QStringLiteral("Survey 1"));
        QCOMPARE(r.readText(), QString());
        QCOMPARE(r.readText(), QStringLiteral("/maps/area.jpg"));
        for (double v : {1200.0, 900.0, 2500.0, 2000.0, 0.0, 500.0}) QCOMPARE(r.readNumber(), v);
        QCOMPARE(r.readText(), QStringLiteral("Linear Coordinates:Meters"));
        for (double v : {0.0, 0.0, 0.0, 0.0, 1.0, 1.0}) QCOMPARE(r.readNumber(), v);
        for (float v : {-0.25f, 10.0f, 2510.0f, 5e7f, 0.001f, 3.0f}) QCOMPARE(float(r.readNumber()), v);
        QCOMPARE(r.readText(), QString());
        QCOMPARE(r.readText().left(1), QStringLiteral("S"));
        QCOMPARE(r.readNumber(), 2.0);
        QCOMPARE(r.readNumber(), 0.0);
        QCOMPARE(r.readNumber(), 25.0);
        QCOMPARE(r.readText(), QString());
        QVERIFY(r.readText().startsWith(QStringLiteral("Datum")));
        QCOMPARE(r.readText(), QString(54, u'='));
        for (double v : {1.0, 2000.0, 1000.0, 12.5, 2.0, -3.5, 1e7, 0.0}) QCOMPARE(r.readNumber(), v);
        QVERIFY(r.atEnd());
        QCOMPARE(codeOf([&] { r.readNumber(); }), ErrorCode::InputPastEnd);
    }

    void quotedFieldLabelLine() {
        const QString line = QuotedFieldLine()
                                 .text(QStringLiteral("Fault, north"))
                                 .number(1.5f)
                                 .number(-0.25f)
                                 .boolean(true)
                                 .number(16711680.0f)
                                 .boolean(false)
                                 .text(QStringLiteral("Arial"))
                                 .integer(12)
                                 .boolean(false)
                                 .boolean(true)
                                 .str();
        QCOMPARE(line, QStringLiteral("\"Fault, north\",1.5,-.25,#TRUE#,1.671168E+07,#FALSE#,\"Arial\",12,#FALSE#,#TRUE#"));

        FieldReader r(line + QStringLiteral("\r\n") + line + QStringLiteral("\r\n"));
        for (int group = 0; group < 2; ++group) {
            QVERIFY(!r.atEnd());
            QCOMPARE(r.readText(), QStringLiteral("Fault, north"));
            QCOMPARE(r.readNumber(), 1.5);
            QCOMPARE(r.readNumber(), -0.25);
            QCOMPARE(r.readBoolean(), true);
            QCOMPARE(r.readNumber(), 16711680.0);
            QCOMPARE(r.readBoolean(), false);
            QCOMPARE(r.readText(), QStringLiteral("Arial"));
            QCOMPARE(r.readNumber(), 12.0);
            QCOMPARE(r.readBoolean(), false);
            QCOMPARE(r.readBoolean(), true);
        }
        QVERIFY(r.atEnd());
    }

    // A quote inside a label's text is written as it is; reading cuts the
    // text there but keeps the other nine items in step.
    void quoteInsideTextKeepsReaderInStep() {
        const QString line = QuotedFieldLine()
                                 .text(QStringLiteral("say \"hi\" now"))
                                 .number(2)
                                 .number(3)
                                 .boolean(true)
                                 .number(255)
                                 .boolean(false)
                                 .text(QStringLiteral("Arial"))
                                 .integer(10)
                                 .boolean(false)
                                 .boolean(false)
                                 .str();
        QCOMPARE(line.left(16), QStringLiteral("\"say \"hi\" now\",2"));
        FieldReader r(line + QStringLiteral("\r\n"));
        QCOMPARE(r.readText(), QStringLiteral("say "));
        QCOMPARE(r.readNumber(), 2.0);
        QCOMPARE(r.readNumber(), 3.0);
        QCOMPARE(r.readBoolean(), true);
        QCOMPARE(r.readNumber(), 255.0);
        QCOMPARE(r.readBoolean(), false);
        QCOMPARE(r.readText(), QStringLiteral("Arial"));
        QCOMPARE(r.readNumber(), 10.0);
        QCOMPARE(r.readBoolean(), false);
        QCOMPARE(r.readBoolean(), false);
        QVERIFY(r.atEnd());
    }

    void readerLineEnds_data() {
        QTest::addColumn<QString>("end");
        QTest::newRow("CR LF") << "\r\n";
        QTest::newRow("LF") << "\n";
        QTest::newRow("CR") << "\r";
    }
    void readerLineEnds() {
        QFETCH(QString, end);
        const QString text = QStringLiteral("Title") + end + end +
                             QStringLiteral("  \"Quoted, text\" junk,1.5,#true#") + end +
                             QStringLiteral(" 12            -3.5 ") + end + end +
                             QStringLiteral(" 7 ") + end + QStringLiteral("  last, line ") + end +
                             QStringLiteral("a,,b") + end + end;
        FieldReader r(text);
        QCOMPARE(r.readText(), QStringLiteral("Title"));
        QCOMPARE(r.readText(), QString());   // an empty line is one empty item
        QCOMPARE(r.readText(), QStringLiteral("Quoted, text"));
        QCOMPARE(r.readNumber(), 1.5);
        QCOMPARE(r.readBoolean(), true);
        QCOMPARE(r.readNumber(), 12.0);
        QCOMPARE(r.readNumber(), -3.5);
        QCOMPARE(r.readNumber(), 7.0);       // a number passes over empty lines
        QCOMPARE(r.readLine(), QStringLiteral("  last, line "));
        QCOMPARE(r.readText(), QStringLiteral("a"));
        QCOMPARE(r.readText(), QString());
        QCOMPARE(r.readText(), QStringLiteral("b"));
        QCOMPARE(r.readText(), QString());   // the last, empty line
        QVERIFY(r.atEnd());
        QString description;
        QCOMPARE(codeOf([&] { r.readText(); }, &description), ErrorCode::InputPastEnd);
        QCOMPARE(description, QStringLiteral("Input past end of file"));
    }

    void readerItems_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("quoted text runs over line ends") << "\"two\r\nlines\",x" << "two\r\nlines" << "x";
        QTest::newRow("unclosed quote runs to the end") << "\"open, text\r\n" << "open, text\r\n" << "";
        QTest::newRow("leading blanks dropped") << "   a b  ,c" << "a b  " << "c";
        QTest::newRow("text ends at line end") << "a b\r\nc" << "a b" << "c";
        QTest::newRow("blank line then text") << "\r\nc" << "" << "c";
    }
    void readerItems() {
        QFETCH(QString, text);
        QFETCH(QString, first);
        QFETCH(QString, second);
        FieldReader r(text);
        QCOMPARE(r.readText(), first);
        if (second.isEmpty()) {
            QVERIFY(r.atEnd());
            QCOMPARE(codeOf([&] { r.readText(); }), ErrorCode::InputPastEnd);
        } else {
            QCOMPARE(r.readText(), second);
        }
    }

    void readerNumbersAreLenient() {
        FieldReader r(QStringLiteral("12abc 1e400 &HFF& \"3.5\",#FALSE# -1 True"));
        QCOMPARE(r.readNumber(), 12.0);
        QCOMPARE(r.readNumber(), 1e40);          // the longest part that a Double holds
        QCOMPARE(r.readNumber(), 255.0);
        QCOMPARE(r.readNumber(), 3.5);
        QCOMPARE(r.readBoolean(), false);
        QCOMPARE(r.readBoolean(), true);         // any non-zero number is True
        QCOMPARE(r.readNumber(), 1.0);
        QVERIFY(r.atEnd());
    }

    void readingPastEnd() {
        QCOMPARE(codeOf([] { FieldReader(QString()).readText(); }), ErrorCode::InputPastEnd);
        QCOMPARE(codeOf([] { FieldReader(QStringLiteral("  \r\n\r\n")).readNumber(); }), ErrorCode::InputPastEnd);
        QCOMPARE(codeOf([] { FieldReader(QStringLiteral("\n")).readBoolean(); }), ErrorCode::InputPastEnd);
        FieldReader r(QStringLiteral("one\rtwo"));
        QCOMPARE(r.readLine(), QStringLiteral("one"));
        QCOMPARE(r.readLine(), QStringLiteral("two"));
        QCOMPARE(codeOf([&] { r.readLine(); }), ErrorCode::InputPastEnd);
        QVERIFY(FieldReader(QStringLiteral(" \r\n \t\n")).atEnd());
    }

    void latin1() {
        QCOMPARE(encodeLatin1(QStringLiteral("Z\u00FCrich \u20AC")), QByteArray("Z\xFCrich ?"));
        QCOMPARE(encodeLatin1(QString::fromUtf8("a\xF0\x9F\x98\x80" "b")), QByteArray("a?b"));
        QCOMPARE(decodeLatin1(QByteArray("caf\xE9")), QStringLiteral("caf\u00E9"));
        QCOMPARE(decodeLatin1(encodeLatin1(QStringLiteral("\u00B0 \u00FF"))), QStringLiteral("\u00B0 \u00FF"));
        QCOMPARE(joinLinesCrLf({QStringLiteral("a"), QString(), QStringLiteral("\u00E9")}),
                 QByteArray("a\r\n\r\n\xE9\r\n"));
        QCOMPARE(joinLinesCrLf({}), QByteArray());
    }

    void splitLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("no line end") << "a" << QStringList{"a"};
        QTest::newRow("final CR LF") << "a\r\n" << QStringList{"a"};
        QTest::newRow("only a line end") << "\r\n" << QStringList{""};
        QTest::newRow("mixed") << "a\rb\nc\r\nd" << QStringList{"a", "b", "c", "d"};
        QTest::newRow("empty lines") << "a\n\nb\r\r\n" << QStringList{"a", "", "b", ""};
        QTest::newRow("LF CR is two ends") << "a\n\rb" << QStringList{"a", "", "b"};
    }
    void splitLines() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(legacy::splitLines(text), lines);
    }

    void writeAndReadFiles() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("map.vlm"));
        writeFileAtomically(path, QByteArray("one\r\n"));
        QCOMPARE(readFileBytes(path), QByteArray("one\r\n"));
        writeFileAtomically(path, QByteArray("two\r\n"));
        QCOMPARE(readFileBytes(path), QByteArray("two\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("map.vlm")});

        QCOMPARE(codeOf([&] { readFileBytes(dir.filePath(QStringLiteral("none.lab"))); }), ErrorCode::FileNotFound);
        const QString missing = dir.filePath(QStringLiteral("no/such/folder/map.vlm"));
        QCOMPARE(codeOf([&] { writeFileAtomically(missing, "x"); }), ErrorCode::PathNotFound);
        QVERIFY(!QFile::exists(missing));
    }

    // A write that fails, at the last flush as well as in the middle, and
    // in any file of a set written together, leaves every old file byte for
    // byte, no temporary, and says why.
    void failedWriteKeepsOldFiles_data() {
        QTest::addColumn<int>("firstSize");
        QTest::addColumn<int>("secondSize");   // 0: the first file alone
        QTest::addColumn<QString>("failing");
        QTest::newRow("failing at the last flush") << 5000 << 0 << "a.vlm";
        QTest::newRow("failing while writing") << (4 << 20) << 0 << "a.vlm";
        QTest::newRow("second of a set failing") << 10 << 5000 << "a.lab";
    }
    void failedWriteKeepsOldFiles() {
        QFETCH(int, firstSize);
        QFETCH(int, secondSize);
        QFETCH(QString, failing);
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("a.vlm")), second = dir.filePath(QStringLiteral("a.lab"));
        writeFilesAtomically({{first, "old project"}, {second, "old labels"}});
        std::vector<FileWrite> set{{first, QByteArray(firstSize, 'x')}};
        if (secondSize) set.push_back({second, QByteArray(secondSize, 'y')});
        QString description;
        {
            testsupport::FileSizeLimit full(1024);
            codeOf([&] { writeFilesAtomically(set); }, &description);
        }
        QCOMPARE(description, QStringLiteral("Cannot write %1: File too large").arg(dir.filePath(failing)));
        QCOMPARE(testsupport::fileBytes(first), QByteArray("old project"));
        QCOMPARE(testsupport::fileBytes(second), QByteArray("old labels"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }
};

VEX_TEST(LegacyTextTest);
#include "LegacyTextTest.moc"
