// Opening a project through the real main window: what comes back, the save
// prompt before it, the map search, and the error path.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/LabelFile.h"
#include "document/Legacy.h"
#include "document/ProjectCommands.h"
#include "document/ProjectFile.h"
#include "map/Projections.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace pn = projection_names;

namespace {

dlg::ScriptedProvider& dialogs() { return testsupport::dialogs(); }

std::unique_ptr<MainWindow> startWindow() {
    auto w = testsupport::startMainWindow();
    return w;
}

using testsupport::fileBytes;

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

QString makeImage(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage img(80, 60, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    if (!img.save(path, "JPG")) qFatal("cannot write %s", qPrintable(path));
    return path;
}

DataPoint pt(int number, float x, float y, float z) {
    DataPoint p;
    p.Number = int16_t(number);
    p.X = x;
    p.Y = y;
    p.Z = z;
    return p;
}

// A linear map in metres, 1000 x 750 map units, with the image at `map`.
Document linearDoc(const QString& map) {
    Document d;
    d.clearData();
    d.DataTitle = QStringLiteral("Survey");
    d.MapFileName = map;
    d.ImageWidthPx = 80;
    d.ImageHeightPx = 60;
    d.MapSpanX = 1000;
    d.MapSpanY = 750;
    d.MapOriginX = 5000;
    d.MapOriginY = 9000;
    d.RefMapX1 = 5100;
    d.RefMapX2 = 5900;
    d.RefMapY1 = 8900;
    d.RefMapY2 = 8300;
    d.ProjectionName = pn::Linear;
    d.CoordUnits = QStringLiteral("Meters");
    d.ContourDetail = 60;
    d.DatumPoints = {DataPoint{}, pt(1, 5200, 8800, 12.5f), pt(2, 5400, 8600, -3), pt(3, 5600, 8500, 40)};
    d.DatCount = 3;
    d.ContourPoints = {DataPoint{}, pt(1, 5500, 8700, 20)};
    d.ConCount = 1;
    return d;
}

void writeProject(const QString& path, Document d, const ProjectControls& c) {
    writeBytes(path, writeProjectFile(d, c));
}

MapLabel label(const QString& text, float x, float y) {
    MapLabel l;
    l.Text = text;
    l.X = x;
    l.Y = y;
    l.FontBold = true;
    l.Color = 255;
    l.FontName = QStringLiteral("Arial");
    l.FontSize = 10;
    return l;
}

// Opens `path` with the Open button, answering its dialog.
void openProject(MainWindow& w, const QString& path) {
    dialogs().queue(path);
    w.cmdDig->click();
}

// Prompts other than the open dialog itself.
std::vector<dlg::Prompt> messages() {
    std::vector<dlg::Prompt> out;
    for (const dlg::Prompt& p : dialogs().prompts)
        if (p.kind != dlg::Prompt::Kind::Open) out.push_back(p);
    return out;
}

} // namespace

class OpenCommandTest : public QObject {
    Q_OBJECT
    QTemporaryDir tmp;
    QString dir;

private slots:
    void init() {
        dialogs().clear();
        dir = tmp.path() + "/" + QTest::currentTestFunction();
        if (QTest::currentDataTag()) dir += QString("_") + QString(QTest::currentDataTag()).replace(' ', '_');
        QDir().mkpath(dir);
    }

