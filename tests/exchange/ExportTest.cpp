// The export file text, the combination with the second data set, the
// reading of a second data file and the converter's files; then the export,
// second data set, combination and converter commands on the real window.
#include "common/TestRegistry.h"
#include "digitize/DigitizeFixture.h"
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

// A second data file of the kind ("Structural" or "Isopach") with the counts
// line and the datum rows (number, Y, X, Z) given.
QByteArray secondFile(const char* kind, const QByteArray& counts, const QByteArray& rows) {
    return "Basin\r\n\r\nmap.jpg\r\n 2000  1500  1000  1000  0  100 Linear Coordinates:Meters\r\n 0  0  0  0  1  1\r\n"
           " 0  0  1000  1000  0  0\r\n\r\n" + QByteArray(kind) + " datum/contour points and contour detail:\r\n" +
           counts + "\r\n\r\nNumber Y X Z\r\n=====\r\n" + rows;
}

QStringList fileLines(const QString& path) { return legacy::splitLines(legacy::decodeLatin1(legacy::readFileBytes(path))); }

// A linear structural window "Lakes" with the datum points (100, 900, 10),
// (200, 900, 12.5), (300, 800, 14) and the contour points (400, 600, 20),
// (500, 500, 22), recorded on the map.
std::unique_ptr<MainWindow> documentWithPoints() {
    auto w = testsupport::startMainWindow();
    digitize_fixture::registerLinear(*w);
    w->optStruc->setValue(true);
    w->optDat->setValue(true);
    const double at[][2] = {{600, 600}, {1200, 600}, {1800, 1200}, {2400, 2400}, {3000, 3000}};
    const char* values[] = {"10", "12.5", "14", "20", "22"};
    for (int i = 0; i < 5; ++i) {
        if (i == 3) w->optCon->setValue(true);
        digitize_fixture::record(*w, at[i][0], at[i][1], QLatin1String(values[i]));
    }
    dialogs().clear();
    return w;
}

// A stand-in converter: a shell script in the converter's folder.
void writeConverter(const QString& folder, const QByteArray& body) {
    QDir().mkpath(folder);
    legacy::writeFileAtomically(folder + QStringLiteral("corpscon.exe"), "#!/bin/sh\n" + body);
    QFile::setPermissions(folder + QStringLiteral("corpscon.exe"), QFile::ReadOwner | QFile::ExeOwner);
}

// Answers the column dialog of an export: xyz, comma rows, the header with
// the data text `text` when it is not empty.
dlg::WindowScript exportColumns(const QString& text) {
    return [text](QDialog* dialog) {
        auto* f = static_cast<ColumnDialog*>(dialog);
        for (OptionButton* o : {f->optLong[0], f->optLat[1], f->optData[2], f->optComma}) o->setValue(true);
        f->chkHead->setChecked(!text.isEmpty());
        f->txtLine->setText(text);
        f->cmdOK_Click();
        return int(QDialog::Accepted);
    };
}

} // namespace

