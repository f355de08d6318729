// Reading column text files (codes, typed counts, lines by byte-order mark,
// both reading modes, degrees into map units), and File > Import > Data on
// the real window: the column dialog, appending with markers, the completion
// and the failures.
#include "common/TestRegistry.h"
#include "digitize/DigitizeFixture.h"
#include "digitize/PointRecords.h"
#include "exchange/ColumnDialog.h"
#include "exchange/ImportCommands.h"
#include "exchange/ImportParser.h"
#include "map/Projections.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace importer;

namespace {

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

// Every record until the reader is at its end, as "(x,y,z)" with "+n" after a
// record that missed n fields, and the error that ended the reading.
QString readAll(const QByteArray& bytes, const QString& code, bool comma, int header) {
    const TextLines lines(bytes);
    RecordReader reader(lines, code, comma ? RecordReader::Mode::Comma : RecordReader::Mode::Stream);
    QStringList out;
    try {
        reader.skipLines(header);
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

using Setup = std::function<void(ColumnDialog&)>;

// Chooses the column roles in the dialog from a four-letter code.
void chooseCode(ColumnDialog& d, const QString& code) {
    for (size_t k = 0; k < 4; ++k) {
        const QChar c = code[qsizetype(k)];
        (c == u'x' ? d.optLong : c == u'y' ? d.optLat : c == u'z' ? d.optData : c == u'-' ? d.optOther : d.optNone)[k]
            ->setValue(true);
    }
}

// The dialog set up as "kind code mode header [last line]": kind struc, rock,
// iso or con (contour points of the structural kind), mode comma or tab.
Setup how(const QString& text) {
    return [h = text.split(u' ')](ColumnDialog& d) {
        (h[0] == "rock" ? d.optRock : h[0] == "iso" ? d.optIso : d.optStruc)->setValue(true);
        (h[0] == "con" ? d.optPointCon : d.optPointDat)->setValue(true);
        chooseCode(d, h[1]);
        (h[2] == "comma" ? d.optComma : d.optTab)->setValue(true);
        d.txtHead->setText(h[3]);
        if (h.size() > 4) d.txtLine->setText(h[4]);
    };
}

// Runs the command through its menu item: the open dialog answers `path`, the
// column dialog is set up by `setup` and accepted (or cancelled), a contact
// designator asked for is answered `designator`.
void runImport(MainWindow& w, const QString& path, const Setup& setup, bool accept = true,
               const QString& designator = {}) {
    testsupport::dialogs().queue(path);
    testsupport::dialogs().queue(dlg::WindowScript([setup, accept](QDialog* dialog) {
        auto* d = static_cast<ColumnDialog*>(dialog);
        if (setup) setup(*d);
        QTest::mouseClick(accept ? d->cmdOK : d->cmdCancel, Qt::LeftButton);
        return d->result();
    }));
    if (!designator.isNull()) testsupport::dialogs().queue(designator);
    w.mnuFileImportData->setEnabled(true);
    w.mnuFileImportData->trigger();
}

QString writeFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    legacy::writeFileAtomically(dir.filePath(QLatin1String(name)), bytes);
    return dir.filePath(QLatin1String(name));
}

// The datum points from `first` on as "x,y,z:number", then the contour
// points with a "c" before each.
QString pointsText(const Document& d, int first = 1) {
    QStringList out;
    const auto add = [&](const std::vector<DataPoint>& v, int from, int count, const char* mark) {
        for (int i = from; i <= count; ++i)
            out << QStringLiteral("%1%2,%3,%4:%5").arg(mark).arg(v[size_t(i)].X).arg(v[size_t(i)].Y)
                       .arg(v[size_t(i)].Z).arg(v[size_t(i)].Number);
    };
    add(d.DatumPoints, first, d.DatCount, "");
    add(d.ContourPoints, 1, d.ConCount, "c");
    return out.join(u' ');
}

std::unique_ptr<MainWindow> registered() {
    auto w = testsupport::startMainWindow();
    digitize_fixture::registerLinear(*w);
    return w;
}

// Puts a datum point into the document as a digitizing leaves it.
void addDatum(MainWindow& w, float z, int16_t number) {
    DataPoint& p = points::AppendPoint(w.doc.DatumPoints, w.doc.DatCount);
    p.X = p.Y = 100;
    p.Z = z;
    p.Number = number;
    w.markers->labDat.load(w.doc.DatCount);
}

} // namespace

class ImportParserTest : public QObject {
    Q_OBJECT
private slots:
    void codes() {
        QCOMPARE(acceptedCodes().join(u' '), QStringLiteral("xyz0 yxz0 zxy0 zyx0 -xyz -yxz -zxy -zyx xyz- yxz- zxy- zyx- "
                                                           "--xy --yx -xy- -yx- xy-- yx-- -xy0 -yx0 xy-0 yx-0 xy00 yx00"));
        for (const char* bad : {"", "xy0", "xz00", "00xy", "0xy0", "xyzz", "XY00"})
            QVERIFY2(!isAcceptedCode(QLatin1String(bad)), bad);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, headerLines(QStringLiteral("40000")));
    }

