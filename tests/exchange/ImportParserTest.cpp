// Reading column text files: codes, header and record counts, the comma and
// stream modes, and the conversion of degrees into map units.
#include "common/TestRegistry.h"
#include "document/Document.h"
#include "exchange/ImportParser.h"
#include "map/Projections.h"

#include <QTest>

using importer::Record;
using importer::RecordReader;
using importer::TextLines;

Q_DECLARE_METATYPE(Record)

namespace {
bool same(const Record& a, const Record& b) { return a.X == b.X && a.Y == b.Y && a.Z == b.Z; }
QString show(const Record& r) { return QStringLiteral("(%1,%2,%3)").arg(r.X).arg(r.Y).arg(r.Z); }

// A text with a byte-order mark, in UTF-16 of either byte order.
QByteArray utf16(const QString& text, bool littleEndian) {
    QByteArray out = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (QChar c : text) {
        const char lo = char(c.unicode() & 0xFF), hi = char(c.unicode() >> 8);
        out.append(littleEndian ? lo : hi).append(littleEndian ? hi : lo);
    }
    return out;
}

// Every record of a text until the reader is at its end, as "(x,y,z)" with
// "+n" after a record that missed n fields, and the error that ended it.
QString readAll(const QByteArray& bytes, const QString& code, RecordReader::Mode mode, int header = 0) {
    const TextLines lines(bytes);
    RecordReader reader(lines, code, mode);
    QStringList out;
    try {
        if (header > 0) reader.skipLines(header);
        while (!reader.atEnd()) {
            int missing = 0;
            const Record r = reader.read(missing);
            out << show(r) + (missing > 0 ? QStringLiteral("+%1").arg(missing) : QString());
        }
    } catch (const legacy::Error& e) {
        out << e.description();
    }
    return out.join(u' ');
}
} // namespace

class ImportParserTest : public QObject {
    Q_OBJECT
private slots:
    void acceptedCodes() {
        QCOMPARE(importer::acceptedCodes().size(), 24);
        // Every export code reads back as the import code made of it and "0".
        for (const char* e : {"xyz", "yxz", "zxy", "zyx", "xy0", "yx0"})
            QVERIFY2(importer::isAcceptedCode(QLatin1String(e) + u'0'), e);
        // Codes the dialog can build but the import cannot read.
        for (const char* bad : {"", "xy0", "x0y0", "xz00", "yz00", "00xy", "x-y0", "-x-y", "0xy0", "xyzz", "zxy-0",
                                "----", "y0x0", "XY00"})
            QVERIFY2(!importer::isAcceptedCode(QLatin1String(bad)), bad);
    }

    // Every accepted code reads its columns into the right roles, in both
    // modes, with text in the skipped columns.
    void everyCodeInBothModes_data() {
        QTest::addColumn<QString>("code");
        for (const QString& c : importer::acceptedCodes()) QTest::newRow(qPrintable(c)) << c;
    }
    void everyCodeInBothModes() {
        QFETCH(QString, code);
        QStringList fields;
        for (QChar c : code) {
            if (c == u'x') fields << QStringLiteral("1.5");
            else if (c == u'y') fields << QStringLiteral("-2.25");
            else if (c == u'z') fields << QStringLiteral("300");
            else if (c == u'-') fields << QStringLiteral("Well_7");
        }
        const Record expected{1.5f, -2.25f, code.contains(u'z') ? 300.0f : 0.0f};
        const QString comma = fields.join(u',');
        QVERIFY2(same(importer::parseCommaLine(comma, code), expected), qPrintable(comma));
        // Two records in a stream, the second split over two lines.
        const QString stream = fields.join(u'\t') + QStringLiteral("\r\n") + fields.mid(0, 1).join(u' ') +
                               QStringLiteral("\n") + fields.mid(1).join(QStringLiteral("  ")) +
                               QStringLiteral("\n");
        QCOMPARE(readAll(stream.toLatin1(), code, RecordReader::Mode::Stream), show(expected) + u' ' + show(expected));
    }

    void counts_data() {
        QTest::addColumn<QString>("head");
        QTest::addColumn<QString>("last");
        QTest::addColumn<int>("header");
        QTest::addColumn<int>("lines");
        QTest::newRow("header 2, last 10") << "2" << "10" << 2 << 8;
        QTest::newRow("no header") << "0" << "5" << 0 << 5;
        QTest::newRow("empty boxes") << "" << "" << 0 << 0;
        QTest::newRow("last not above header") << "5" << "5" << 5 << 0;
        QTest::newRow("last below header") << "7" << "3" << 7 << 0;
        QTest::newRow("no cap on lines") << "100" << "40100" << 100 << 40000;
        QTest::newRow("half to even down") << "2.5" << "10" << 2 << 8;
        QTest::newRow("half to even up") << "3.5" << "10.5" << 4 << 6;
        QTest::newRow("junk reads as 0") << "abc" << "12 lines" << 0 << 12;
    }
    void counts() {
        QFETCH(QString, head);
        QFETCH(QString, last);
        QFETCH(int, header);
        QFETCH(int, lines);
        const int h = importer::headerLines(head);
        QCOMPARE(h, header);
        QCOMPARE(importer::lineCount(last, h), lines);
    }

