// Lines and files in the old runtime's layout: print zones, quoted fields,
// the item reader, Latin-1 text and safe whole-file writing.
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "common/TestTable.h"
#include "document/Legacy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace legacy;
using namespace Qt::StringLiterals;

namespace {

// The error `f` fails with as "code description" ("" when it does not fail).
QString failure(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return QString::number(int(e.code())) + ' ' + e.description();
    }
    return {};
}

// Reads `text` item by item as `kinds` says (t text, n number, b boolean, l
// line): the items with "|" between them, then "end" when nothing is left,
// or the error that stopped the reading.
QString readItems(const QString& text, const QString& kinds) {
    FieldReader r(text);
    QStringList out;
    const QString error = failure([&] {
        for (QChar k : kinds)
            out << (k == u't'   ? r.readText()
                    : k == u'l' ? r.readLine()
                    : k == u'b' ? QString(r.readBoolean() ? "T" : "F")
                                : QString::number(r.readNumber() + 0.0, 'g', 9));
        if (r.atEnd()) out << "end";
    });
    if (!error.isEmpty()) out << error;
    return out.join(u'|');
}

} // namespace

class LegacyTextTest : public QObject {
    Q_OBJECT
private slots:
    void printZones_data() {
        testsupport::columns<QString, QString>("line", "expected");
        QTest::newRow("project line 4")
            << PrintZoneLine().number(1200).number(900).number(2500).number(2000).text("10").text("25.5")
                   .text("Linear Coordinates:Meters").str()
            << " 1200          900           2500          2000         10            25.5          Linear"
               " Coordinates:Meters";
        QTest::newRow("datum row") << PrintZoneLine().integer(1).text("2000.0").text(Format(-1000, "0.0"))
                                          .text("12.5").str()
                                   << " 1            2000.0        -1000.0       12.5";
        QTest::newRow("half") << PrintZoneLine().number(0.5f).str() << " .5 ";
        QTest::newRow("minus half") << PrintZoneLine().number(-0.5f).str() << "-.5 ";
        QTest::newRow("exponent") << PrintZoneLine().number(12345670.0f).str() << " 1.234567E+07 ";
        QTest::newRow("integers") << PrintZoneLine().integer(-7).integer(0).str() << "-7             0 ";
        QTest::newRow("nothing") << PrintZoneLine().str() << "";
        QTest::newRow("label line")
            << QuotedFieldLine().text("Fault, north").number(1.5f).number(-0.25f).boolean(true)
                   .number(16711680.0f).boolean(false).text("Arial").integer(12).boolean(false)
                   .boolean(true).str()
            << "\"Fault, north\",1.5,-.25,#TRUE#,1.671168E+07,#FALSE#,\"Arial\",12,#FALSE#,#TRUE#";
        // A quote inside a label's text is written as it is.
        QTest::newRow("quote in a text")
            << QuotedFieldLine().text("say \"hi\" now").number(2).number(3).boolean(true).number(255)
                   .boolean(false).text("Arial").integer(10).boolean(false).boolean(false).str()
            << "\"say \"hi\" now\",2,3,#TRUE#,255,#FALSE#,\"Arial\",10,#FALSE#,#FALSE#";
    }
    void printZones() {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        QCOMPARE(line, expected);
    }

