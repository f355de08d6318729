// Lines and files in the old runtime's layout: print zones, quoted fields,
// the item reader, the text of files (code page or UTF-8) and safe whole-file
// writing.
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
        row("project file", decodeText(joinLinesCrLf(file)), "tttnnnntnnnnntnnttnnnnnnnnn",
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

    // A file's text in bytes and back: the code page while every character
    // has a byte there (Latin-1 keeps its bytes, the code page's own
    // characters take 0x80-0x9F), otherwise the whole file in UTF-8.  Bytes
    // from an independent encoder (Python's cp1252 and utf-8 codecs; the five
    // bytes cp1252 leaves undefined stand for their own code).
    void encoding_data() {
        testsupport::columns<QString, QByteArray>("text", "bytes");
        QTest::newRow("Latin-1") << u"Z\u00FCrich, \"\u00B0\" \u00A0\u00FF"_s
                                 << QByteArray("Z\xFCrich, \"\xB0\" \xA0\xFF");
        QTest::newRow("code page") << u"it\u2019s \u2013 5 \u20AC, \u201C\u017D\u201D"_s
                                   << QByteArray("it\x92s \x96 5 \x80, \x93\x8E\x94");
        QTest::newRow("undefined five") << u"\u0081\u008D\u008F\u0090\u009D"_s << QByteArray("\x81\x8D\x8F\x90\x9D");
        QTest::newRow("beyond: Polish, Cyrillic") << u"\u0141\u00F3d\u017A \u041A\u0430\u0440\u0442\u0430"_s
                                                  << QByteArray("\xC5\x81\xC3\xB3" "d\xC5\xBA \xD0\x9A\xD0\xB0\xD1\x80"
                                                                "\xD1\x82\xD0\xB0");
        QTest::newRow("beyond: arrow") << u"R\u00EDo Grande \u2192 N"_s
                                       << QByteArray("R\xC3\xADo Grande \xE2\x86\x92 N");
        QTest::newRow("beyond: outside the basic plane") << u"a\U0001F600b"_s << QByteArray("a\xF0\x9F\x98\x80" "b");
        QTest::newRow("beyond: a control the code page lacks") << u"\u0080"_s << QByteArray("\xC2\x80");
        // Code-page bytes that would read back as UTF-8 (C9 92 is U+0252).
        QTest::newRow("code page that reads as UTF-8") << u"CAF\u00C9\u2019S"_s
                                                       << QByteArray("CAF\xC3\x89\xE2\x80\x99S");
    }
    void encoding() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(encodeText(text), bytes);
        QCOMPARE(decodeText(bytes), text);
    }

    // Files from elsewhere: valid UTF-8 with a multi-byte sequence is UTF-8,
    // anything else the code page.
    void decoding_data() {
        testsupport::columns<QByteArray, QString>("bytes", "text");
        QByteArray high;
        for (int b = 0x80; b < 0xA0; ++b) high += char(b);
        QTest::newRow("0x80-0x9F") << high
                                   << u"\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039"
                                      "\u0152\u008D\u017D\u008F\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014"
                                      "\u02DC\u2122\u0161\u203A\u0153\u009D\u017E\u0178"_s;
        QTest::newRow("UTF-8 and a stray byte") << QByteArray("\xC5\x81 \xE9") << u"\u00C5\u0081 \u00E9"_s;
        QTest::newRow("cut sequence") << QByteArray("caf\xC3") << u"caf\u00C3"_s;
        QTest::newRow("overlong") << QByteArray("\xC0\xAF") << u"\u00C0\u00AF"_s;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << u"\u00ED\u00A0\u20AC"_s;
        QTest::newRow("byte-order mark dropped") << QByteArray("\xEF\xBB\xBF" "Caf\xC3\xA9") << u"Caf\u00E9"_s;
    }
    void decoding() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(decodeText(bytes), text);
    }

    // The choice is the whole file's: one line beyond the code page makes
    // every line UTF-8.
    void fileLines() {
        QCOMPARE(joinLinesCrLf({u"a"_s, QString(), u"\u00E9\u2019"_s}), QByteArray("a\r\n\r\n\xE9\x92\r\n"));
        QCOMPARE(joinLinesCrLf({u"\u00E9"_s, u"\u0141"_s}), QByteArray("\xC3\xA9\r\n\xC5\x81\r\n"));
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