    void headerOverflow() {
        QVERIFY_THROWS_EXCEPTION(legacy::Error, importer::headerLines(QStringLiteral("40000")));
    }

    void commaLine_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("line");
        QTest::addColumn<Record>("expected");
        QTest::newRow("short line") << "xyz0" << "1,2" << Record{1, 2, 0};
        QTest::newRow("double comma") << "xyz0" << "1,,2,3" << Record{1, 2, 3};
        QTest::newRow("leading comma") << "xyz0" << ",5,6" << Record{0, 5, 6};
        QTest::newRow("yx order") << "yxz0" << "45.5,-120.25,7" << Record{-120.25f, 45.5f, 7};
        QTest::newRow("last takes rest") << "xy00" << "1,2,3" << Record{1, 2, 0};
        QTest::newRow("xy00 double comma") << "xy00" << "1,,2" << Record{1, 2, 0};
        QTest::newRow("blanks") << "xyz0" << " 1, 2 , 3" << Record{1, 2, 3};
        QTest::newRow("quoted") << "xyz0" << "\"1\",\"2\",\"3\"" << Record{1, 2, 3};
        QTest::newRow("quoted, blanks") << "yxz-" << " \"4.5\" , \"-2\",7,\"x\"" << Record{-2, 4.5f, 7};
        QTest::newRow("quoted last of xy00") << "xy00" << "\"1\",\"2\",\"3\"" << Record{1, 2, 0};
        QTest::newRow("exponent") << "xyz-" << "1E3,-2.5e-1,.5,x" << Record{1000, -0.25f, 0.5f};
    }
    void commaLine() {
        QFETCH(QString, code);
        QFETCH(QString, line);
        QFETCH(Record, expected);
        const Record r = importer::parseCommaLine(line, code);
        QVERIFY2(same(r, expected), qPrintable(show(r) + QStringLiteral(" != ") + show(expected)));
    }

    // Lines as the list and the reading see them, by byte-order mark.
    void lines_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<int>("count");
        QTest::newRow("latin-1, mixed ends") << QByteArray("East North\r\n1 2\n3 4\r5 6\r\n7 \xE9") << "East North|1 2|3 4|5 6|7 \u00E9" << 5;
        QTest::newRow("empty") << QByteArray() << "" << 0;
        QTest::newRow("final line end") << QByteArray("a\r\n") << "a" << 1;
        QTest::newRow("blank lines") << QByteArray("\r\n\n\r") << "||" << 3;
        QTest::newRow("utf-8 mark") << QByteArray("\xEF\xBB\xBFOrt,H\xC3\xB6he\n") << "Ort,H\u00F6he" << 1;
        QTest::newRow("utf-16 le") << utf16(QStringLiteral("a\u00E9\r\nb\rc"), true) << "a\u00E9|b|c" << 3;
        QTest::newRow("utf-16 be") << utf16(QStringLiteral("a\u00E9\r\nb\n"), false) << "a\u00E9|b" << 2;
        QTest::newRow("utf-16, stray byte") << utf16(QStringLiteral("a\r"), true) + 'b' << "a" << 1;
    }
    void lines() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, lines);
        QFETCH(int, count);
        const TextLines t(bytes);
        QStringList got;
        for (int i = 0; i < t.count(); ++i) got << t.line(i);
        QCOMPARE(t.count(), count);
        QCOMPARE(got.join(u'|'), lines);
    }

    void reading_data() {
        QTest::addColumn<bool>("comma");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("header");
        QTest::addColumn<QString>("records");
        const QString xyz = QStringLiteral("xyz0");
        QTest::newRow("comma lines") << true << xyz << QByteArray("head\r\n1,2,3\r4,5,6\n7,8,9\r\n") << 1 << "(1,2,3) (4,5,6) (7,8,9)";
        QTest::newRow("comma blank lines") << true << xyz << QByteArray("1,2,3\r\n\r\n  \r\n\t\r\n4,5,6\r\n\r\n") << 0 << "(1,2,3) (4,5,6)";
        QTest::newRow("comma header past end") << true << xyz << QByteArray("a\nb\n") << 3 << "Input past end of file";
        QTest::newRow("comma utf-8 mark") << true << xyz << QByteArray("\xEF\xBB\xBF" "1,2,3\n") << 0 << "(1,2,3)";
        QTest::newRow("comma utf-16 le") << true << xyz << utf16(QStringLiteral("1,2,3\r\n4,5,6\r\n"), true) << 0 << "(1,2,3) (4,5,6)";
        QTest::newRow("comma quoted") << true << xyz << QByteArray("\"1\",\"2\",\"3\"\r\n") << 0 << "(1,2,3)";
        QTest::newRow("stream spans lines") << false << xyz << QByteArray("1 2\n3\n4\t5 6\n") << 0 << "(1,2,3) (4,5,6)";
        QTest::newRow("stream cut short") << false << xyz << QByteArray("1 2 3 4 5 6 7") << 0 << "(1,2,3) (4,5,6) (7,0,0)+2";
        QTest::newRow("stream quoted names") << false << QStringLiteral("-xyz") << QByteArray("\"Well A\" 10 20 30\r\n\"B, east\",11,21,31\r\n") << 0 << "(10,20,30) (11,21,31)";
        QTest::newRow("stream commas") << false << xyz << QByteArray("1,,3\n4, 5 ,6") << 0 << "(1,0,3) (4,5,6)";
        QTest::newRow("stream blank lines") << false << QStringLiteral("xy00") << QByteArray("1 2\n\n \r\n3 4\n\n") << 0 << "(1,2,0) (3,4,0)";
        QTest::newRow("stream quoted numbers") << false << xyz << QByteArray("\"1\" \"2\" \"3\"") << 0 << "(1,2,3)";
        QTest::newRow("stream utf-16 be") << false << xyz << utf16(QStringLiteral("1 2 3\n4 5 6"), false) << 0 << "(1,2,3) (4,5,6)";
        QTest::newRow("stream text") << false << xyz << QByteArray("1 2 3 abc\n4 5 6\n") << 0 << "(1,2,3) Type mismatch in line 1: \"abc\"";
        QTest::newRow("stream text after header") << false << xyz << QByteArray("X Y Z\n1 2 3\n\n4 5 x6\n") << 1 << "(1,2,3) Type mismatch in line 4: \"x6\"";
        QTest::newRow("stream beyond a single") << false << xyz << QByteArray("1 2 1e39") << 0 << "Overflow in line 1: \"1e39\"";
    }
    void reading() {
        QFETCH(bool, comma);
        QFETCH(QString, code);
        QFETCH(QByteArray, bytes);
        QFETCH(int, header);
        QFETCH(QString, records);
        QCOMPARE(readAll(bytes, code, comma ? RecordReader::Mode::Comma : RecordReader::Mode::Stream, header), records);
    }

    void dataLinesAhead() {
        const TextLines t(QByteArrayLiteral("head\n1\n\n  \n2\n"));
        RecordReader r(t, QStringLiteral("xy00"), RecordReader::Mode::Comma);
        r.skipLines(1);
        QCOMPARE(r.dataLinesAhead(2), 1);
        QCOMPARE(r.dataLinesAhead(4), 2);
        QCOMPARE(r.dataLinesAhead(6), 4); // two lines past the end of the file
        QCOMPARE(r.linesRead(), 1);
    }

    // Each projection converts both coordinates from the longitude and
    // latitude as read; Standard Mercator the latitude only; linear and
    // cylindrical maps keep them.  In degrees a latitude is held below the
    // pole first.
    void toMapUnits_data() {
        namespace pn = projection_names;
        using Fn = float (*)(Document&, double, double, bool, bool);
        QTest::addColumn<QString>("projection");
        QTest::addColumn<bool>("degrees");
        QTest::addColumn<float>("lat");
        QTest::addColumn<quintptr>("fn");
        const std::pair<QString, Fn> two[] = {
            {pn::TransverseMercator, ProjectTransverseMercator}, {pn::Orthographic, ProjectOrthographic},
            {pn::LambertAzimuthal, ProjectLambertAzimuthal},     {pn::AlbersEqualArea, ProjectAlbersEqualArea},
            {pn::LambertConformal, ProjectLambertConformal}};
        for (const auto& [name, fn] : two) QTest::newRow(qPrintable(name)) << name << true << 42.25f << quintptr(fn);
        QTest::newRow("mercator") << pn::StandardMercator << true << 45.0f << quintptr(0);
        QTest::newRow("pole, cylindrical") << pn::CylindricalEquidistant << true << 95.0f << quintptr(0);
        QTest::newRow("pole, linear units") << pn::Linear << false << 95.0f << quintptr(0);
    }
    void toMapUnits() {
        QFETCH(QString, projection);
        QFETCH(bool, degrees);
        QFETCH(float, lat);
        QFETCH(quintptr, fn);
        Document doc;
        doc.ProjectionName = projection;
        doc.ProjScaleX = doc.ProjScaleY = 1000;
        doc.CentralMeridian = float(DegRad(-100, true));
        doc.CentralParallel = float(DegRad(40, true));
        doc.Lat1 = float(DegRad(30, true));
        doc.Lat2 = float(DegRad(50, true));
        ComputeConeConstants(doc);
        float X = -105.5f, Y = lat;
        importer::toMapUnits(doc, degrees, X, Y);
        const double held = degrees && lat >= 90 ? double(89.99999f) : double(lat);
        if (auto f = reinterpret_cast<float (*)(Document&, double, double, bool, bool)>(fn)) {
            QCOMPARE(X, f(doc, -105.5, held, true, true));
            QCOMPARE(Y, f(doc, -105.5, held, true, false));
        } else {
            QCOMPARE(X, -105.5f);
            QCOMPARE(Y, projection == projection_names::StandardMercator ? ProjectMercator(doc, held, true) : float(held));
        }
        QVERIFY(!doc.ProjectionFailed);
    }
};

VEX_TEST(ImportParserTest);
#include "ImportParserTest.moc"