class ExchangeFilesTest : public QObject {
    Q_OBJECT
private slots:
    // The point file of a document holding the datum point (1, 3, 2) and the
    // contour point (5, 6, 7).  Flags: t tab rows, h header, c contact data, u
    // the data text "Unit".
    void pointExport() {
        const QString head = QStringLiteral("site Exported Data: ||"), eq39 = '|' + QString(39, u'=') + "||";
        const struct {
            const char *units, *code, *flags, *contact;
            QString lines;
        } rows[] = {
            {"Meters", "xyz", "", "", "1.00, 3.00, 2.00|5.00, 6.00, 7.00"},
            {"Degrees", "zxy", "h", "", head + "Data          Long.         Lat." + eq39 + "2.00, 1.00000, 3.00000|7.00, 5.00000, 6.00000"},
            {"Meters", "xy0", "th", "", head + "East.         North.|" + QString(24, u'=') + "||1.00          3.00|5.00          6.00"},
            {"Meters", "z00", "h", "", head}, // no rows outside the six codes
            {"Meters", "xyz", "c", "", "1.00, 3.00, 2|5.00, 6.00, 7"},
            {"Meters", "xyz", "c", "2", "1.00, 3.00, 2"},
            {"Meters", "xyz", "c", "7", ""}, // a contour point belongs to no contact
            {"Meters", "z00", "ch", "", "site Exported Data: All Data||"},
            {"Meters", "z00", "chu", "", "site Exported Data: All Unit(s)||"},
            {"Meters", "z00", "chu", "2", "site Exported Data: Unit 2||"}};
        for (const auto& r : rows) {
            Document d = documentOf(QStringLiteral("1,3,2"), QStringLiteral("5,6,7"), QLatin1String(r.units));
            const QLatin1String flags(r.flags);
            const PointExportOptions o{.columnOrder = QLatin1String(r.code),
                                       .header = flags.contains(u'h'),
                                       .tab = flags.contains(u't'),
                                       .dataText = flags.contains(u'u') ? "Unit" : "Data",
                                       .contacts = flags.contains(u'c'),
                                       .contact = *r.contact ? std::optional<QString>(QLatin1String(r.contact)) : std::nullopt};
            QCOMPARE(exportfmt::buildPointExport(d, o).join(u'|'), r.lines);
        }
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
        seconddata::readSecondDataSet(secondFile("Isopach", " 2  0  50", "1,40,-95,12\r\n2,40,-95,-3\r\n"), d);
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

    // The plotted point at the origin with value 100, spans 1000 x 1000: the
    // mean of the six nearest second-set points closer than 2000, weighted by
    // their inverse distance, an empty slot counting at 2000 with value 0; a
    // second-set point on the plotted point gives its value (the first of
    // several).  Distances 5, 1, 2, 4, 10, 10, 10; values 10, 30, 40, 20, 50,
    // 60, 70.
    void combine() {
        const QStringList near = QStringLiteral("3,4,10 1,0,30 0,2,40 0,-4,20 -10,0,50 6,8,60 0,10,70").split(u' ');
        const struct {
            QString other;
            bool iso;
            int button;
        } rows[] = {{near[0] + " 5000,0,999", false, 0}, // 100 - (10/5) / (1/5 + 5/2000) = 100 - 2 / 0.2025
                    {near.mid(0, 2).join(u' '), false, 0}, // 100 - (2 + 30/1) / (0.2 + 1 + 4/2000) = 100 - 32 / 1.202
                    {near.mid(0, 3).join(u' '), false, 0}, // 100 - (32 + 40/2) / (1.2 + 1/2 + 3/2000) = 100 - 52 / 1.7015
                    {near.mid(0, 4).join(u' '), false, 0}, // 100 - (52 + 20/4) / (1.7 + 1/4 + 2/2000) = 100 - 57 / 1.951
                    {near.mid(0, 5).join(u' '), false, 0}, // 100 - (57 + 50/10) / (1.95 + 1/10 + 1/2000) = 100 - 62 / 2.0505
                    {near.join(u' '), false, 0},           // the seventh left out: 100 - (62 + 60/10) / 2.15
                    {"2,2,6 0,0,30 1.5,1,9 0,0,5", false, 0},
                    {"0,0,30", false, 1},
                    {"0,0,30", true, 0},
                    {"0,0,30", true, 1}};
        QStringList got;
        for (const auto& r : rows) {
            Document d = documentOf(QStringLiteral("0,0,100"));
            d.OtherPoints = pointsOf(r.other);
            d.OtherCount = int(d.OtherPoints.size()) - 1;
            combination::combinePoints(d, r.iso, r.button);
            QVERIFY(d.DatumPoints[1].Combined && d.DataChanged);
            got << QString::number(d.DatumPoints[1].Z, 'g', 6);
        }
        QCOMPARE(got.join(u' '), "90.1235 73.3777 69.4387 70.7842 69.7635 68.3721 70 130 -70 130");
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
            dialogs().queue(exportColumns(text));
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
        QCOMPARE(QImage(jpg).size(), QSize(400, 400));
        QVERIFY(qGreen(QImage(jpg).pixel(200, 200)) > 80);

        w->optStruc->setValue(true);
        w->picMap->setVisible(true);
        w->doc.GridCols = w->doc.GridRows = 2;
        w->doc.ContourGrid.resize(2, 2);
        for (int i = 1; i <= 2; ++i)
            for (int j = 1; j <= 2; ++j) w->doc.ContourGrid.at(i, j) = {0, i * 100.0f, j * 100.0f, i + j + 0.25f, false};
        dialogs().clear();
        dialogs().queue(out);
        w->exportCommands->mnuFileExportData_Click();
        QCOMPARE(p.size(), size_t(1)); // no column dialog
        QCOMPARE(p[0].defaultText, "/data/Lakes-Contours.dat");
        QCOMPARE(fileLines(out).join(u'|'), "100.0         100.0         2.3|100.0         200.0         3.3|"
                                            "200.0         100.0         3.3|200.0         200.0         4.3");
        w->picMap->setPicture(QImage(123, 77, QImage::Format_RGB32));
        dialogs().queue(tmp.filePath(QStringLiteral("missing/plot.jpg")));
        w->exportCommands->mnuFileExportMap_Click();
        QVERIFY(p.back().text.startsWith("mnuFileExport error: \n\n"));
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
        const QString good = tmp.filePath(QStringLiteral("Basin.vlm")), bad = tmp.filePath(QStringLiteral("Bad.vlm"));
        // Six points of value 4: every weighted mean of them is 4.
        const QByteArray rows = "1,0,0,4\r\n2,1000,0,4\r\n3,0,1000,4\r\n4,1000,1000,4\r\n5,500,500,4\r\n6,700,700,4\r\n";
        legacy::writeFileAtomically(good, secondFile("Structural", " 6  0  50", rows));
        legacy::writeFileAtomically(bad, secondFile("Structural", " 6  0  50", QByteArray(rows).replace("6,700,", "6,abc,")));
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
        legacy::writeFileAtomically(bad, secondFile("Isopach", " 1  0  50", "1,1000,0,5\r\n"));
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
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<bool>("slow");
        // Eight heading lines, then each input record with its X shifted.
        const QByteArray output = "{ for i in 1 2 3 4 5 6 7 8; do echo \"Heading $i\"; done\n"
                                  "  tr -d '\\r' < Data-in.dat | while IFS=, read n x y z; do echo \"$n,$x.25,$y,$z\"; done\n"
                                  "} > out.tmp\n";
        const QByteArray waitForGo = "i=0; while [ ! -e go ] && [ $i -lt 400 ]; do sleep 0.05; i=$((i+1)); done\n";
        QTest::newRow("writes, then ends")
            << output + "head -n 10 out.tmp > DATA-OUT.DAT\n" + waitForGo + "tail -n +11 out.tmp >> DATA-OUT.DAT\n" << true;
        QTest::newRow("hands over and ends at once")
            << "(" + waitForGo + output + "mv out.tmp DATA-OUT.DAT) </dev/null >/dev/null 2>&1 &\n" << false;
    }
    void converter() {
        QFETCH(QByteArray, script);
        QFETCH(bool, slow);
        auto w = documentWithPoints();
        QTemporaryDir tmp;
        const QString conv = tmp.filePath(QStringLiteral("CorpsCon/")), cwd = QDir::currentPath();
        writeConverter(conv, script);
        w->app.DataFolder = tmp.filePath(QStringLiteral("Data/"));
        legacy::writeFileAtomically(conv + "DATA-OUT.DAT", "stale");
        w->exportCommands->converterFolder = conv;
        w->exportCommands->cmdConRun_Click();
        QCOMPARE(QDir::currentPath(), QDir(conv).absolutePath());
        QDir::setCurrent(cwd);
        QCOMPARE(fileLines(conv + "Data-in.dat").join(u' '), "1,100,900,10 2,200,900,12.5 3,300,800,14 1,400,600,20 2,500,500,22");
        if (slow) {
            // Half written while the converter still runs: not offered yet.
            QTRY_COMPARE_WITH_TIMEOUT(testsupport::fileBytes(conv + "DATA-OUT.DAT").count('\n'), 10, 10000);
            w->exportCommands->checkConverterOutput();
            QVERIFY(!w->cmdConSave->isEnabled());
        }
        legacy::writeFileAtomically(conv + "go", "");
        QTRY_VERIFY_WITH_TIMEOUT(w->cmdConSave->isEnabled(), 10000);
        QVERIFY(dialogs().prompts.empty());
        dialogs().queue(dlg::Answer::No);
        w->exportCommands->cmdConSave_Click();
        QCOMPARE(dialogs().prompts[0].text, "Save Lat-Long data <yes> or meter/feet data <no>?");
        QVERIFY(!QFile::exists(conv + "Data-in.dat") && !QFile::exists(conv + "DATA-OUT.DAT") && !w->cmdConSave->isEnabled());
        const QStringList result = fileLines(tmp.filePath(QStringLiteral("Data/Dat Files/Lakes.dat")));
        QCOMPARE(QString::number(result.size()) + '|' + result[0] + '|' + result[3] + '|' + result[5] + '|' + result[9],
                 "10|Lakes|" + QString(38, u'=') + "|100.3         900.0         10.0|500.3         500.0         22.0");
    }

    // A converter missing, out of reach or ending with an error is reported
    // with the path or its own last words.
    void converterFailures() {
        auto w = documentWithPoints();
        QTemporaryDir tmp;
        const QString cwd = QDir::currentPath(), at = tmp.path() + u'/';
        const auto& p = dialogs().prompts;
        writeConverter(at + "failing/", "for i in 1 2 3 4 5 6 7; do echo \"problem $i\" >&2; done\nexit 3\n");
        for (const QString& folder : {at, at + "nowhere/", at + "failing/"}) {
            w->exportCommands->converterFolder = folder;
            w->exportCommands->cmdConRun_Click();
            QDir::setCurrent(cwd);
        }
        QTRY_COMPARE_WITH_TIMEOUT(p.size(), size_t(3), 10000);
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