    // A registered, digitized map with labels comes back whole.
    void openRestoresTheDocument() {
        Document d = linearDoc(makeImage(dir + "/map.jpg"));
        d.MapLabels = {MapLabel{}, label("A", 5300, 8700), label("B, c", 5500, 8400), label("D", 5700, 8600)};
        d.LabelCount = 3;
        writeProject(dir + "/survey.vlm", d, {"2", "30", DataKind::Structural});
        writeBytes(dir + "/survey.lab", writeLabelFile(d));

        auto w = startWindow();
        openProject(*w, dir + "/survey.vlm");
        QCOMPARE(dialogs().prompts.size(), size_t(1));
        QCOMPARE(dialogs().prompts[0].title, QString("Open Vexolan File"));
        QCOMPARE(dialogs().unanswered, 0);

        const Document& r = w->doc;
        QCOMPARE(r.DataTitle, QString("Survey"));
        QCOMPARE(r.DataFileName, dir + "/survey.vlm");
        QCOMPARE(r.MapFileName, dir + "/map.jpg");
        QCOMPARE(r.LabFileName, dir + "/survey.lab");
        QCOMPARE(w->app.DataFolder, dir + "/");
        QCOMPARE(r.MapSpanX, 1000.0f);
        QCOMPARE(r.RefMapY2, 8300.0f);
        QCOMPARE(r.ProjectionName, pn::Linear);
        QCOMPARE(r.CoordUnits, QString("Meters"));
        QVERIFY(w->mnuCoordLinear->isChecked());
        QVERIFY(w->mnuCoordMeters->isChecked());
        QVERIFY(!w->mnuCoordFeet->isChecked());
        QVERIFY(!w->mnuCoord->menuAction()->isEnabled());
        QCOMPARE(w->panel(1), QString("Projection: Linear Coordinates, Units: Meters"));
        QVERIFY(r.MapRegistered);
        QVERIFY(!r.DataChanged);
        QVERIFY(!w->BusyLoading);

        QVERIFY(w->optStruc->isChecked() && w->optStruc->isEnabled());
        QVERIFY(!w->optRock->isEnabled() && !w->optIso->isEnabled());
        QVERIFY(w->optCon->isEnabled() && w->labConCol->isEnabled());

        QCOMPARE(r.DatCount, 3);
        QCOMPARE(r.ConCount, 1);
        QCOMPARE(r.DatumPoints[2].Z, -3.0f);
        QCOMPARE(w->markers->labDat.count(), 3);
        QCOMPARE(w->markers->labCon.count(), 1);
        for (int i = 1; i <= 3; ++i) QVERIFY(w->markers->labDat[i].Visible);
        QCOMPARE(w->markers->labDat[1].ForeColor, w->labDatCol->ForeColor());
        QCOMPARE(w->markers->labCon[1].ForeColor, w->labConCol->ForeColor());
        QCOMPARE(r.LabelCount, 3);
        QCOMPARE(r.MapLabels[2].Text, QString("B, c"));
        QCOMPARE(w->markers->labMap.count(), 3);

        QVERIFY(!w->imPoints->isHidden());
        QCOMPARE(r.ImageWidthPx, 80.0f);
        QCOMPARE(w->windowTitle(), QString("Ferno Vexolan: survey"));
        QVERIFY(w->cmdSave->isEnabled() && w->mnuFileSaveAs->isEnabled());
        QVERIFY(w->cmdShow->isEnabled() && w->mnuViewShow->menuAction()->isEnabled());
        QVERIFY(w->cmdConRun->isEnabled() && w->mnuFileOpenDat->isEnabled());
        QVERIFY(w->optLo->isEnabled() && w->txtConDet->isEnabled() && w->chkMan->isEnabled());
        QCOMPARE(w->txtConDet->text(), QString("60"));
        // Usable limits from the file stay.
        QCOMPARE(w->txtMin->text(), QString("2"));
        QCOMPARE(w->txtMax->text(), QString("30"));
        QCOMPARE(w->txtMax->isEnabled(), w->chkMan->isChecked());

        // Saving it again writes the same project.
        const QByteArray before = fileBytes(dir + "/survey.vlm");
        w->doc.DataChanged = true;
        w->cmdSave->click();
        QVERIFY(w->saveSucceeded);
        QCOMPARE(fileBytes(dir + "/survey.vlm"), before);
    }

