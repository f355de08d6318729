// The export, second data set, combination and converter commands, driven
// through the real main window with scripted dialogs.
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "digitize/DigitizeFixture.h"
#include "document/Legacy.h"
#include "document/ProjectFile.h"
#include "exchange/ColumnDialog.h"
#include "exchange/ExportCommands.h"

#include <QDir>
#include <stdexcept>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace digitize_fixture;

namespace {

QStringList fileLines(const QString& path) {
    return legacy::splitLines(legacy::decodeLatin1(legacy::readFileBytes(path)));
}

// A linear structural document with three datum and two contour points.
std::unique_ptr<MainWindow> documentWithPoints() {
    auto w = startWindow();
    registerLinear(*w);
    w->optStruc->setValue(true);
    w->optDat->setValue(true);
    record(*w, 600, 600, QStringLiteral("10"));     // (100, 900)
    record(*w, 1200, 600, QStringLiteral("12.5"));  // (200, 900)
    record(*w, 1800, 1200, QStringLiteral("14"));   // (300, 800)
    w->optCon->setValue(true);
    record(*w, 2400, 2400, QStringLiteral("20"));   // (400, 600)
    record(*w, 3000, 3000, QStringLiteral("22"));   // (500, 500)
    testsupport::dialogs().clear();
    return w;
}

// A second project file of the given kind: a square of values around the
// first points, in metres.
QString writeSecondFile(const QString& folder, const QString& name, std::optional<DataKind> kind, float z) {
    Document f;
    f.DataTitle = QStringLiteral("Basin");
    f.ProjectionName = QStringLiteral("Linear Coordinates");
    f.CoordUnits = QStringLiteral("Meters");
    f.DatumPoints.assign(1, DataPoint{});
    const float xy[][2] = {{0, 1000}, {1000, 1000}, {0, 0}, {1000, 0}, {500, 1000}, {0, 500}, {700, 700}};
    for (const auto& p : xy) f.DatumPoints.push_back({int16_t(f.DatumPoints.size()), p[0], p[1], z, false});
    f.DatCount = int(f.DatumPoints.size()) - 1;
    ProjectControls c;
    c.kind = kind;
    const QString path = folder + u'/' + name;
    legacy::writeFileAtomically(path, writeProjectFile(f, c));
    return path;
}

// A stand-in converter: a shell script in the converter's folder.
void writeConverter(const QString& folder, const QByteArray& body) {
    QVERIFY(QDir().mkpath(folder));
    QFile script(folder + QStringLiteral("corpscon.exe"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n" + body);
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The column dialog answered with the columns x, y and z in comma rows, with
// or without the header, under the data text given ("" keeps the dialog's).
dlg::WindowScript xyzColumns(bool header, const QString& dataText = {}) {
    return dlg::WindowScript([header, dataText](QDialog* dialog) {
        auto* f = static_cast<ColumnDialog*>(dialog);
        f->optLong[0]->setValue(true);
        f->optLat[1]->setValue(true);
        f->optData[2]->setValue(true);
        f->optComma->setValue(true);
        f->chkHead->setChecked(header);
        if (!dataText.isEmpty()) f->txtLine->setText(dataText);
        f->cmdOK_Click();
        return int(QDialog::Accepted);
    });
}

} // namespace

class ExportCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::dialogs().clear(); }

    // ---- converter exchange ----
    // Save Conversion is offered once the converter has ended and its output
    // is there, or, for a converter that hands its work to another program
    // and ends at once, when that output appears.  The folder of converted
    // data is made on first use.
    void converterRoundTripWithStandIn_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<bool>("slow");
        // Eight heading lines, then each input record with its X shifted.
        const QByteArray output = "{ for i in 1 2 3 4 5 6 7 8; do echo \"Heading $i\"; done\n"
                                  "  tr -d '\\r' < Data-in.dat | while IFS=, read n x y z; do echo \"$n,$x.25,$y,$z\"; done\n"
                                  "} > out.tmp\n";
        const QByteArray waitForGo = "i=0; while [ ! -e go ] && [ $i -lt 400 ]; do sleep 0.05; i=$((i+1)); done\n";
        QTest::newRow("writes, then ends") << output + "head -n 10 out.tmp > DATA-OUT.DAT\n" + waitForGo +
                                                  "tail -n +11 out.tmp >> DATA-OUT.DAT\n"
                                           << true;
        QTest::newRow("hands over and ends at once")
            << "(" + waitForGo + output + "mv out.tmp DATA-OUT.DAT) </dev/null >/dev/null 2>&1 &\n" << false;
    }
    void converterRoundTripWithStandIn() {
        QFETCH(QByteArray, script);
        QFETCH(bool, slow);
        auto w = documentWithPoints();
        QTemporaryDir tmp;
        const QString conv = tmp.path() + QStringLiteral("/CorpsCon/");
        writeConverter(conv, script);
        w->app.DataFolder = tmp.path() + QStringLiteral("/Data/");
        legacy::writeFileAtomically(conv + QStringLiteral("DATA-OUT.DAT"), "stale");

        const QString cwd = QDir::currentPath();
        w->exportCommands->converterFolder = conv;
        w->cmdConRun->setEnabled(true);
        QVERIFY(!w->cmdConSave->isEnabled());
        w->exportCommands->cmdConRun_Click();
        QCOMPARE(QDir::currentPath(), QDir(conv).absolutePath());
        QDir::setCurrent(cwd);
        QVERIFY(testsupport::dialogs().prompts.empty());
        QCOMPARE(fileLines(conv + QStringLiteral("Data-in.dat")),
                 (QStringList{"1,100,900,10", "2,200,900,12.5", "3,300,800,14", "1,400,600,20", "2,500,500,22"}));
        if (slow) {
            // Half written while the converter still runs: not offered yet.
            QTRY_COMPARE_WITH_TIMEOUT(testsupport::fileBytes(conv + QStringLiteral("DATA-OUT.DAT")).count('\n'), 10,
                                      10000);
            w->exportCommands->checkConverterOutput();
            QVERIFY(!w->cmdConSave->isEnabled());
        }
        legacy::writeFileAtomically(conv + QStringLiteral("go"), "");
        QTRY_VERIFY_WITH_TIMEOUT(w->cmdConSave->isEnabled(), 10000);
        QCOMPARE(fileLines(conv + QStringLiteral("DATA-OUT.DAT")).size(), 13);

        testsupport::dialogs().queue(dlg::Answer::No);
        w->exportCommands->cmdConSave_Click();
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(1));
        QCOMPARE(testsupport::dialogs().prompts[0].text,
                 QStringLiteral("Save Lat-Long data <yes> or meter/feet data <no>?"));
        QCOMPARE(testsupport::dialogs().prompts[0].buttons, dlg::Buttons::YesNo);
        QVERIFY(!QFile::exists(conv + QStringLiteral("Data-in.dat")));
        QVERIFY(!QFile::exists(conv + QStringLiteral("DATA-OUT.DAT")));
        QVERIFY(!w->cmdConSave->isEnabled());
        const QStringList result = fileLines(tmp.path() + QStringLiteral("/Data/Dat Files/Lakes.dat"));
        QCOMPARE(result.size(), 10);
        QCOMPARE(result[0], QStringLiteral("Lakes"));
        QCOMPARE(result[3], QString(38, '='));
        QCOMPARE(result[5], QStringLiteral("100.3         900.0         10.0"));
        QCOMPARE(result[9], QStringLiteral("500.3         500.0         22.0"));
    }

    // A converter that is missing, cannot be reached or ends with an error
    // is reported, with the path or its own last words.
    void converterFailuresAreReported() {
        auto w = documentWithPoints();
        QTemporaryDir tmp;
        const QString cwd = QDir::currentPath();
        auto& p = testsupport::dialogs().prompts;
        auto run = [&](const QString& folder) {
            testsupport::dialogs().clear();
            w->exportCommands->converterFolder = folder;
            w->exportCommands->cmdConRun_Click();
            QDir::setCurrent(cwd);
        };
        run(tmp.path() + u'/');
        QCOMPARE(p.size(), size_t(1));
        QCOMPARE(p[0].text, QStringLiteral("cmdConRun error: \n\nThe coordinate converter is not installed: ") +
                                tmp.path() + QStringLiteral("/corpscon.exe"));
        QCOMPARE(p[0].icon, dlg::Icon::Information);
        // The input file was written before the converter was looked for.
        QCOMPARE(fileLines(tmp.path() + QStringLiteral("/Data-in.dat")).size(), 5);

        run(tmp.path() + QStringLiteral("/nowhere/"));
        QCOMPARE(p.size(), size_t(1));
        QCOMPARE(p[0].text, QStringLiteral("cmdConRun error: \n\nPath not found: ") + tmp.path() +
                                QStringLiteral("/nowhere/"));

        writeConverter(tmp.path() + QStringLiteral("/failing/"),
                       "for i in 1 2 3 4 5 6 7; do echo \"problem $i\" >&2; done\nexit 3\n");
        run(tmp.path() + QStringLiteral("/failing/"));
        QTRY_COMPARE_WITH_TIMEOUT(p.size(), size_t(1), 10000);
        QCOMPARE(p[0].text, QStringLiteral("cmdConRun error: \n\nThe coordinate converter ended with exit code 3.\n"
                                           "problem 3\nproblem 4\nproblem 5\nproblem 6\nproblem 7"));
        w->exportCommands->checkConverterOutput();
        QVERIFY(!w->cmdConSave->isEnabled());
    }

    // A failed Save Conversion names what is missing and keeps the button
    // and the converter's files, to be saved again.
    void saveConversionFailuresKeepTheButton_data() {
        QTest::addColumn<bool>("folderUnderAFile");
        QTest::addColumn<QByteArray>("output");   // empty: none written
        QTest::addColumn<QString>("message");
        QByteArray whole = "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\n";
        for (int i = 1; i <= 5; ++i) whole += "1,2,3,4\r\n";
        QTest::newRow("no folder can be made") << true << whole << "Path not found: TMP/Data/Dat Files";
        QTest::newRow("short output") << false << QByteArray("a,b,c,d,e,f,g,h\r\n1,2,3,4\r\n")
                                      << "Input past end of file";
        QTest::newRow("no output") << false << QByteArray() << "File not found: TMP/DATA-OUT.DAT";
    }
    void saveConversionFailuresKeepTheButton() {
        QFETCH(bool, folderUnderAFile);
        QFETCH(QByteArray, output);
        QFETCH(QString, message);
        auto w = documentWithPoints();
        QTemporaryDir tmp;
        w->exportCommands->converterFolder = tmp.path() + u'/';
        if (folderUnderAFile) legacy::writeFileAtomically(tmp.path() + QStringLiteral("/Data"), "");
        w->app.DataFolder = tmp.path() + QStringLiteral("/Data/");
        legacy::writeFileAtomically(tmp.path() + QStringLiteral("/Data-in.dat"), "x");
        if (!output.isEmpty()) legacy::writeFileAtomically(tmp.path() + QStringLiteral("/DATA-OUT.DAT"), output);
        w->cmdConSave->setEnabled(true);
        testsupport::dialogs().queue(dlg::Answer::Yes);
        w->exportCommands->cmdConSave_Click();
        auto& p = testsupport::dialogs().prompts;
        QCOMPARE(p.size(), size_t(2));
        QCOMPARE(p[1].text, QStringLiteral("cmdConSave error: \n\n") + message.replace(QStringLiteral("TMP"), tmp.path()));
        QVERIFY(w->cmdConSave->isEnabled());
        QCOMPARE(QFile::exists(tmp.path() + QStringLiteral("/DATA-OUT.DAT")), !output.isEmpty());
        QVERIFY(QFile::exists(tmp.path() + QStringLiteral("/Data-in.dat")));
        QVERIFY(!QFile::exists(tmp.path() + QStringLiteral("/Data/Dat Files/Lakes.dat")));
    }

    // ---- second data set and combination ----
    // A second file is taken whole or not at all: a damaged one is refused
    // with its reason and leaves the set opened before (or none) as it was;
    // the same file again is "already open"; the mended file opens.
    void secondDataSetOpens() {
        auto w = documentWithPoints();
        QTemporaryDir tmp;
        const QString good = writeSecondFile(tmp.path(), QStringLiteral("Basin.vlm"), DataKind::Structural, 4);
        const QString bad = tmp.path() + QStringLiteral("/Bad.vlm");
        QByteArray damaged = testsupport::fileBytes(good);
        damaged.replace(" 700.0 ", " abc "); // the seventh row's latitude
        legacy::writeFileAtomically(bad, damaged);
        const QString panel = w->panel(2);
        auto& p = testsupport::dialogs().prompts;
        const QString refused = QStringLiteral("mnuFileOpenDat error: \n\nBad.vlm: Type mismatch in line 19: \"abc\"");
        auto open = [&](const QString& path) {
            testsupport::dialogs().queue(path);
            w->exportCommands->mnuFileOpenDat_Click();
        };

        open(bad);
        QCOMPARE(p[0].title, QStringLiteral("Open Data File"));
        QCOMPARE(p[0].filter, QStringLiteral("Map Data Files (*.vlm)|*.vlm|"));
        QCOMPARE(p.back().text, refused);
        QVERIFY(!w->doc.OtherDataOpen && w->doc.OtherDataFileName.isEmpty() && w->doc.OtherCount == 0);
        QVERIFY(!w->cmdConDat[0]->isEnabled());
        QCOMPARE(w->panel(2), panel);

        w->doc.DatumPoints[1].Combined = true;
        open(good);
        QVERIFY(w->doc.OtherDataOpen && w->doc.OtherStructural);
        QCOMPARE(w->doc.OtherCount, 7);
        QVERIFY(w->cmdConDat[0]->isEnabled() && w->cmdConDat[1]->isEnabled() && w->labConDat->isEnabled());
        QCOMPARE(w->cmdConDat[0]->text(), QStringLiteral("-"));
        QVERIFY(w->cmdConDat[0]->toolTip().startsWith(QStringLiteral("Subtract structural data from plotted points  (")));
        QCOMPARE(w->DialogFileName, w->doc.DataFileName);
        QVERIFY(w->doc.DatumPoints[1].Combined); // a first file leaves the marks
        open(good);
        QCOMPARE(p.back().text, QStringLiteral("File already open"));

        open(bad);
        QCOMPARE(p.back().text, refused);
        QCOMPARE(w->doc.OtherDataFileName, good);
        QVERIFY(w->doc.OtherDataOpen && w->doc.OtherStructural);
        QCOMPARE(w->doc.OtherPoints[7].Y, 700.0f);
        QVERIFY(w->doc.DatumPoints[1].Combined);
        QVERIFY(w->cmdConDat[0]->isEnabled() && w->cmdConDat[1]->isEnabled());
        QCOMPARE(w->panel(2), QStringLiteral("Data:  Lakes (Basin.vlm data open)"));

        // Mended, the file opens, and another file clears every combined
        // mark first.
        writeSecondFile(tmp.path(), QStringLiteral("Bad.vlm"), DataKind::Isopach, 5);
        open(bad);
        QCOMPARE(p.back().kind, dlg::Prompt::Kind::Open); // no message after it
        QCOMPARE(w->doc.OtherDataFileName, bad);
        QVERIFY(!w->doc.OtherStructural);
        QCOMPARE(w->doc.OtherPoints[7].Z, 5.0f);
        QVERIFY(!w->doc.DatumPoints[1].Combined);
        QCOMPARE(w->panel(2), QStringLiteral("Data:  Lakes (Bad.vlm data open)"));
    }

    void combineStructuralMinusStructuralGivesIsopachs() {
        auto w = documentWithPoints();
        QTemporaryDir tmp;
        testsupport::dialogs().queue(writeSecondFile(tmp.path(), QStringLiteral("Basin.vlm"), DataKind::Structural, 4));
        w->exportCommands->mnuFileOpenDat_Click();
        w->txtMin->setText(QStringLiteral("100"));
        w->txtMax->setText(QStringLiteral("5"));
        w->doc.ContoursCurrent = true;
        w->doc.DataChanged = false;
        w->exportCommands->cmdConDat_Click(0);
        Document& d = w->doc;
        QVERIFY(d.DataChanged); // the combined values are offered for saving
        // Every second-set value is 4: each point loses exactly 4.
        QCOMPARE(d.DatumPoints[1].Z, 6.0f);
        QCOMPARE(d.ContourPoints[2].Z, 18.0f);
        QVERIFY(d.ContourPoints[2].Combined);
        QCOMPARE(d.DataTitle, QStringLiteral("Lakes--converted"));
        QVERIFY(w->optIso->isChecked());
        QVERIFY(!w->optStruc->isEnabled());
        // The status text set here is replaced by the map redraw at the end.
        QVERIFY(w->panel(2).contains(QStringLiteral("Lakes--converted")));
        QCOMPARE(w->txtMin->text(), QStringLiteral("6"));
        QCOMPARE(w->txtMax->text(), QStringLiteral("18"));
        QVERIFY(!d.ContoursCurrent);
        QVERIFY(!w->cmdConDat[0]->isEnabled() && !w->labConDat->isEnabled());
        QVERIFY(w->cmdConRun->isEnabled() && w->cmdShow->isEnabled());
        QVERIFY(!w->ProgressBar1->isVisible() && !w->exportCommands->labCalc->isVisible());
        QVERIFY(!d.MapBusy);

        // A second run changes no value but marks the title again.
        d.DataChanged = false;
        w->exportCommands->cmdConDat_Click(1);
        QCOMPARE(d.DatumPoints[1].Z, 6.0f);
        QVERIFY(!d.DataChanged);
        QCOMPARE(d.DataTitle, QStringLiteral("Lakes--converted--converted"));
        QVERIFY(testsupport::dialogs().prompts.size() == 1);
    }

    // Same-well data: a plotted point on a second-set point takes that
    // point's value and the run goes on to the end.
    void combineOnACoincidentPoint() {
        auto w = documentWithPoints();
        QTemporaryDir tmp;
        Document& d = w->doc;
        d.DatumPoints[2].X = 700; // on the second-set point (700, 700)
        d.DatumPoints[2].Y = 700;
        testsupport::dialogs().queue(writeSecondFile(tmp.path(), QStringLiteral("Basin.vlm"), DataKind::Isopach, 4));
        w->exportCommands->mnuFileOpenDat_Click();
        w->exportCommands->cmdConDat_Click(1);
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(1)); // no error
        QCOMPARE(d.DatumPoints[1].Z, 14.0f);
        QCOMPARE(d.DatumPoints[2].Z, 16.5f); // 12.5 + 4
        QCOMPARE(d.ContourPoints[2].Z, 26.0f);
        QVERIFY(d.ContourPoints[2].Combined);
        QCOMPARE(d.DataTitle, QStringLiteral("Lakes--converted"));
    }

    // A failure of a kind the command does not report itself (here from the
    // event pump) goes on to the application, but the window it leaves is
    // usable: not busy, progress hidden, Show and the converter enabled.
    void combineUnexpectedFailureHandsTheWindowBack() {
        auto w = documentWithPoints();
        QTemporaryDir tmp;
        testsupport::dialogs().queue(writeSecondFile(tmp.path(), QStringLiteral("Basin.vlm"), DataKind::Isopach, 4));
        w->exportCommands->mnuFileOpenDat_Click();
        const auto saved = MainWindow::DoEvents;
        MainWindow::DoEvents = [] { throw std::runtime_error("pump failed"); };
        bool thrown = false;
        try {
            w->exportCommands->cmdConDat_Click(1);
        } catch (const std::runtime_error&) {
            thrown = true;
        }
        MainWindow::DoEvents = saved;
        QVERIFY(thrown);
        Document& d = w->doc;
        QVERIFY(!d.MapBusy);
        QVERIFY(!w->ProgressBar1->isVisible() && !w->exportCommands->labCalc->isVisible());
        QVERIFY(w->cmdShow->isEnabled() && w->cmdConRun->isEnabled());
        QVERIFY(w->cursor().shape() != Qt::WaitCursor);
        // Not busy: the next combination runs.
        w->exportCommands->cmdConDat_Click(1);
        QVERIFY(d.DatumPoints[1].Combined);
    }

    // ---- map image export ----
    void mapExportCapturesTheMapArea() {
        auto w = documentWithPoints();
        QImage map(400, 400, QImage::Format_RGB32);
        map.fill(Qt::darkGreen);
        w->imPoints->setPicture(map);
        QCoreApplication::processEvents();
        QTemporaryDir tmp;
        const QString out = tmp.path() + QStringLiteral("/map.jpg");
        testsupport::dialogs().queue(out);
        w->exportCommands->mnuFileExportMap_Click();
        auto& p = testsupport::dialogs().prompts;
        QCOMPARE(p.size(), size_t(1));
        QCOMPARE(p[0].title, QStringLiteral("Save Map Image File"));
        QCOMPARE(p[0].defaultText, QStringLiteral("/data/Lakes.jpg"));
        QImage saved(out);
        QVERIFY(!saved.isNull());
        const QSize expected(std::min(w->imPoints->width(), w->Frame1->width() - 2 * twips::toPx(90)),
                             std::min(w->imPoints->height(), w->Frame1->height() - 2 * twips::toPx(90)));
        QCOMPARE(saved.size(), expected);
        QVERIFY(qGreen(saved.pixel(expected.width() / 2, expected.height() / 2)) > 80);
    }

    void mapExportOfThePlotTakesThePicture() {
        auto w = documentWithPoints();
        QImage plot(123, 77, QImage::Format_RGB32);
        plot.fill(Qt::red);
        w->picMap->setPicture(plot);
        w->picMap->setVisible(true);
        QTemporaryDir tmp;
        const QString out = tmp.path() + QStringLiteral("/plot.jpg");
        testsupport::dialogs().queue(out);
        w->exportCommands->mnuFileExportMap_Click();
        QCOMPARE(QImage(out).size(), QSize(123, 77));

        // Saving where nothing can be written is reported.
        testsupport::dialogs().clear();
        testsupport::dialogs().queue(tmp.path() + QStringLiteral("/missing/plot.jpg"));
        w->exportCommands->mnuFileExportMap_Click();
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(2));
        QVERIFY(testsupport::dialogs().prompts[1].text.startsWith(QStringLiteral("mnuFileExport error: \n\n")));
    }

    // ---- data export ----
    void pointExportThroughTheColumnDialog() {
        auto w = documentWithPoints();
        QTemporaryDir tmp;
        const QString out = tmp.path() + QStringLiteral("/points.dat");
        testsupport::dialogs().queue(out);
        testsupport::dialogs().queue(xyzColumns(true, QStringLiteral("Elev")));
        w->exportCommands->mnuFileExportData_Click();
        auto& p = testsupport::dialogs().prompts;
        QCOMPARE(p[0].title, QStringLiteral("Export Data"));
        QCOMPARE(p[0].defaultText, QStringLiteral("/data/Lakes.dat"));
        QCOMPARE(w->doc.ColumnOrder, QStringLiteral("xyz"));
        QCOMPARE(w->exportCommands->ExportDataText, QStringLiteral("Elev"));
        QCOMPARE(fileLines(out), (QStringList{"Lakes Exported Data: ", "", "East.         North.        Elev",
                                              QString(39, '='), "", "100.00, 900.00, 10.00", "200.00, 900.00, 12.50",
                                              "300.00, 800.00, 14.00", "400.00, 600.00, 20.00",
                                              "500.00, 500.00, 22.00"}));
    }

    // An export whose text cannot be made (here the header's title, from a
    // project name too short) is reported and leaves an earlier export whole.
    void failedPointExportKeepsTheOldFile() {
        auto w = documentWithPoints();
        w->doc.DataFileName = QStringLiteral("ab");
        QTemporaryDir tmp;
        const QString out = tmp.path() + QStringLiteral("/points.dat");
        legacy::writeFileAtomically(out, "old export\r\n");
        testsupport::dialogs().queue(out);
        testsupport::dialogs().queue(xyzColumns(true));
        w->exportCommands->mnuFileExportData_Click();
        auto& p = testsupport::dialogs().prompts;
        QCOMPARE(p.size(), size_t(3));
        QCOMPARE(p[2].text, QStringLiteral("Error exporting data: Invalid procedure call or argument"));
        QCOMPARE(p[2].icon, dlg::Icon::Exclamation);
        QCOMPARE(testsupport::fileBytes(out), QByteArray("old export\r\n"));
    }

    void cancelledColumnDialogWritesNothing() {
        auto w = documentWithPoints();
        QTemporaryDir tmp;
        const QString out = tmp.path() + QStringLiteral("/points.dat");
        testsupport::dialogs().queue(out);
        testsupport::dialogs().queue(dlg::WindowScript([](QDialog* dialog) {
            static_cast<ColumnDialog*>(dialog)->cmdCancel_Click();
            return int(QDialog::Rejected);
        }));
        w->exportCommands->mnuFileExportData_Click();
        QVERIFY(!QFile::exists(out));
        QCOMPARE(w->doc.ExportFileName, out);
    }

    void gridExportWhileThePlotIsShown() {
        auto w = documentWithPoints();
        Document& d = w->doc;
        d.GridCols = 3;
        d.GridRows = 2;
        d.ContourGrid.resize(3, 2);
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 2; ++j) d.ContourGrid.at(i, j) = {0, float(i * 100), float(j * 100), float(i + j), false};
        w->picMap->setVisible(true);
        QTemporaryDir tmp;
        const QString out = tmp.path() + QStringLiteral("/grid.dat");
        testsupport::dialogs().queue(out);
        w->exportCommands->mnuFileExportData_Click();
        auto& p = testsupport::dialogs().prompts;
        QCOMPARE(p.size(), size_t(1)); // no column dialog for the grid
        QCOMPARE(p[0].defaultText, QStringLiteral("/data/Lakes-Contours.dat"));
        const QStringList lines = fileLines(out);
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], QStringLiteral("100.0         100.0         2.0"));
        QCOMPARE(lines[1], QStringLiteral("100.0         200.0         3.0"));
        QCOMPARE(lines[5], QStringLiteral("300.0         200.0         5.0"));
    }

    void contactPlotExportsPointsWithTheContactAsked() {
        auto w = startWindow();
        registerLinear(*w);
        w->optRock->setValue(true);
        w->optDat->setValue(true);
        record(*w, 600, 600, QStringLiteral("3"));
        record(*w, 1200, 600, QStringLiteral("4"));
        record(*w, 1800, 600, QStringLiteral("3"));
        testsupport::dialogs().clear();
        w->doc.ContactShown = QStringLiteral("3");
        w->picMap->setVisible(true);
        QTemporaryDir tmp;
        const QString out = tmp.path() + QStringLiteral("/c.dat");
        testsupport::dialogs().queue(out);
        testsupport::dialogs().queue(xyzColumns(false));
        testsupport::dialogs().queue(QStringLiteral("3"));
        w->exportCommands->mnuFileExportData_Click();
        auto& p = testsupport::dialogs().prompts;
        QCOMPARE(p.size(), size_t(3));
        QCOMPARE(p[2].title, QStringLiteral("Vexolan Export"));
        QCOMPARE(p[2].defaultText, QStringLiteral("3"));
        QCOMPARE(fileLines(out).size(), 2);
        QVERIFY(fileLines(out)[0].endsWith(QStringLiteral(", 3")));
    }
};

VEX_TEST(ExportCommandsTest);
#include "ExportCommandsTest.moc"