    // Where the next item starts, by what the line holds before it.
    void printZoneNeverGlues_data() {
        testsupport::columns<QString, int>("line", "nextStart");
        const QString x = QStringLiteral("X");
        QTest::newRow("empty first item") << PrintZoneLine().text("").text(x).str() << 14;
        QTest::newRow("13 columns") << PrintZoneLine().text(QString(13, u'a')).text(x).str() << 14;
        QTest::newRow("text fills its zone") << PrintZoneLine().text(QString(14, u'a')).text(x).str() << 28;
        QTest::newRow("text one past") << PrintZoneLine().text(QString(15, u'a')).text(x).str() << 28;
        QTest::newRow("second zone filled") << PrintZoneLine().text("a").text(QString(14, u'b')).text(x).str()
                                            << 42;
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

    void reader_data() {
        testsupport::columns<QString, QString, QString>("text", "kinds", "read");
        const QString past = "62 Input past end of file";
        const auto row = [](const char* name, const QString& text, const char* kinds, const QString& read) {
            QTest::newRow(name) << text << kinds << read;
        };
        // A whole project file in the layout the opener reads.
        QStringList file;
        file << PrintZoneLine().text("Survey 1").str() << PrintZoneLine().str()
             << PrintZoneLine().text("/maps/area.jpg").str()
             << PrintZoneLine().number(1200).number(900).text("0").text("500").text("Linear").str()
             << PrintZoneLine().number(-0.25f).number(2510).number(5e7f).number(0.001f).number(3).str()
             << PrintZoneLine().text("Structural datum/contour points and contour detail:").str()
             << PrintZoneLine().integer(2).integer(25).str()
             << PrintZoneLine().text("Datum").text("Northing").text(" Easting").text("  Z").str()
             << PrintZoneLine().text(QString(20, u'=')).str()
             << PrintZoneLine().integer(1).text("2000.0").text("1000.0").text("12.5").str()
             << PrintZoneLine().integer(2).text("-3.5").text("1E+07").text("-0.0").str();
        row("project file", decodeLatin1(joinLinesCrLf(file)), "tttnnnntnnnnntnnttnnnnnnnnn",
            "Survey 1||/maps/area.jpg|1200|900|0|500|Linear|-0.25|2510|50000000|0.001|3|Structural"
            " datum/contour points and contour detail:|2|25|Datum         Northing       Easting        Z"
            "|====================|1|2000|1000|12.5|2|-3.5|10000000|0|" + past);
        const QString label = "\"Fault, north\",1.5,-.25,#TRUE#,1.671168E+07,#FALSE#,\"Arial\",12,#FALSE#,"
                              "#TRUE#\r\n",
                      labelRead = "Fault, north|1.5|-0.25|T|16711680|F|Arial|12|F|T|";
        row("label lines", label + label, "tnnbnbtnbbtnnbnbtnbb", labelRead + labelRead + "end");
        // A quote inside a text cuts it there but keeps the other items in step.
        row("quote in a text", "\"say \"hi\" now\",2,3,#TRUE#,255,#FALSE#,\"Arial\",10,#FALSE#,#FALSE#\r\n",
            "tnnbnbtnbb", "say |2|3|T|255|F|Arial|10|F|F|end");
        // An empty line is one empty text; a number passes over empty lines.
        const QString lines = "Title\n\n  \"Quoted, text\" junk,1.5,#true#\n 12            -3.5 \n\n 7 \n"
                              "  last, line \na,,b\n\n";
        for (const auto& [name, end] : {std::pair{"CR LF", "\r\n"}, {"LF", "\n"}, {"CR", "\r"}})
            row(name, QString(lines).replace("\n", end), "tttnbnnnlttttt",
                "Title||Quoted, text|1.5|T|12|-3.5|7|  last, line |a||b||" + past);
        row("quoted text runs over line ends", "\"two\r\nlines\",x", "tt", "two\r\nlines|x|end");
        row("unclosed quote runs to the end", "\"open, text\r\n", "tt", "open, text\r\n|" + past);
        row("leading blanks dropped", "   a b  ,c", "tt", "a b  |c|end");
        row("text ends at line end", "a b\r\nc", "tt", "a b|c|end");
        row("blank line then text", "\r\nc", "tt", "|c|end");
        // The longest part that a Double holds; any non-zero number is True.
        row("lenient numbers", "12abc 1e400 &HFF& \"3.5\",#FALSE# -1 True", "nnnnbbn",
            "12|1e+40|255|3.5|F|T|1|end");
        row("nothing", "", "t", past);
        row("blank lines, number", "  \r\n\r\n", "n", past);
        row("blank lines only", " \r\n \t\n", "", "end");
        row("line end, boolean", "\n", "b", past);
        row("lines", "one\rtwo", "lll", "one|two|" + past);
    }
    void reader() {
        QFETCH(QString, text);
        QFETCH(QString, kinds);
        QFETCH(QString, read);
        QCOMPARE(readItems(text, kinds), read);
    }

    void latin1() {
        QCOMPARE(encodeLatin1(QStringLiteral("Z\u00FCrich \u20AC")), QByteArray("Z\xFCrich ?"));
        QCOMPARE(encodeLatin1(QString::fromUtf8("a\xF0\x9F\x98\x80" "b")), QByteArray("a?b"));
        QCOMPARE(decodeLatin1(QByteArray("caf\xE9")), QStringLiteral("caf\u00E9"));
        QCOMPARE(decodeLatin1(encodeLatin1(u"\u00B0 \u00FF"_s)), u"\u00B0 \u00FF"_s);
        QCOMPARE(joinLinesCrLf({QStringLiteral("a"), QString(), QStringLiteral("\u00E9")}),
                 QByteArray("a\r\n\r\n\xE9\r\n"));
        QCOMPARE(joinLinesCrLf({}), QByteArray());
    }

    void splitLines_data() {
        testsupport::columns<QString, QStringList>("text", "lines");
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
        QCOMPARE(failure([&] { readFileBytes(dir.filePath("none.lab")); }), "53 File not found");
        const QString missing = dir.filePath(QStringLiteral("no/such/folder/map.vlm"));
        QCOMPARE(failure([&] { writeFileAtomically(missing, "x"); }), "76 Path not found");
        QVERIFY(!QFile::exists(missing));
    }

    // A write that fails, at the last flush as well as in the middle, and
    // in any file of a set written together, leaves every old file byte for
    // byte, no temporary, and says why.
    void failedWriteKeepsOldFiles_data() {
        testsupport::columns<int, int, QString>("firstSize", "secondSize", "failing"); // 0: the first alone
        QTest::newRow("failing at the last flush") << 5000 << 0 << "a.vlm";
        QTest::newRow("failing while writing") << (4 << 20) << 0 << "a.vlm";
        QTest::newRow("second of a set failing") << 10 << 5000 << "a.lab";
    }
    void failedWriteKeepsOldFiles() {
        QFETCH(int, firstSize);
        QFETCH(int, secondSize);
        QFETCH(QString, failing);
        QTemporaryDir dir;
        const QString first = dir.filePath("a.vlm"), second = dir.filePath("a.lab");
        writeFilesAtomically({{first, "old project"}, {second, "old labels"}});
        std::vector<FileWrite> set{{first, QByteArray(firstSize, 'x')}};
        if (secondSize) set.push_back({second, QByteArray(secondSize, 'y')});
        QString error;
        {
            testsupport::FileSizeLimit full(1024);
            error = failure([&] { writeFilesAtomically(set); });
        }
        QCOMPARE(error, "1000 Cannot write " + dir.filePath(failing) + ": File too large");
        QCOMPARE(testsupport::fileBytes(first), QByteArray("old project"));
        QCOMPARE(testsupport::fileBytes(second), QByteArray("old labels"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }
};

VEX_TEST(LegacyTextTest);
#include "LegacyTextTest.moc"
