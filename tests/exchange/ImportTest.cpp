// Reading column text files (codes, typed counts, degrees into map units),
// and File > Import > Data on the real window: the column dialog, both
// reading modes, appending with markers, the completion and the failures.
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

using namespace importer;
using Setup = std::function<void(ColumnDialog&)>;

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

// The dialog set up as "kind code mode header [last line]": kind struc, rock,
// iso or con (contour points of the structural kind), mode comma or tab.
Setup how(const QString& text) {
    return [h = text.split(u' ')](ColumnDialog& d) {
        (h[0] == "rock" ? d.optRock : h[0] == "iso" ? d.optIso : d.optStruc)->setValue(true);
        (h[0] == "con" ? d.optPointCon : d.optPointDat)->setValue(true);
        for (size_t k = 0; k < 4; ++k) {
            const QChar c = h[1][qsizetype(k)];
            (c == u'x' ? d.optLong : c == u'y' ? d.optLat : c == u'z' ? d.optData : c == u'-' ? d.optOther : d.optNone)[k]
                ->setValue(true);
        }
        (h[2] == "comma" ? d.optComma : d.optTab)->setValue(true);
        d.txtHead->setText(h[3]);
        if (h.size() > 4) d.txtLine->setText(h[4]);
    };
}

// Runs the command through its menu item on the file `name` holding `bytes`:
// the column dialog is set up by `setup` and accepted (or cancelled), a
// contact designator asked for is answered `designator`.
void runImport(MainWindow& w, const QTemporaryDir& dir, const char* name, const QByteArray& bytes,
               const Setup& setup, bool accept = true, const QString& designator = {}) {
    legacy::writeFileAtomically(dir.filePath(QLatin1String(name)), bytes);
    testsupport::dialogs().queue(dir.filePath(QLatin1String(name)));
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

// A registered window holding one datum point of value z numbered 1.
std::unique_ptr<MainWindow> windowWithPoint(float z) {
    auto w = testsupport::startMainWindow();
    digitize_fixture::registerLinear(*w);
    DataPoint& p = points::AppendPoint(w->doc.DatumPoints, w->doc.DatCount);
    p = {1, 100, 100, z, false};
    w->markers->labDat.load(1);
    return w;
}

QString range(const MainWindow& w) { return w.txtMin->text() + u' ' + w.txtMax->text(); }

} // namespace

class ImportParserTest : public QObject {
    Q_OBJECT
private slots:
    void codesAndCounts() {
        QCOMPARE(acceptedCodes().join(u' '), QStringLiteral("xyz0 yxz0 zxy0 zyx0 -xyz -yxz -zxy -zyx xyz- yxz- zxy- zyx- "
                                                           "--xy --yx -xy- -yx- xy-- yx-- -xy0 -yx0 xy-0 yx-0 xy00 yx00"));
        for (const char* bad : {"", "xy0", "xz00", "00xy", "0xy0", "xyzz", "XY00"})
            QVERIFY2(!isAcceptedCode(QLatin1String(bad)), bad);
        // Typed counts round halves to even; junk reads as 0; no cap on lines.
        const char* typed[][2] = {{"2", "10"}, {"", ""}, {"7", "3"}, {"100", "40100"}, {"2.5", "10.5"}, {"3.5", "10.5"},
                                  {"abc", "12 lines"}};
        QStringList got;
        for (const auto& t : typed) {
            const int header = headerLines(QLatin1String(t[0]));
            got << QStringLiteral("%1+%2").arg(header).arg(lineCount(QLatin1String(t[1]), header));
        }
        QCOMPARE(got.join(u' '), "2+8 0+0 7+0 100+40000 2+8 4+6 0+12");
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
        const TextLines lines((fields.join(u'\t') + "\r\n" + fields[0] + "\n" + fields.mid(1).join("  ")).toLatin1());
        RecordReader reader(lines, code, RecordReader::Mode::Stream);
        int missing = 0;
        QCOMPARE(show(reader.read(missing)) + show(reader.read(missing)), one + one);
        QVERIFY(reader.atEnd() && missing == 0);
    }