    // Every accepted code reads its columns into the right roles, in both
    // modes, with text in the skipped columns.
    void everyCodeInBothModes_data() {
        QTest::addColumn<QString>("code");
        for (const QString& c : acceptedCodes()) QTest::newRow(qPrintable(c)) << c;
    }
    void everyCodeInBothModes() {
        QFETCH(QString, code);
        QStringList fields;
        for (QChar c : code)
            if (c != u'0') fields << (c == u'x' ? "1.5" : c == u'y' ? "-2.25" : c == u'z' ? "300" : "Well_7");
        const QString one = code.contains(u'z') ? "(1.5,-2.25,300)" : "(1.5,-2.25,0)";
        QCOMPARE(show(parseCommaLine(fields.join(u','), code)), one);
        // Two records in a stream, the second split over two lines.
        const QString stream = fields.join(u'\t') + "\r\n" + fields[0] + "\n" + fields.mid(1).join("  ") + "\n";
        QCOMPARE(readAll(stream.toLatin1(), code, false, 0), one + u' ' + one);
    }

    void counts_data() {
        QTest::addColumn<QString>("head");
        QTest::addColumn<QString>("last");
        QTest::addColumn<int>("header");
        QTest::addColumn<int>("lines");
        QTest::newRow("header 2, last 10") << "2" << "10" << 2 << 8;
        QTest::newRow("empty boxes") << "" << "" << 0 << 0;
        QTest::newRow("last below header") << "7" << "3" << 7 << 0;
        QTest::newRow("no cap on lines") << "100" << "40100" << 100 << 40000;
        QTest::newRow("halves to even") << "2.5" << "10.5" << 2 << 8;
        QTest::newRow("halves to even, up") << "3.5" << "10.5" << 4 << 6;
        QTest::newRow("junk reads as 0") << "abc" << "12 lines" << 0 << 12;
    }
    void counts() {
        QFETCH(QString, head);
        QFETCH(QString, last);
        QFETCH(int, header);
        QFETCH(int, lines);
        QCOMPARE(int(headerLines(head)), header);
        QCOMPARE(lineCount(last, header), lines);
    }

