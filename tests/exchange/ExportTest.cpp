// The export file text, the combination with the second data set, the
// reading of a second data file and the converter's files; then the export,
// second data set, combination and converter commands on the real window.
#include "common/DigitizeSupport.h"
#include "common/MapSupport.h"
#include "common/TableRows.h"
#include "common/TestRegistry.h"
#include "document/Legacy.h"
#include "exchange/ColumnDialog.h"
#include "exchange/Combination.h"
#include "exchange/ConverterExchange.h"
#include "exchange/ExportCommands.h"
#include "exchange/ExportFormat.h"
#include "exchange/SecondDataSet.h"
#include "map/Projections.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

using exportfmt::PointExportOptions;
using testsupport::dialogs;

namespace {

// Points from "x,y,z x,y,z ...", numbered from 1 after the unused element 0.
std::vector<DataPoint> pointsOf(const QString& text) {
    std::vector<DataPoint> v(1);
    for (const QString& p : text.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList f = p.split(u',');
        v.push_back({int16_t(v.size()), f[0].toFloat(), f[1].toFloat(), f[2].toFloat(), false});
    }
    return v;
}

// A linear document whose datum and contour points are given, with spans
// 1000 x 1000, project "/data/site.vlm".
Document documentOf(const QString& datum, const QString& contour = {}, const QString& units = "Meters") {
    Document d;
    d.ProjectionName = projection_names::Linear;
    d.CoordUnits = units;
    d.DataFileName = QStringLiteral("/data/site.vlm");
    d.MapSpanX = d.MapSpanY = 1000;
    d.DatumPoints = pointsOf(datum);
    d.ContourPoints = pointsOf(contour);
    d.DatCount = int(d.DatumPoints.size()) - 1;
    d.ConCount = int(d.ContourPoints.size()) - 1;
    return d;
}

// A second data file of exchange/second: a linear map in metres of the
// project "Basin", its datum rows "number,Y,X,Z".
QString secondFile(const char* name) { return testsupport::dataFile(QStringLiteral("exchange/second/") + name); }

QStringList fileLines(const QString& path) { return legacy::splitLines(legacy::decodeText(legacy::readFileBytes(path))); }

// A linear structural window "Lakes" with the datum points (100, 900, 10),
// (200, 900, 12.5), (300, 800, 14) and the contour points (400, 600, 20),
// (500, 500, 22), recorded on the map.
std::unique_ptr<MainWindow> documentWithPoints() {
    auto w = testsupport::startLinearWindow();
    w->optStruc->setValue(true);
    w->optDat->setValue(true);
    const auto at = pointsOf(QStringLiteral("600,600,10 1200,600,12.5 1800,1200,14 2400,2400,20 3000,3000,22"));
    for (int i = 1; i <= 5; ++i) {
        if (i == 4) w->optCon->setValue(true);
        testsupport::recordAt(*w, at[i].X, at[i].Y, QString::number(at[i].Z)); // twips, the value typed
    }
    dialogs().clear();
    return w;
}

// Puts the stand-in converter exchange/converter/`script` into its folder.
void putConverter(const QString& folder, const QString& script) {
    const QByteArray text = testsupport::fileBytes(testsupport::dataFile("exchange/converter/" + script));
    maptest::writeFile(folder + "corpscon.exe", text, true);
}

} // namespace

class ExchangeFilesTest : public QObject {
    Q_OBJECT
private slots:
    // The point files of exchange/exports.txt.
    void pointExport_data() { testsupport::addFileRows(QStringLiteral("exchange/exports.txt")); }
    void pointExport() {
        const testsupport::Fields r = testsupport::rowFields();
        Document d = documentOf(QStringLiteral("1,3,2"), QStringLiteral("5,6,7"), r.str(0));
        const QString flags = r.str(2);
        const PointExportOptions o{.columnOrder = r.str(1), .header = flags.contains(u'h'), .tab = flags.contains(u't'),
                                   .dataText = flags.contains(u'u') ? "Unit" : "Data", .contacts = flags.contains(u'c'),
                                   .contact = r.str(3).isEmpty() ? std::nullopt : std::optional(r.str(3))};
        QCOMPARE(exportfmt::buildPointExport(d, o).join(u';'), r.str(4));
    }