    // Longitude -95 into map units of scale 1000, central meridian -100:
    // both coordinates from the values as read under a two-coordinate
    // projection, the latitude only under Standard Mercator; a latitude at or
    // past the pole is held at 89.99999 in degrees.  Unit-sphere values from
    // PROJ, scaled.
    void toMapUnits() {
        namespace pn = projection_names;
        const struct {
            QString projection;
            bool degrees;
            float lat, x, y;
        } rows[] = {{pn::TransverseMercator, true, 40, 66.864642f, 700.009638f},
                    {pn::StandardMercator, true, 30, -95, 549.306144f},
                    {pn::StandardMercator, true, 90, -95, 16524.876f}, // 1000 ln(tan 89.99999237° + sec 89.99999237°)
                    {pn::CylindricalEquidistant, true, 95, -95, 89.99999f},
                    {pn::Linear, false, 95, -95, 95}};
        for (const auto& r : rows) {
            Document doc;
            doc.ProjectionName = r.projection;
            doc.ProjScaleX = doc.ProjScaleY = 1000;
            doc.CentralMeridian = float(DegRad(-100, true));
            float X = -95, Y = r.lat;
            importer::toMapUnits(doc, r.degrees, X, Y);
            QCOMPARE(X, r.x);
            QCOMPARE(Y, r.y);
        }
    }
};