    void reading_data() {
        QTest::addColumn<bool>("comma");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("header");
        QTest::addColumn<QString>("records");
        const auto row = [](const char* tag, bool comma, const char* code, const QByteArray& bytes, int header,
                            const char* records) {
            QTest::newRow(tag) << comma << QString(code) << bytes << header << QString(records);
        };
        row("comma, mixed ends", true, "xyz0", "head\r\n1,2,3\r4,5,6\n7,8,9\r\n", 1, "(1,2,3) (4,5,6) (7,8,9)");
        row("short line, two commas", true, "xyz0", "1,2\n1,,2,3\n", 0, "(1,2,0) (1,2,3)");
        row("leading comma, blanks", true, "xyz0", ",5,6\n 1, 2 , 3", 0, "(0,5,6) (1,2,3)");
        row("yx, exponent", true, "yxz-", "45.5,-120.25,7,x\n1E3,-2.5e-1,.5", 0, "(-120.25,45.5,7) (-0.25,1000,0.5)");
        row("last takes the rest", true, "xy00", "1,2,3\n1,,2\n\"1\",\"2\",\"3\"", 0, "(1,2,0) (1,2,0) (1,2,0)");
        row("quoted, blanks", true, "yxz-", " \"4.5\" , \"-2\",7,\"x\"", 0, "(-2,4.5,7)");
        row("utf-16, stray byte", true, "xyz0", utf16("1,2,3\r", true) + '4', 0, "(1,2,3)");
        row("header past the end", true, "xyz0", "a\nb\n", 3, "Input past end of file");
        row("stream spans lines", false, "xyz0", "1 2\n3\n4\t5 6\n", 0, "(1,2,3) (4,5,6)");
        row("stream cut short", false, "xyz0", "1 2 3 4 5 6 7", 0, "(1,2,3) (4,5,6) (7,0,0)+2");
        row("stream quoted names", false, "-xyz", "\"Well A\" 10 20 30\r\n\"B, east\",11,21,31", 0,
            "(10,20,30) (11,21,31)");
        row("stream commas", false, "xyz0", "1,,3\n4, 5 ,6", 0, "(1,0,3) (4,5,6)");
        row("stream quoted numbers", false, "xyz0", "\"1\" \"2\" \"3\"", 0, "(1,2,3)");
        row("stream text after header", false, "xyz0", "X Y Z\n1 2 3\n\n4 5 x6\n", 1,
            "(1,2,3) Type mismatch in line 4: \"x6\"");
        row("stream beyond a single", false, "xyz0", "1 2 1e39", 0, "Overflow in line 1: \"1e39\"");
    }
    void reading() {
        QFETCH(bool, comma);
        QFETCH(QString, code);
        QFETCH(QByteArray, bytes);
        QFETCH(int, header);
        QFETCH(QString, records);
        QCOMPARE(readAll(bytes, code, comma, header), records);
    }

    // Longitude -95 in map units of scale 1000 (central meridian -100): both
    // coordinates from the values as read under a two-coordinate projection,
    // the latitude only under Standard Mercator, a latitude at or past the
    // pole held at 89.99999 in degrees.  Unit-sphere values from PROJ, scaled.
    void toMapUnits_data() {
        namespace pn = projection_names;
        QTest::addColumn<QString>("projection");
        QTest::addColumn<bool>("degrees");
        QTest::addColumn<float>("lat");
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::newRow("transverse mercator") << pn::TransverseMercator << true << 40.0f << 66.864642f << 700.009638f;
        QTest::newRow("mercator") << pn::StandardMercator << true << 30.0f << -95.0f << 549.306144f;
        // 1000 ln(tan 89.99999237° + sec 89.99999237°), the held latitude as a Single
        QTest::newRow("mercator at the pole") << pn::StandardMercator << true << 90.0f << -95.0f << 16524.876f;
        QTest::newRow("cylindrical past the pole") << pn::CylindricalEquidistant << true << 95.0f << -95.0f << 89.99999f;
        QTest::newRow("linear units") << pn::Linear << false << 95.0f << -95.0f << 95.0f;
    }
    void toMapUnits() {
        QFETCH(QString, projection);
        QFETCH(bool, degrees);
        QFETCH(float, lat);
        QFETCH(float, x);
        QFETCH(float, y);
        Document doc;
        doc.ProjectionName = projection;
        doc.ProjScaleX = doc.ProjScaleY = 1000;
        doc.CentralMeridian = float(DegRad(-100, true));
        float X = -95, Y = lat;
        importer::toMapUnits(doc, degrees, X, Y);
        QCOMPARE(X, x);
        QCOMPARE(Y, y);
        QVERIFY(!doc.ProjectionFailed);
    }
};