    // Limits that make no scale, and every contact document, take the range
    // of the points.
    void limitsRecomputed_data() {
        QTest::addColumn<QString>("min");
        QTest::addColumn<QString>("max");
        QTest::addColumn<QString>("readMin");
        QTest::addColumn<QString>("readMax");
        QTest::newRow("zero limit") << "0" << "500" << "-3" << "40";
        QTest::newRow("equal limits") << "7" << "7" << "-3" << "40";
        QTest::newRow("usable") << "-1" << "7.5" << "-1" << "7.5";
    }

    void limitsRecomputed() {
        QFETCH(QString, min);
        QFETCH(QString, max);
        QFETCH(QString, readMin);
        QFETCH(QString, readMax);
        writeProject(dir + "/l.vlm", linearDoc(makeImage(dir + "/map.jpg")), {min, max, DataKind::Isopach});
        auto w = startWindow();
        openProject(*w, dir + "/l.vlm");
        QCOMPARE(w->txtMin->text(), readMin);
        QCOMPARE(w->txtMax->text(), readMax);
    }

    // Contact data: the contact kind and datum points only, the range from
    // the points, the contour controls left off, the contact list shown.
    void contacts() {
        Document d = linearDoc(makeImage(dir + "/map.jpg"));
        d.DatumPoints = {DataPoint{}, pt(1, 5200, 8800, 3), pt(1, 5400, 8600, 1), pt(2, 5600, 8500, 3)};
        d.ContourPoints.clear();
        d.ConCount = 0;
        writeProject(dir + "/c.vlm", d, {"1", "9", DataKind::Contacts});
        auto w = startWindow();
        openProject(*w, dir + "/c.vlm");
        QVERIFY(messages().empty());
        QVERIFY(w->optRock->isChecked() && w->optDat->isChecked());
        QVERIFY(!w->optCon->isEnabled() && !w->labConCol->isEnabled() && !w->optStruc->isEnabled());
        QCOMPARE(w->txtMin->text(), QString("1"));
        QCOMPARE(w->txtMax->text(), QString("3"));
        QVERIFY(!w->txtConDet->isEnabled());
        QVERIFY(!w->chkMan->isEnabled());
        QCOMPARE(w->doc.ContactCount, 2);
        QCOMPARE(w->cmbShow->count(), 3);
        QCOMPARE(w->cmbShow->itemText(2), QString("3"));
        QVERIFY(!w->labShow->isHidden() && !w->cmbShow->isHidden() && !w->cmdShowContact->isHidden());
        QVERIFY(w->UpDown1->isHidden());
    }

    // Under a projection the rows are latitude/longitude and come back as
    // map units; the projection's menu item is ticked.
    void projected() {
        Document d = linearDoc(makeImage(dir + "/map.jpg"));
        d.ProjectionName = pn::AlbersEqualArea;
        d.CoordUnits = QStringLiteral("Degrees");
        d.ProjScaleX = d.ProjScaleY = 1000;
        d.CentralMeridian = float(DegRad(-100, true));
        d.CentralParallel = float(DegRad(40, true));
        d.Lat1 = float(DegRad(35, true));
        d.Lat2 = float(DegRad(45, true));
        ComputeConeConstants(d);
        const float lons[] = {-101, -100, -99};
        const float lats[] = {39, 40.5f, 41};
        for (int i = 1; i <= 3; ++i) {
            d.DatumPoints[size_t(i)].X = ProjectAlbersEqualArea(d, lons[i - 1], lats[i - 1], true, true);
            d.DatumPoints[size_t(i)].Y = ProjectAlbersEqualArea(d, lons[i - 1], lats[i - 1], true, false);
        }
        d.ContourPoints[1].X = ProjectAlbersEqualArea(d, -100.5, 40, true, true);
        d.ContourPoints[1].Y = ProjectAlbersEqualArea(d, -100.5, 40, true, false);
        d.MapOriginX = -30;
        d.MapOriginY = 40;
        d.MapSpanX = 60;
        d.MapSpanY = 80;
        writeProject(dir + "/p.vlm", d, {"1", "9", DataKind::Structural});

        auto w = startWindow();
        openProject(*w, dir + "/p.vlm");
        QVERIFY(messages().empty());
        QCOMPARE(w->doc.ProjectionName, pn::AlbersEqualArea);
        QCOMPARE(w->doc.CoordUnits, QString("Degrees"));
        QVERIFY(w->mnuCoordAlbersEA->isChecked() && w->mnuCoordDegrees->isChecked());
        QVERIFY(!w->mnuCoordFeet->isEnabled() && !w->mnuCoordMeters->isEnabled());
        QCOMPARE(w->doc.ConeN, d.ConeN);
        for (int i = 1; i <= 3; ++i) {
            QVERIFY(std::fabs(w->doc.DatumPoints[size_t(i)].X - d.DatumPoints[size_t(i)].X) < 1e-3f);
            QVERIFY(std::fabs(w->doc.DatumPoints[size_t(i)].Y - d.DatumPoints[size_t(i)].Y) < 1e-3f);
        }
    }