class ImportCommandTest : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::dialogs().clear(); }

    // Imports into a window holding a datum point of value 9 numbered 1.
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
        const QString both = QStringLiteral("1,2,3:2 4,5,6:3"), fmt = QStringLiteral("Data format error");
        const QByteArray blanks("1,2,3\r\n\r\n  \r\n4,5,6\r\n\r\n");
        const QString tabbed = QStringLiteral("1\t2\t3\r\n4\t5\t6\r\n");
        row("header, mixed ends", "struc xyz0 comma 1", "E,N\r\n1,2,3\r4,5,6\n7,8,9\r\n", both + " 7,8,9:4");
        row("short line, two commas", "struc xyz0 comma 0", "1,2\n4,,5,6\n", "1,2,0:2 4,5,6:3");
        row("leading comma, blanks", "struc xyz0 comma 0", ",5,6\n 1, 2 , 3", "0,5,6:2 1,2,3:3");
        row("yx, exponent", "struc yxz- comma 0", "45.5,-120.25,7,x\n1E3,-2.5e-1,.5", "-120.25,45.5,7:2 -0.25,1000,0.5:3");
        row("last takes the rest", "struc xy00 comma 0", "1,2,3\n1,,2\n\"1\",\"2\",\"3\"", "1,2,0:2 1,2,0:3 1,2,0:4");
        row("quoted, blanks", "struc yxz- comma 0", " \"4.5\" , \"-2\",7,\"x\"", "-2,4.5,7:2");
        row("blank lines, comma", "struc xyz0 comma 0", blanks, both);
        row("blank lines, tab", "struc xyz0 tab 0", QByteArray(blanks).replace(',', '\t'), both);
        row("utf-8 mark", "struc xyz0 comma 0", "\xEF\xBB\xBF" "1,2,3\r\n4,5,6\r\n", both);
        row("utf-16 le", "struc xyz0 tab 0", utf16(tabbed, true), both);
        row("utf-16 be", "struc xyz0 tab 0", utf16(tabbed, false), both);
        row("utf-16, stray byte", "struc xyz0 comma 0", utf16("1,2,3\r", true) + '4', "1,2,3:2");
        row("quoted", "struc xyz0 comma 0", "\"1\",\"2\",\"3\"\r\n\"4\",\"5\",\"6\"\r\n", both);
        row("stream spans lines", "struc xyz0 tab 0 2", "1 2\n3\n4\t5 6\n", both);
        row("stream quoted names", "struc -xyz tab 0", "\"Well A\" 1 2 3\r\n\"B, east\",4,5,6", both);
        row("stream commas", "struc xyz0 tab 0", "1,,3\n4, 5 ,6", "1,0,3:2 4,5,6:3");
        row("stream quoted numbers", "struc xyz0 tab 0", "\"1\" \"2\" \"3\"", "1,2,3:2");
        row("text in a tab file", "struc xyz0 tab 1", "X Y Z\n1 2 3\n\n4 5 x6\n", "",
            {"Error importing data: Type mismatch in line 4: \"x6\""});
        row("beyond a single", "struc xyz0 tab 0", "1 2 1e39", "", {"Error importing data: Overflow in line 1: \"1e39\""});
        // Seven numbers in records of three: the third misses two fields, a
        // fourth record finds the end of the file.
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
        auto w = windowWithPoint(9);
        runImport(*w, dir, "in.txt", bytes, ::how(how), true, designator);
        QStringList said;
        for (const auto& p : testsupport::dialogs().prompts)
            if (p.kind == dlg::Prompt::Kind::Message || p.kind == dlg::Prompt::Kind::Input) said << p.text;
        QCOMPARE(said, log);
        const Document& d = w->doc;
        QCOMPARE(d.DatCount > 10 ? QStringLiteral("%1 points").arg(d.DatCount - 1) : pointsText(d, 2), points);
        QCOMPARE(w->markers->labDat.count() * 100 + w->markers->labCon.count(), d.DatCount * 100 + d.ConCount);
        const bool failed = log.join(u' ').contains("Error importing");
        QCOMPARE(d.DataChanged, !failed);
        QCOMPARE(w->windowTitle(), failed ? "Ferno Vexolan" : "Ferno Vexolan: Lakes (Imported - in.txt)");
        if (failed) return;
        const Marker& last = d.ConCount ? w->markers->labCon[1] : w->markers->labDat[d.DatCount];
        QVERIFY(last.Visible && !last.ToolTipText.isEmpty());
        QCOMPARE(last.ForeColor, d.ConCount ? 0x00FF00L : 0xFF00FFL);
        QVERIFY(!d.ContoursCurrent && d.ContactShown == "All" && w->mnuViewShowContactShow->text() == "Show (All)...");
        const bool rock = how.startsWith("rock");
        QVERIFY(w->optRock->isChecked() == rock && w->optStruc->isEnabled() == !rock && !w->optIso->isEnabled());
        for (QWidget* c : std::initializer_list<QWidget*>{w->cmdShow, w->cmdSave, w->cmdConRun, w->optLo, w->optHi})
            QVERIFY2(c->isEnabled(), qPrintable(c->objectName()));
        QVERIFY(w->mnuViewShow->menuAction()->isEnabled() && w->mnuFileOpenDat->isEnabled());
        QCOMPARE(w->txtConDet->isEnabled() && w->chkLines->isEnabled() && w->VScroll2->isEnabled(), !rock);
    }

    // A range typed in both boxes stays, unless the points are contacts; a 0
    // in a box rescans it from every point; the top of the range is never
    // below 0.
    void rangeBoxes() {
        QTemporaryDir dir;
        auto w = windowWithPoint(50);
        w->txtMin->setText(QStringLiteral("100"));
        w->txtMax->setText(QStringLiteral("500"));
        runImport(*w, dir, "d.txt", "5,6,-7\n", how("struc xyz0 comma 0"));
        QCOMPARE(range(*w), "100 500");
        w->txtMin->setText(QStringLiteral("0"));
        runImport(*w, dir, "d.txt", "5,6,-8\n", {});
        QCOMPARE(range(*w), "-8 50");
        auto neg = windowWithPoint(-5);
        runImport(*neg, dir, "neg.txt", "2,2,-9\n", how("struc xyz0 comma 0"));
        QCOMPARE(range(*neg), "-9 0");
    }

    // Points of one kind on the map: the dialog offers no other kind.
    void kindFixedByPointsStays() {
        QTemporaryDir dir;
        auto w = windowWithPoint(50);
        w->optStruc->setValue(true);
        w->optRock->setEnabled(false);
        w->optIso->setEnabled(false);
        bool offered = true;
        runImport(*w, dir, "s.txt", "1,2,3\n", [&](ColumnDialog& d) {
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
        auto w = windowWithPoint(0);
        w->doc.ProjectionName = projection_names::StandardMercator;
        w->doc.ProjScaleY = 1000;
        w->mnuCoordDegrees->setChecked(true);
        runImport(*w, dir, "geo.txt", "Lat Long Elev\n30 -95 10\n95 -95 20\n", how("struc yxz0 tab 1"));
        const auto& p = w->doc.DatumPoints;
        QCOMPARE(p[2].X + p[2].Z, -85.0f);
        QCOMPARE(p[2].Y, 549.306144f);
        QCOMPARE(p[3].Y, 16524.876f); // 1000 ln(tan 89.99999° + sec 89.99999°)
    }

    // Cancelled in the open dialog, nothing happens; in the column dialog the
    // file is remembered and offered next time, and nothing is read.  Nothing
    // read still completes, with the plot controls off.
    void cancelsAndEmptyImports() {
        QTemporaryDir dir;
        auto w = testsupport::startMainWindow();
        digitize_fixture::registerLinear(*w);
        auto& dl = testsupport::dialogs();
        dl.queue(dlg::Cancel{});
        w->importCommands->mnuFileImportData_Click();
        QCOMPARE(dl.prompts.size(), size_t(1));
        runImport(*w, dir, "p.txt", "1,2\n", how("struc xy00 comma 0"), false);
        QVERIFY(w->doc.ImportFile == dir.filePath("p.txt") && w->doc.ImportOrder.isEmpty() && !w->doc.DataChanged);
        QVERIFY(w->windowTitle() == "Ferno Vexolan" && w->optRock->isEnabled());
        runImport(*w, dir, "p.txt", "1,2\n", how("struc xy00 comma 1 1"));
        QCOMPARE(dl.prompts[3].defaultText, dir.filePath("p.txt"));
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