class ImportCommandTest : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::dialogs().clear(); }

    // Comma mode after two header lines up to line 10; the next import finds
    // the dialog's choices and the last file again, and appends.
    void importCompletesAndAppends() {
        QTemporaryDir dir;
        auto w = registered();
        QByteArray text = "Survey of the lakes\r\nEast,North,Depth\r\n";
        for (int i = 1; i <= 10; ++i)
            text += QByteArray::number(i * 50) + ',' + QByteArray::number(1000 - i * 50) + ',' +
                    QByteArray::number(i * 10) + "\r\n";
        const QString path = writeFile(dir, "pts.txt", text);
        runImport(*w, path, how("struc xyz0 comma 2 10"));

        const Document& d = w->doc;
        QCOMPARE(pointsText(d), "50,950,10:1 100,900,20:2 150,850,30:3 200,800,40:4 250,750,50:5 300,700,60:6 "
                                "350,650,70:7 400,600,80:8");
        for (int i = 1; i <= 8; ++i) {
            const Marker& m = w->markers->labDat[i];
            QVERIFY(m.Visible && !m.ToolTipText.isEmpty() && m.ForeColor == 0xFF00FFL);
        }
        QCOMPARE(w->labDatNum->text(), "8");
        QCOMPARE(w->windowTitle(), "Ferno Vexolan: Lakes (Imported - pts.txt)");
        QVERIFY(d.ImportFile == path && d.DataChanged && !d.ContoursCurrent && d.ContactShown == "All");
        QCOMPARE(w->mnuViewShowContactShow->text(), "Show (All)...");
        QVERIFY(w->optStruc->isChecked() && !w->optRock->isEnabled() && !w->optIso->isEnabled());
        for (QWidget* c : std::initializer_list<QWidget*>{w->cmdShow, w->cmdSave, w->cmdConRun, w->optLo, w->optHi,
                                                          w->labCond, w->txtConDet, w->VScroll2, w->chkLines})
            QVERIFY2(c->isEnabled(), qPrintable(c->objectName()));
        QVERIFY(w->mnuFileSaveAs->isEnabled() && w->mnuFileOpenDat->isEnabled());
        QCOMPARE(w->txtMin->text() + ' ' + w->txtMax->text(), "10 80");
        const auto& prompts = testsupport::dialogs().prompts;
        QCOMPARE(prompts.size(), size_t(2));
        QCOMPARE(prompts[0].title + '/' + prompts[1].title, "Import Data/Vexolan: Import Data");

        bool kept = false;
        runImport(*w, path, [&](ColumnDialog& cd) {
            kept = cd.optComma->isChecked() && cd.optStruc->isChecked() && cd.optLong[0]->isChecked() &&
                   cd.txtHead->text() == "2" && cd.labFile->text() == "pts.txt";
        });
        QVERIFY(kept);
        QCOMPARE(prompts[2].defaultText, path);
        QCOMPARE(d.DatCount, 18); // the last line is the file's last now
        QCOMPARE(int(d.DatumPoints[18].Number), 18);
    }

    // Imports into a document holding a datum point of value 9 numbered 1.
    // points: those added as "x,y,z:number", contour points after "c"; log:
    // the messages and questions.  A failed reading takes its points back.
    void imports_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("designator");
        QTest::addColumn<QString>("points");
        QTest::addColumn<QStringList>("log");
        const auto row = [](const char* tag, const char* how, const QByteArray& bytes, const QString& points,
                            const QStringList& log = {}, const QString& designator = {}) {
            QTest::newRow(tag) << QString(how) << bytes << designator << points << log;
        };
        const QString both = QStringLiteral("1,2,3:2 4,5,6:3");
        const QByteArray blanks("1,2,3\r\n\r\n  \r\n4,5,6\r\n\r\n");
        const QString tabbed = QStringLiteral("1\t2\t3\r\n4\t5\t6\r\n");
        row("blank lines, comma", "struc xyz0 comma 0", blanks, both);
        row("blank lines, tab", "struc xyz0 tab 0", QByteArray(blanks).replace(',', '\t'), both);
        row("utf-8 mark", "struc xyz0 comma 0", "\xEF\xBB\xBF" "1,2,3\r\n4,5,6\r\n", both);
        row("utf-16 le", "struc xyz0 tab 0", utf16(tabbed, true), both);
        row("utf-16 be", "struc xyz0 tab 0", utf16(tabbed, false), both);
        row("quoted", "struc xyz0 comma 0", "\"1\",\"2\",\"3\"\r\n\"4\",\"5\",\"6\"\r\n", both);
        row("text in a tab file", "struc xyz0 tab 0", "1 2 3 abc\r\n4 5 6\r\n", "",
            {"Error importing data: Type mismatch in line 1: \"abc\""});
        // Seven numbers in records of three: the third misses two fields, a
        // fourth record finds the end of the file.
        const QString fmt = QStringLiteral("Data format error");
        const QString three = QStringLiteral("1,2,3:2 4,5,6:3 7,0,0:4");
        row("stream cut short", "struc xyz0 tab 0 3", "1 2\n3 4\n5 6\n7\n", three, {fmt, fmt});
        row("stream cut short, one more", "struc xyz0 tab 0 4", "1 2\n3 4\n5 6\n7\n", three, {fmt, fmt, fmt});
        row("last line past the end", "struc xyz0 comma 0 40000", "1,2,3\r\n4,5,6\r\n", both, {fmt});
        QByteArray many;
        for (int i = 1; i <= 31010; ++i) many += QByteArray::number(i % 1000) + ",1,1\r\n";
        row("cut at the limit", "struc xyz0 comma 0", many, "31000 points",
            {"Only the first 31000 points were imported, the most one import takes: 31000 lines were read and 10 "
             "lines were left."});
        row("header past the end", "struc xy00 comma 5 9", "1,2\n3,4\n", "",
            {"Error importing data: Input past end of file"});
        row("no coordinate pair", "struc xz00 comma 0", "1,2\n", "",
            {"Error importing data: The column order \"xz00\" cannot be imported. Choose one Latitude/Northing and "
             "one Longitude/Easting column."});
        // Contacts are numbered within their designator.
        row("designator column", "rock xyz0 comma 0", "1,1,9\n2,2,5\n3,3,9\n", "1,1,9:2 2,2,5:1 3,3,9:3");
        const QString asked = QStringLiteral("Enter a contact designator number for these data");
        row("designator asked", "rock xy00 tab 0", "1 1\n2 2\n", "1,1,7:1 2,2,7:2", {asked}, "7");
        row("no designator given", "rock xy00 tab 0", "1 1\n", "1,1,0:1", {asked}, "");
        row("contour points", "con xyz0 comma 0", "5,6,-7\n", "c5,6,-7:1");
    }
    void imports() {
        QFETCH(QString, how);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, designator);
        QFETCH(QString, points);
        QFETCH(QStringList, log);
        QTemporaryDir dir;
        auto w = registered();
        addDatum(*w, 9, 1);
        w->doc.DataChanged = false;
        runImport(*w, writeFile(dir, "in.txt", bytes), ::how(how), true, designator);
        QStringList said;
        for (const auto& p : testsupport::dialogs().prompts)
            if (p.kind == dlg::Prompt::Kind::Message || p.kind == dlg::Prompt::Kind::Input) said << p.text;
        QCOMPARE(said, log);
        const Document& d = w->doc;
        QCOMPARE(d.DatCount > 10 ? QStringLiteral("%1 points").arg(d.DatCount - 1) : pointsText(d, 2), points);
        QCOMPARE(w->markers->labDat.count() * 100 + w->markers->labCon.count(), d.DatCount * 100 + d.ConCount);
        QCOMPARE(d.DataChanged, !log.join(u' ').contains("Error importing"));
    }

    void rangeBoxes() {
        QTemporaryDir dir;
        auto w = registered();
        w->optStruc->setValue(true);
        addDatum(*w, 50, 1);
        w->txtMin->setText(QStringLiteral("100"));
        w->txtMax->setText(QStringLiteral("500"));
        const QString path = writeFile(dir, "d.txt", "5,6,-7\n");
        runImport(*w, path, how("struc xyz0 comma 0"));
        QCOMPARE(w->txtMin->text() + ' ' + w->txtMax->text(), "100 500");
        // A 0 in a range box: the range is rescanned from every point.
        w->txtMin->setText(QStringLiteral("0"));
        runImport(*w, path, how("con xyz0 comma 0"));
        QCOMPARE(w->txtMin->text() + ' ' + w->txtMax->text(), "-7 50");
        // Only negative values: the top of the range stays at 0.
        auto neg = registered();
        runImport(*neg, writeFile(dir, "neg.txt", "1,1,-5\n2,2,-9\n"), how("struc xyz0 comma 0"));
        QCOMPARE(neg->txtMin->text() + ' ' + neg->txtMax->text(), "-9 0");
    }

    // Points of one kind on the map: the dialog offers no other kind.
    void kindFixedByPointsStays() {
        QTemporaryDir dir;
        auto w = registered();
        w->optStruc->setValue(true);
        addDatum(*w, 50, 1);
        w->optRock->setEnabled(false);
        w->optIso->setEnabled(false);
        bool offered = true;
        runImport(*w, writeFile(dir, "s.txt", "1,2,3\n"), [&](ColumnDialog& d) {
            offered = d.optRock->isEnabled() || !d.optStruc->isChecked();
            d.optComma->setValue(true);
        });
        QVERIFY(!offered);
        QCOMPARE(pointsText(w->doc), "100,100,50:1 1,2,0:2"); // a fresh dialog reads xy00
        QVERIFY(w->optStruc->isChecked() && !w->optRock->isEnabled());
    }

    // Under Standard Mercator (scale 1000) only the latitude is converted,
    // one past the pole held below it.
    void degreesUnderAProjection() {
        QTemporaryDir dir;
        auto w = registered();
        w->doc.ProjectionName = projection_names::StandardMercator;
        w->doc.ProjScaleY = 1000;
        w->mnuCoordDegrees->setChecked(true);
        runImport(*w, writeFile(dir, "geo.txt", "Lat Long Elev\n30 -95 10\n95 -95 20\n"), how("struc yxz0 tab 1"));
        const auto& p = w->doc.DatumPoints;
        QCOMPARE(p[1].X + p[1].Z, -85.0f);
        QCOMPARE(p[1].Y, 549.306144f);
        QCOMPARE(p[2].Y, 16524.876f); // 1000 ln(tan 89.99999° + sec 89.99999°)
    }

    void cancels() {
        QTemporaryDir dir;
        auto w = registered();
        auto& dl = testsupport::dialogs();
        dl.queue(dlg::Cancel{});
        w->importCommands->mnuFileImportData_Click();
        QCOMPARE(dl.prompts.size(), size_t(1));
        // Cancelled in the column dialog: the file is remembered, not read.
        const QString path = writeFile(dir, "p.txt", "1,2\n");
        runImport(*w, path, how("struc xy00 comma 0"), false);
        QVERIFY(w->doc.ImportFile == path && w->doc.ImportOrder.isEmpty() && !w->doc.DataChanged);
        QVERIFY(w->windowTitle() == "Ferno Vexolan" && w->optRock->isEnabled());
        // Nothing read still completes, with the plot controls off.
        runImport(*w, path, how("struc xy00 comma 1 1"));
        QVERIFY(w->doc.DatCount == 0 && w->doc.DataChanged && !w->cmdShow->isEnabled() && !w->txtConDet->isEnabled());
        QCOMPARE(w->windowTitle(), "Ferno Vexolan: Lakes (Imported - p.txt)");
        // The file vanished after the open dialog.
        dl.clear();
        dl.queue(dir.filePath("gone.txt"));
        w->importCommands->mnuFileImportData_Click();
        QCOMPARE(dl.prompts.back().text, "Error importing data: File not found");
        QCOMPARE(dl.prompts.back().icon, dlg::Icon::Exclamation);
        QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
    }
};

VEX_TEST(ImportParserTest);
VEX_TEST(ImportCommandTest);
#include "ImportTest.moc"