    // Projects saved while Transverse Mercator's map X was per radian of
    // longitude and Standard Mercator's map Y per radian of latitude: lines
    // 4 to 6 as the earlier registration left them for a 4:3 sheet with
    // square pixels (105.5 W 40.0 N at 6000, 3000 twips, 105.0 W 39.6 N at
    // 20400, 18000 twips of a 30000 x 22500 picture; worked out by hand).
    // They open, contour on a grid of the sheet's proportions, and save
    // every point's latitude and longitude unchanged; a label stays at its
    // place on the sheet.
    void earlierMercatorUnits_data() {
        QTest::addColumn<QByteArray>("registration");
        QTest::addColumn<QByteArray>("label");
        QTest::newRow("transverse")
            << QByteArray(" 2000 1500 23047.793 392.70117 0 0 Transverse Mercator:Degrees\r\n"
                          " -1.836959 0 0 0 1650076.5 37500\r\n"
                          " -10124.941 -5515.383 5547.5576 26232.475 26180.115 25918.314\r\n")
            << QByteArray("\"Camp\",-1106.3002,26049.047,#FALSE#,255,#FALSE#,\"Arial\",10,#FALSE#,"
                          "#FALSE#\r\n");
        QTest::newRow("standard")
            << QByteArray(" 2000 1500 1.0416666 29285.625 0 0 Standard Mercator:Degrees\r\n"
                          " 0 0 0 0 28800 2148556.8\r\n"
                          " -105.708336 -105.5 -105 1643059.4 1639154.6 1619630.9\r\n")
            << QByteArray();
    }
    void earlierMercatorUnits() {
        QFETCH(QByteArray, registration);
        QFETCH(QByteArray, label);
        QByteArray rows;
        int n = 0;
        for (const char* lat : {"39.65000", "39.75000", "39.85000", "39.95000"})
            for (const char* lon : {"-105.45000", "-105.30000", "-105.15000"}) {
                if (n == 9) rows += "\r\nContour Latitude Longitude Z\r\n" + QByteArray(54, '=') + "\r\n";
                rows += ' ' + QByteArray::number(n % 9 + 1) + ' ' + lat + ' ' + lon + ' ' +
                        QByteArray::number(100 + 7 * n) + ".0\r\n";
                ++n;
            }
        const QByteArray map = makeImage(dir + "/sheet.jpg").toLatin1();
        writeBytes(dir + "/sheet.vlm", "Sheet\r\n\r\n" + map + "\r\n" + registration +
                                           "\r\nStructural\r\n 9 3 50 \r\n\r\nDatum Lat Long Z\r\n" +
                                           QByteArray(54, '=') + "\r\n" + rows);
        if (!label.isEmpty()) writeBytes(dir + "/sheet.lab", label);
        // The rows of a project file: its lines of four items.
        auto rowsOf = [](const QByteArray& file) {
            QList<QByteArrayList> out;
            for (const QByteArray& line : file.split('\n'))
                if (const QByteArrayList items = line.simplified().split(' ');
                    items.size() == 4 && !items[0].isEmpty() && items[0].toInt() > 0)
                    out << items;
            return out;
        };
        const auto before = rowsOf(fileBytes(dir + "/sheet.vlm"));
        QCOMPARE(before.size(), 12);

        auto w = startWindow();
        openProject(*w, dir + "/sheet.vlm");
        QVERIFY(messages().empty());
        const Document& d = w->doc;
        if (!label.isEmpty()) {
            QCOMPARE(d.LabelCount, 1);
            QVERIFY(std::fabs((d.MapLabels[1].X - d.MapOriginX) / d.MapSpanX - 0.391302f) < 1e-4f);
            QVERIFY(std::fabs((d.MapOriginY - d.MapLabels[1].Y) / d.MapSpanY - 0.467092f) < 1e-4f);
        }
        w->cmdShow->click();
        QVERIFY2(messages().empty(), qPrintable(messages().empty() ? QString() : messages()[0].text));
        QCOMPARE(d.GridCols, 50);
        QCOMPARE(d.GridRows, 37);
        w->cmdShow->click();
        dialogs().clear();
        dialogs().queue(dir + "/sheet.vlm");
        w->cmdSave->click();
        QCOMPARE(dialogs().prompts.size(), size_t(1));
        QVERIFY(w->saveSucceeded);
        QCOMPARE(rowsOf(fileBytes(dir + "/sheet.vlm")), before);
    }