    // Under Transverse Mercator (central meridian -100, scale 1: the
    // unit-sphere values of (-95, 40) from PROJ) and Standard Mercator
    // (latitude 30), projected points are exported in degrees, and the rows
    // of a second data file are projected as the open map's points.
    void projections() {
        Document d = documentOf(QStringLiteral("0.066864642,0.700009638,2"), {}, QStringLiteral("Degrees"));
        d.ProjScaleX = d.ProjScaleY = 1;
        d.CentralMeridian = float(DegRad(-100, true));
        d.ProjectionName = projection_names::TransverseMercator;
        const PointExportOptions o{.columnOrder = QStringLiteral("xyz"), .tab = false, .contact = {}};
        QCOMPARE(exportfmt::buildPointExport(d, o), QStringList{"-95.00000, 40.00000, 2.00"});
        seconddata::readSecondDataSet(testsupport::fileBytes(secondFile("degrees.vlm")), d); // isopachs (-95, 40)
        QVERIFY(!d.OtherStructural && d.OtherCount == 2 && d.OtherDatCount == 2 && d.OtherConCount == 0);
        QCOMPARE(d.OtherPoints[1].X, 0.066864642f);
        QCOMPARE(d.OtherPoints[1].Y, 0.700009638f);
        QCOMPARE(d.OtherPoints[2].Z, -3.0f);
        d.ProjectionName = projection_names::StandardMercator;
        d.DatumPoints[1].Y = 0.549306144f;
        QCOMPARE(exportfmt::buildPointExport(d, o), QStringList{"0.06686, 30.00000, 2.00"});
    }

    // The converter reads plain decimals: no value goes in exponent form.
    void converterInputFile() {
        const Document d = documentOf(QStringLiteral("1000.5,2000,12.25"), QStringLiteral("1.23e-5,1.2345679e8,-2.8689473e-9"));
        QCOMPARE(converter::inputFileText(d), "1,1000.5,2000,12.25\r\n1,.0000123,123456790,-.0000000028689473\r\n");
    }

    // The combinations of exchange/combine.txt, each value computed by hand.
    void combine_data() { testsupport::addFileRows(QStringLiteral("exchange/combine.txt")); }
    void combine() {
        const testsupport::Fields r = testsupport::rowFields();
        Document d = documentOf(QStringLiteral("0,0,100"));
        d.OtherPoints = pointsOf(r.str(0));
        d.OtherCount = int(d.OtherPoints.size()) - 1;
        combination::combinePoints(d, r.flag(1), r.whole(2));
        QVERIFY(d.DatumPoints[1].Combined && d.DataChanged);
        QCOMPARE(QString::number(d.DatumPoints[1].Z, 'g', 6), r.str(3));
    }
};

class ExportCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { dialogs().clear(); }

    // The points through the column dialog; an export whose text cannot be
    // made (the title, from a project name too short) leaves the earlier file
    // whole; one contact asked for; the map area as an image.  While the plot
    // is shown: the grid; an image that cannot be written is reported.
    void exports() {
        auto w = documentWithPoints();
        QTemporaryDir tmp;
        const QString out = tmp.filePath(QStringLiteral("points.dat")), jpg = tmp.filePath(QStringLiteral("map.jpg"));
        const auto& p = dialogs().prompts;
        const auto exportAs = [&](const QString& text, const QString& contact = {}) {
            dialogs().queue(out);
            dialogs().queue(dlg::WindowScript([text](QDialog* dialog) { // xyz, comma rows
                auto* f = static_cast<ColumnDialog*>(dialog);
                for (OptionButton* o : {f->optLong[0], f->optLat[1], f->optData[2], f->optComma}) o->setValue(true);
                f->chkHead->setChecked(!text.isEmpty());
                f->txtLine->setText(text);
                f->cmdOK_Click();
                return int(QDialog::Accepted);
            }));
            if (!contact.isEmpty()) dialogs().queue(contact);
            w->exportCommands->mnuFileExportData_Click();
        };
        exportAs(QStringLiteral("Elev"));
        QCOMPARE(p[0].title + '|' + p[0].defaultText, "Export Data|/data/Lakes.dat");
        const QStringList written{"Lakes Exported Data: ", "", "East.         North.        Elev", QString(39, u'='), "",
                                  "100.00, 900.00, 10.00", "200.00, 900.00, 12.50", "300.00, 800.00, 14.00",
                                  "400.00, 600.00, 20.00", "500.00, 500.00, 22.00"};
        QCOMPARE(fileLines(out), written);
        w->doc.DataFileName = QStringLiteral("ab");
        exportAs(QStringLiteral("Elev"));
        QCOMPARE(p.back().text, "Error exporting data: Invalid procedure call or argument");
        QCOMPARE(fileLines(out), written);
        w->doc.DataFileName = QStringLiteral("/data/Lakes.vlm");
        w->optRock->setEnabled(true);
        w->optRock->setValue(true);
        w->doc.ContactShown = QStringLiteral("14");
        exportAs({}, QStringLiteral("14"));
        QCOMPARE(p.back().title + '|' + p.back().defaultText, "Vexolan Export|14");
        QCOMPARE(fileLines(out), QStringList{"300.00, 800.00, 14"});

        QImage map(400, 400, QImage::Format_RGB32);
        map.fill(Qt::darkGreen);
        w->imPoints->setPicture(map);
        dialogs().queue(jpg);
        w->exportCommands->mnuFileExportMap_Click();
        QCOMPARE(p.back().title + '|' + p.back().defaultText, "Save Map Image File|/data/Lakes.jpg");
        QVERIFY(QImage(jpg).size() == QSize(400, 400) && qGreen(QImage(jpg).pixel(200, 200)) > 80);

        w->optStruc->setValue(true);
        w->picMap->setVisible(true);
        w->doc.GridCols = w->doc.GridRows = 2;
        w->doc.ContourGrid.resize(2, 2);
        for (int i = 1; i <= 2; ++i)
            for (int j = 1; j <= 2; ++j) {
                w->doc.ContourGrid.at(i, j) = {0, i * 100.0f, j * 100.0f, i + j + 0.25f, false};
                w->doc.ContourGrid.setComputed(i, j);
            }
        dialogs().clear();
        dialogs().queue(out);
        w->exportCommands->mnuFileExportData_Click();
        QCOMPARE(p.size() == 1 ? p[0].defaultText : "a column dialog", "/data/Lakes-Contours.dat");
        QCOMPARE(testsupport::fileBytes(out), "100.0         100.0         2.3\r\n100.0         200.0         3.3\r\n"
                                              "200.0         100.0         3.3\r\n200.0         200.0         4.3\r\n");
        w->picMap->setPicture(QImage(123, 77, QImage::Format_RGB32));
        dialogs().queue(tmp.filePath(QStringLiteral("missing/plot.jpg")));
        w->exportCommands->mnuFileExportMap_Click();
        QVERIFY(p.back().text.startsWith("mnuFileExport error: \n\n"));
    }

    // The grid of a map in degrees: its nodes are written as longitude and
    // latitude with five decimals, as the points are, so each keeps its
    // position, and the nodes outside the data window, which the gridding
    // leaves, are not written.  A 10 x 10 grid
    // over X -0.25..0.25 and Y 0.3..-0.2 (nodes every 0.5 / 11) on points
    // spanning X -0.1..0.1 and Y 0..0.2: columns 4 to 7, rows 3 to 6.
    void gridExportInDegrees() {
        QTemporaryDir tmp;
        auto w = maptest::windowWithMap(maptest::writeMap(tmp, QStringLiteral("tm.png"), 400, 400));
        testsupport::registerLinear(*w);
        Document& d = w->doc;
        d.ProjectionName = projection_names::TransverseMercator;
        d.CoordUnits = QStringLiteral("Degrees");
        w->mnuCoordDegrees->setChecked(true);
        d.MapOriginX = -0.25f;
        d.MapOriginY = 0.3f;
        d.MapSpanX = d.MapSpanY = 0.5f;
        d.ProjScaleX = d.ProjScaleY = 1;
        d.CentralMeridian = d.CentralParallel = 0;
        d.ContourDetail = 10;
        w->optStruc->setValue(true);
        const float points[][3] = {{-0.1f, 0, 5006}, {0.1f, 0.2f, 5010}, {-0.1f, 0.2f, 5008},
                                   {0.1f, 0, 5007},  {0, 0.1f, 5009},    {0.05f, 0.15f, 5010}};
        for (int n = 0; n < 6; ++n) maptest::addPoint(*w, true, n + 1, points[n][0], points[n][1], points[n][2]);
        for (QWidget* c : std::initializer_list<QWidget*>{w->txtConDet, w->optMed, w->cmdShow}) c->setEnabled(true);
        w->optMed->setValue(true);
        w->cmdShow->click();
        QVERIFY(w->picMap->isVisible() && d.ContoursCurrent && d.GridCols == 10 && d.GridRows == 10);
        const QString out = tmp.filePath(QStringLiteral("grid.dat"));
        dialogs().clear();
        dialogs().queue(out);
        w->exportCommands->mnuFileExportData_Click();
        const QStringList rows = fileLines(out);
        QSet<QString> positions;
        for (const QString& row : rows) {
            QCOMPARE(row.size(), 34);
            const double z = row.mid(28).toDouble();
            QVERIFY2(z >= 5006 && z <= 5010 && row.mid(28).contains(QRegularExpression("^\\d+\\.\\d$")), qPrintable(row));
            positions << row.left(28);
        }
        QCOMPARE(rows.size(), 16);
        QCOMPARE(positions.size(), 16);
        // Longitude and latitude of the nodes at map (-3/44, 9/55),
        // (-3/44, 13/110), (-1/44, 9/55) and (3/44, 3/110), from PROJ's
        // invproj +proj=tmerc +R=1 +k_0=1.
        QCOMPARE(rows.first().left(28), "-3.95619      9.35373       ");
        QCOMPARE(rows[1].left(28), "-3.93084      6.75554       ");
        QCOMPARE(rows[4].left(28), "-1.31969      9.37323       ");
        QCOMPARE(rows.last().left(28), "3.90495       1.55899       ");
    }

    // A damaged second file is refused with its reason and leaves the set
    // opened before (or none) as it was; the same file again is "already
    // open".  Structural minus structural data gives isopachs; a plotted point
    // on a second-set point takes its value and the run goes on; the document
    // is marked changed; a second run changes no value.  Mended, the damaged
    // file opens and clears every combined mark.
    void secondDataSetAndCombination() {
        auto w = documentWithPoints();
        Document& d = w->doc;
        d.DatumPoints[2].X = d.DatumPoints[2].Y = 700;
        QTemporaryDir tmp;
        // Six structural points of value 4: every weighted mean of them is 4;
        // the damaged copy has "abc" for the sixth one's Y.
        const QString good = secondFile("Basin.vlm"), bad = tmp.filePath(QStringLiteral("Bad.vlm"));
        QFile::copy(secondFile("Bad.vlm"), bad);
        const auto& p = dialogs().prompts;
        const auto open = [&](const QString& path) {
            dialogs().queue(path);
            w->exportCommands->mnuFileOpenDat_Click();
        };
        const QString refused = QStringLiteral("mnuFileOpenDat error: \n\nBad.vlm: Type mismatch in line 18: \"abc\"");
        const QString tail = QStringLiteral("(only affects those points that have not been previously combined)");
        open(bad);
        QCOMPARE(p[0].title + '|' + p[0].filter + '|' + p[1].text, "Open Data File|Map Data Files (*.vlm)|*.vlm||" + refused);
        QVERIFY(!d.OtherDataOpen && d.OtherDataFileName.isEmpty() && !w->cmdConDat[0]->isEnabled());
        open(good);
        QVERIFY(d.OtherDataOpen && d.OtherStructural && d.OtherCount == 6 && w->cmdConDat[1]->isEnabled());
        QCOMPARE(w->cmdConDat[0]->toolTip() + '|' + w->cmdConDat[1]->toolTip(),
                 "Subtract structural data from plotted points  " + tail + "|Add structural data to plotted points  " + tail);
        open(good);
        QCOMPARE(p.back().text, "File already open");
        open(bad);
        QCOMPARE(p.back().text, refused);
        QVERIFY(d.OtherDataFileName == good && d.OtherCount == 6 && w->cmdConDat[0]->isEnabled());
        QCOMPARE(w->panel(2), "Data:  Lakes (Basin.vlm data open)");

        w->txtMin->setText(QStringLiteral("100"));
        w->txtMax->setText(QStringLiteral("5"));
        d.ContoursCurrent = d.DataChanged = false;
        dialogs().clear();
        w->exportCommands->cmdConDat_Click(0);
        QVERIFY(p.empty() && d.DataChanged && !d.ContoursCurrent && !d.MapBusy);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5").arg(d.DatumPoints[1].Z).arg(d.DatumPoints[2].Z).arg(d.DatumPoints[3].Z)
                     .arg(d.ContourPoints[1].Z).arg(d.ContourPoints[2].Z), "6 8.5 10 16 18");
        QCOMPARE(w->txtMin->text() + ' ' + w->txtMax->text() + '|' + d.DataTitle, "6 18|Lakes--converted");
        QVERIFY(d.ContourPoints[2].Combined && w->optIso->isChecked() && !w->optStruc->isEnabled() && !w->cmdConDat[0]->isEnabled());
        d.DataChanged = false;
        w->exportCommands->cmdConDat_Click(1);
        QVERIFY(d.DatumPoints[1].Z == 6 && !d.DataChanged && d.DataTitle == "Lakes--converted--converted");
        // A failure no handler here expects goes on to the application, but the
        // window it leaves is usable, and the next combination runs.
        const auto pump = MainWindow::DoEvents;
        MainWindow::DoEvents = [] { throw std::runtime_error("pump failed"); };
        d.DatumPoints[1].Combined = false;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, w->exportCommands->cmdConDat_Click(1));
        MainWindow::DoEvents = pump;
        QVERIFY(!d.MapBusy && !w->ProgressBar1->isVisible() && !w->exportCommands->labCalc->isVisible());
        QVERIFY(w->cmdShow->isEnabled() && w->cmdConRun->isEnabled() && w->cursor().shape() != Qt::WaitCursor);
        w->exportCommands->cmdConDat_Click(1);
        QVERIFY(d.DatumPoints[1].Combined && d.DatumPoints[1].Z == 10);

        // Another file: every combined mark is cleared.
        legacy::writeFileAtomically(bad, testsupport::fileBytes(secondFile("mended.vlm"))); // one isopach of 5
        open(bad);
        QVERIFY(p.back().kind == dlg::Prompt::Kind::Open && d.OtherDataFileName == bad && !d.OtherStructural);
        QVERIFY(!d.DatumPoints[1].Combined && d.OtherPoints[1].Z == 5);
        QCOMPARE(w->cmdConDat[0]->toolTip() + '|' + w->cmdConDat[1]->toolTip(),
                 "Subtract isopach data from plotted points " + tail + "|Add isopach data to plotted points  " + tail);
    }

    // Save Conversion is offered once the converter has ended and its output
    // is there, or, for a converter that hands its work to another program
    // and ends at once, when that output appears.  The folder of converted
    // data is made on first use.
    void converter_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("slow");
        QTest::newRow("writes, then ends") << "writes-then-ends.sh" << true;
        QTest::newRow("hands over and ends at once") << "hands-over.sh" << false;
    }
    void converter() {
        QFETCH(QString, script);
        QFETCH(bool, slow);
        auto w = documentWithPoints();
        w->doc.DataTitle = QStringLiteral("Lakes \u2192 \u0141\u00F3d\u017A"); // beyond the code page: UTF-8
        QTemporaryDir tmp;
        const QString conv = tmp.filePath(QStringLiteral("CorpsCon/")), cwd = QDir::currentPath();
        putConverter(conv, script);
        w->app.DataFolder = tmp.filePath(QStringLiteral("Data/"));
        legacy::writeFileAtomically(conv + "DATA-OUT.DAT", "stale");
        w->exportCommands->converterFolder = conv;
        w->exportCommands->cmdConRun_Click();
        QCOMPARE(fileLines(conv + "Data-in.dat").join(u' '), "1,100,900,10 2,200,900,12.5 3,300,800,14 1,400,600,20 2,500,500,22");
        if (slow) {
            // Half written while the converter still runs: not offered yet.
            QTRY_COMPARE_WITH_TIMEOUT(testsupport::fileBytes(conv + "DATA-OUT.DAT").count('\n'), 10, 10000);
            w->exportCommands->checkConverterOutput();
            QVERIFY(!w->cmdConSave->isEnabled());
        }
        legacy::writeFileAtomically(conv + "go", "");
        QTRY_VERIFY_WITH_TIMEOUT(w->cmdConSave->isEnabled(), 10000);
        // The converter ran in its own folder; the program's stays where it was.
        QCOMPARE(QDir::currentPath(), cwd);
        QVERIFY(dialogs().prompts.empty());
        dialogs().queue(dlg::Answer::No);
        w->exportCommands->cmdConSave_Click();
        QCOMPARE(dialogs().prompts[0].text, "Save Lat-Long data <yes> or meter/feet data <no>?");
        QVERIFY(!QFile::exists(conv + "Data-in.dat") && !QFile::exists(conv + "DATA-OUT.DAT") && !w->cmdConSave->isEnabled());
        const QStringList result = fileLines(tmp.filePath("Data/Dat Files/" + w->doc.DataTitle + ".dat"));
        QCOMPARE(QString::number(result.size()) + '|' + result[0] + '|' + result[3] + '|' + result[5] + '|' + result[9],
                 "10|" + w->doc.DataTitle + '|' + QString(38, u'=') + "|100.3         900.0         10.0|500.3         500.0         22.0");
    }

    // A converter missing, out of reach or ending with an error is reported
    // with the path or its own last words.
    void converterFailures() {
        auto w = documentWithPoints();
        QTemporaryDir tmp;
        const QString cwd = QDir::currentPath(), at = tmp.path() + u'/';
        const auto& p = dialogs().prompts;
        putConverter(at + "failing/", "failing.sh");
        for (const QString& folder : {at, at + "nowhere/", at + "failing/"}) {
            w->exportCommands->converterFolder = folder;
            w->exportCommands->cmdConRun_Click();
        }
        QTRY_COMPARE_WITH_TIMEOUT(p.size(), size_t(3), 10000);
        QCOMPARE(QDir::currentPath(), cwd);
        QCOMPARE(p[0].text + '|' + p[1].text + '|' + p[2].text,
                 "cmdConRun error: \n\nThe coordinate converter is not installed: " + at + "corpscon.exe|"
                 "cmdConRun error: \n\nPath not found: " + at + "nowhere/|"
                 "cmdConRun error: \n\nThe coordinate converter ended with exit code 3.\n"
                 "problem 3\nproblem 4\nproblem 5\nproblem 6\nproblem 7");
        QCOMPARE(fileLines(at + "Data-in.dat").size(), 5); // written before the converter was looked for
        w->exportCommands->checkConverterOutput();
        QVERIFY(!w->cmdConSave->isEnabled());

        // The result cannot be written (no folder can be made under a file):
        // the converter's files and the button stay.
        w->exportCommands->converterFolder = at;
        w->app.DataFolder = at + "Data/";
        w->cmdConSave->setEnabled(true);
        legacy::writeFileAtomically(at + "Data", "");
        legacy::writeFileAtomically(at + "DATA-OUT.DAT", "a,b,c,d,e,f,g,h\r\n" + QByteArray("1,2,3,4\r\n").repeated(5));
        dialogs().queue(dlg::Answer::Yes);
        w->exportCommands->cmdConSave_Click();
        QCOMPARE(p.back().text, "cmdConSave error: \n\nPath not found: " + at + "Data/Dat Files");
        QVERIFY(w->cmdConSave->isEnabled() && QFile::exists(at + "DATA-OUT.DAT") && QFile::exists(at + "Data-in.dat"));
    }
};

VEX_TEST(ExchangeFilesTest);
VEX_TEST(ExportCommandsTest);
#include "ExportTest.moc"