    // Coordinate systems as stored, restored through the menu's own clicks.
    void coordinateSystems_data() {
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("units");
        QTest::addColumn<bool>("feetTicked");
        QTest::addColumn<bool>("degreesTicked");
        QTest::newRow("older FEET") << QByteArray("FEET") << pn::Linear << "Feet" << true << false;
        QTest::newRow("linear, no units") << QByteArray("Linear Coordinates:") << pn::Linear << "Feet" << true << false;
        QTest::newRow("cylindrical") << QByteArray("Cylindrical Equidistant:Degrees") << pn::Linear << "Degrees"
                                     << false << true;
        QTest::newRow("no colon") << QByteArray("Linear Coordinates") << "" << "" << false << false;
    }

    void coordinateSystems() {
        QFETCH(QByteArray, item);
        QFETCH(QString, name);
        QFETCH(QString, units);
        QFETCH(bool, feetTicked);
        QFETCH(bool, degreesTicked);
        makeImage(dir + "/map.jpg");
        const bool older = item == "FEET";
        QByteArray file = "T\r\n\r\n" + (dir + "/map.jpg").toLatin1() + "\r\n 80 60 100 100 0 0 " + item + "\r\n";
        if (!older) file += " 0 0 0 0 1 1 \r\n";
        file += " 0 0 100 100 0 50 \r\n\r\nStructural\r\n 1 0 50 \r\n\r\nh\r\n=\r\n 1 20.0 10.0 5.0\r\n";
        // Older rows hold the Easting first.
        if (older) file.replace(" 1 20.0 10.0 5.0", " 1 10.0 20.0 5.0");
        writeBytes(dir + "/k.vlm", file);
        auto w = startWindow();
        openProject(*w, dir + "/k.vlm");
        QVERIFY(messages().empty());
        QCOMPARE(w->doc.ProjectionName, name);
        QCOMPARE(w->doc.CoordUnits, units);
        QCOMPARE(w->mnuCoordFeet->isChecked(), feetTicked);
        QCOMPARE(w->mnuCoordDegrees->isChecked(), degreesTicked);
        QCOMPARE(w->doc.DatCount, 1);
        QCOMPARE(w->doc.DatumPoints[1].X, 10.0f);
        QCOMPARE(w->doc.DatumPoints[1].Y, 20.0f);
    }

    // A file without points: no marker, Show stays off, the map loads.
    void noPoints() {
        Document d = linearDoc(makeImage(dir + "/map.jpg"));
        d.DatCount = d.ConCount = 0;
        d.DatumPoints.clear();
        d.ContourPoints.clear();
        writeProject(dir + "/n.vlm", d, {"0", "0", std::nullopt});
        auto w = startWindow();
        openProject(*w, dir + "/n.vlm");
        QVERIFY(messages().empty());
        QCOMPARE(w->markers->labDat.count(), 0);
        QVERIFY(!w->cmdShow->isEnabled());
        QVERIFY(!w->cmdConRun->isEnabled());
        QVERIFY(!w->imPoints->isHidden());
        // No kind: all kind and point options are offered.
        QVERIFY(w->optRock->isEnabled() && w->optStruc->isEnabled() && w->optIso->isEnabled());
        QVERIFY(!w->optRock->isChecked() && !w->optStruc->isChecked() && !w->optIso->isChecked());
    }

    // A datum table cut after 2 of 5 rows: two points, no contour points,
    // no message.
    void truncatedTable() {
        makeImage(dir + "/map.jpg");
        const QByteArray file = "T\r\n\r\n" + (dir + "/map.jpg").toLatin1() +
                                "\r\n 80 60 100 100 1 2 Linear Coordinates:Feet\r\n 0 0 0 0 1 1 \r\n"
                                " 0 0 100 100 0 50 \r\n\r\nS\r\n 5 2 50 \r\n\r\nh\r\n=\r\n 1 20.0 10.0 5.0\r\n"
                                " 2 21.0 11.0 6.0\r\n 3 22";
        writeBytes(dir + "/t.vlm", file);
        auto w = startWindow();
        openProject(*w, dir + "/t.vlm");
        QVERIFY(messages().empty());
        QCOMPARE(w->doc.DatCount, 2);
        QCOMPARE(w->doc.ConCount, 0);
        QCOMPARE(w->markers->labDat.count(), 2);
        QCOMPARE(w->labDatNum->text(), QString("2"));
    }

    // A file that fails while opening (cut in its header lines, a damaged
    // label file beside it, a project of a map never registered, as an
    // opened contour picture used to be saved, or a map that does not load)
    // is reported once and leaves the window empty with a true status bar;
    // nothing on disk changes.
    void failedOpenLeavesTheWindowEmpty_data() {
        QTest::addColumn<QByteArray>("vlm"); // @MAP@ stands for the map's path
        QTest::addColumn<QByteArray>("lab");
        QTest::addColumn<QString>("error");
        Document d = linearDoc(QStringLiteral("@MAP@"));
        d.MapLabels = {MapLabel{}, label("A", 5300, 8700), label("B", 5500, 8400)};
        d.LabelCount = 2;
        QTest::newRow("cut header") << QByteArray("Cut title\r\n\r\n@MAP@\r\n 80 60 100 100 1 2 Transverse "
                                                  "Mercator:Degrees\r\n .5 .25 0 0 ")
                                    << QByteArray() << "Input past end of file";
        QTest::newRow("damaged labels") << writeProjectFile(d, {"2", "30", DataKind::Structural})
                                        << writeLabelFile(d) + "\"C\",1,2,#TRUE#" << "Input past end of file";
        QTest::newRow("not registered")
            << QByteArray("plot\r\n\r\n@MAP@\r\n 80 60 0 0 0 0 :\r\n 0 0 0 0 1 1 \r\n 0 0 0 0 0 0 \r\n\r\n"
                          "Data point type not specified:\r\n 0 0 50 \r\n")
            << QByteArray() << "The project holds no registration of its map";
        // The map load reports its own failure; the command adds nothing.
        d.LabelCount = 0;
        d.MapFileName = QStringLiteral("@MAP@.txt");
        QTest::newRow("map not loading")
            << writeProjectFile(d, {"2", "30", DataKind::Structural}) << QByteArray() << "Map load error: ";
    }
    void failedOpenLeavesTheWindowEmpty() {
        QFETCH(QByteArray, vlm);
        QFETCH(QByteArray, lab);
        QFETCH(QString, error);
        writeBytes(dir + "/f.vlm", vlm.replace("@MAP@", makeImage(dir + "/map.jpg").toLatin1()));
        writeBytes(dir + "/map.jpg.txt", "not an image");
        if (!lab.isEmpty()) writeBytes(dir + "/f.lab", lab);
        auto w = startWindow();
        openProject(*w, dir + "/f.vlm");
        const auto m = messages();
        QCOMPARE(m.size(), size_t(1));
        if (error.startsWith("Map load error")) {
            QVERIFY(m[0].text.startsWith(error));
        } else {
            QCOMPARE(m[0].text, "Open vexolan file error: " + error);
            QCOMPARE(m[0].icon, dlg::Icon::Critical);
        }
        const Document& r = w->doc;
        QVERIFY(!r.MapRegistered && r.DatCount == 0 && r.LabelCount == 0 && r.ProjectionName.isEmpty());
        QVERIFY(w->imPoints->isHidden());
        QVERIFY(!w->mnuCoordTMerc->isChecked());
        QVERIFY(!w->cmdSave->isEnabled() && !w->mnuFileSaveAs->isEnabled() && !w->cmdPrint->isEnabled());
        QCOMPARE(w->panel(1), QString("Projection: (unkown), Units: (unknown)"));
        QCOMPARE(w->panel(2), QString("No file loaded..."));
        QCOMPARE(w->windowTitle(), QString("Ferno Vexolan"));
        QVERIFY(!r.DataChanged && !w->BusyLoading);
        QCOMPARE(fileBytes(dir + "/f.vlm"), vlm);
        if (!lab.isEmpty()) QCOMPARE(fileBytes(dir + "/f.lab"), lab);
    }

    // A map path from another system: the image of that name beside the
    // project is taken without asking.
    void windowsMapPath() {
        Document d = linearDoc(makeImage(dir + "/proj/BASE MAP.JPG"));
        d.MapFileName = QStringLiteral("C:\\Documents and Settings\\me\\BASE MAP.JPG");
        writeProject(dir + "/proj/w.vlm", d, {"2", "30", DataKind::Structural});
        auto w = startWindow();
        openProject(*w, dir + "/proj/w.vlm");
        QVERIFY(messages().empty());
        QCOMPARE(w->doc.MapFileName, dir + "/proj/BASE MAP.JPG");
        QVERIFY(!w->imPoints->isHidden());
    }

    // A missing map is searched for; cancelling the search clears the
    // document with its own message only.
    void missingMap() {
        Document d = linearDoc(dir + "/gone/map.jpg");
        writeProject(dir + "/m.vlm", d, {"2", "30", DataKind::Structural});
        auto w = startWindow();
        dialogs().queue(QString(dir + "/m.vlm"));
        dialogs().queue(dlg::Cancel{});
        w->cmdDig->click();
        const auto& p = dialogs().prompts;
        QCOMPARE(p.size(), size_t(3));
        QCOMPARE(p[1].kind, dlg::Prompt::Kind::Open);
        QCOMPARE(p[1].title, QString("Open Map File"));
        QCOMPARE(p[2].text, QString("File error: no map associated"));
        QCOMPARE(p[2].icon, dlg::Icon::Exclamation);
        QCOMPARE(p[2].title, QString("Vexolan"));
        QCOMPARE(w->doc.DatCount, 0);
        QVERIFY(!w->doc.MapRegistered);

        // Found through the search: it opens.
        dialogs().clear();
        const QString found = makeImage(dir + "/found.jpg");
        dialogs().queue(QString(dir + "/m.vlm"));
        dialogs().queue(found);
        w->cmdDig->click();
        QCOMPARE(dialogs().prompts.size(), size_t(2));
        QCOMPARE(w->doc.MapFileName, found);
        QCOMPARE(w->doc.DatCount, 3);
        QVERIFY(!w->imPoints->isHidden());
    }

    // ---- the save prompt before opening --------------------------------

    void savePromptCancel() {
        writeProject(dir + "/a.vlm", linearDoc(makeImage(dir + "/map.jpg")), {"2", "30", DataKind::Structural});
        auto w = startWindow();
        openProject(*w, dir + "/a.vlm");
        w->doc.DataChanged = true;
        dialogs().clear();
        dialogs().queue(dlg::Answer::Cancel);
        w->cmdDig->click();
        QCOMPARE(dialogs().prompts.size(), size_t(1));
        QCOMPARE(dialogs().prompts[0].text, QString("a.vlm has changed.\nWould you like to save it?"));
        QCOMPARE(dialogs().prompts[0].buttons, dlg::Buttons::YesNoCancel);
        QVERIFY(w->doc.DataChanged);
        QCOMPARE(w->doc.DatCount, 3);
    }

    // Yes saves as Save As does, asking for a name, before the open dialog;
    // a cancelled save opens nothing and keeps the changes.
    void savePromptYes() {
        writeProject(dir + "/a.vlm", linearDoc(makeImage(dir + "/map.jpg")), {"2", "30", DataKind::Structural});
        writeProject(dir + "/b.vlm", linearDoc(dir + "/map.jpg"), {"2", "30", DataKind::Isopach});
        auto w = startWindow();
        openProject(*w, dir + "/a.vlm");
        w->doc.DatumPoints[1].Z = 99;
        w->doc.DataChanged = true;

        dialogs().clear();
        dialogs().queue(dlg::Answer::Yes);
        dialogs().queue(dlg::Cancel{});
        w->cmdDig->click();
        QCOMPARE(dialogs().prompts.size(), size_t(2));
        QCOMPARE(dialogs().prompts[1].title, QString("Save Data File As..."));
        QVERIFY(w->doc.DataChanged);
        QCOMPARE(w->doc.DatumPoints[1].Z, 99.0f);

        dialogs().clear();
        dialogs().queue(dlg::Answer::Yes);
        dialogs().queue(QString(dir + "/a2.vlm"));
        dialogs().queue(QString(dir + "/b.vlm"));
        w->cmdDig->click();
        QCOMPARE(dialogs().prompts.size(), size_t(3));
        QCOMPARE(dialogs().prompts[2].title, QString("Open Vexolan File"));
        QVERIFY(w->optIso->isChecked());
        Document saved;
        saved.clearData();
        ProjectReadState st;
        readProjectFile(fileBytes(dir + "/a2.vlm"), saved, st);
        QCOMPARE(saved.DatumPoints[1].Z, 99.0f);
    }

    // Open, change, close answering Yes: reopening shows the change.  Open,
    // change, close answering Cancel: the document stays as changed.
    void openEditClose() {
        writeProject(dir + "/e.vlm", linearDoc(makeImage(dir + "/map.jpg")), {"2", "30", DataKind::Structural});
        auto w = startWindow();
        openProject(*w, dir + "/e.vlm");
        dialogs().clear();
        dialogs().queue(QString("Renamed, with comma"));
        emit w->mnuOpt->aboutToShow();
        w->mnuOptTitle->trigger();
        QVERIFY(w->doc.DataChanged);

        dialogs().queue(dlg::Answer::Cancel);
        emit w->mnuFile->aboutToShow();
        w->mnuFileClose->trigger();
        QVERIFY(w->doc.DataChanged);
        QCOMPARE(w->doc.DatCount, 3);
        QCOMPARE(w->doc.DataTitle, QString("Renamed, with comma"));

        dialogs().queue(dlg::Answer::Yes);
        emit w->mnuFile->aboutToShow();
        w->mnuFileClose->trigger();
        QCOMPARE(w->doc.DatCount, 0);
        QVERIFY(!w->doc.MapRegistered);

        dialogs().clear();
        openProject(*w, dir + "/e.vlm");
        QVERIFY(messages().empty());
        QCOMPARE(w->doc.DataTitle, QString("Renamed, with comma"));
        QCOMPARE(w->doc.DatCount, 3);
    }
};

VEX_TEST(OpenCommandTest);
#include "OpenCommandTest.moc"
