// The marker redraw in the real window: placement, tool tips, counters, the
// points line and the mode text, contact mode, labels, failures, and the
// marker layer's stacking and painting.
#include "common/TestRegistry.h"
#include "common/MapSupport.h"

#include "document/Legacy.h"
#include "app/Twips.h"
#include "map/Projections.h"

#include <QTest>

using maptest::addPoint;
using maptest::importMap;
using maptest::registerLinear;
using maptest::startWindow;
using maptest::writeMap;

class MapReplotTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString mapPath;

    std::unique_ptr<MainWindow> registeredWindow(double e1 = 1000, double n1 = 4000) {
        auto w = startWindow();
        importMap(*w, mapPath);
        registerLinear(*w, e1, n1);
        testsupport::dialogs().clear();
        return w;
    }

private slots:
    void initTestCase() { mapPath = writeMap(dir, QStringLiteral("survey.png"), 1000, 800); }
    void init() { testsupport::dialogs().clear(); }

    void noPoints() {
        auto w = registeredWindow();
        QVERIFY(w->doc.MapRegistered);
        QCOMPARE(w->labDatNum->text(), QStringLiteral("0"));
        QCOMPARE(w->labConNum->text(), QStringLiteral("0"));
        QCOMPARE(w->labText->text(), QStringLiteral("0 Contour and Datum Points"));
        QCOMPARE(w->panel(2),
                 QStringLiteral("Vexolan: survey (Left-click map to add contour points; right click to edit points)"));
        QVERIFY(w->markers->labRef[1].Visible && w->markers->labRef[2].Visible);
        QVERIFY(!w->doc.MapBusy);

        int enumerated = 0;
        w->mapView->contactEnum = [&] { ++enumerated; };
        w->optRock->setValue(true);
        w->mapView->MapReplot();
        QCOMPARE(w->labText->text(), QStringLiteral("All Contact Points"));
        QCOMPARE(w->panel(2),
                 QStringLiteral("Vexolan: survey (Left-click map to add contact points; right click to edit points)"));
        QCOMPARE(enumerated, 1);
    }

    void placesMarkersByTheMapTransform() {
        auto w = registeredWindow();
        addPoint(*w, true, 1, 2000, 3000, 5);
        addPoint(*w, false, 1, 1500, 2500, 7);
        w->mapView->MapReplot();
        const Document& d = w->doc;
        auto expectLeft = [&](double x) {
            return (x - d.MapOriginX) * (w->imPoints->Width() / d.MapSpanX) + w->imPoints->Left() - 40;
        };
        auto expectTop = [&](double y) {
            return (d.MapOriginY - y) * (w->imPoints->Height() / d.MapSpanY) + w->imPoints->Top() - 140;
        };
        QVERIFY(qAbs(w->markers->labDat[1].Left - expectLeft(2000)) < 0.01);
        QVERIFY(qAbs(w->markers->labDat[1].Top - expectTop(3000)) < 0.01);
        QVERIFY(qAbs(w->markers->labCon[1].Left - expectLeft(1500)) < 0.01);
        QVERIFY(w->markers->labDat[1].Visible && w->markers->labCon[1].Visible);
        // The read-out at the marker's point gives the point back.
        w->mapView->MapPosition(w->markers->labDat[1].Left + 40 - w->imPoints->Left(),
                                w->markers->labDat[1].Top + 140 - w->imPoints->Top());
        QCOMPARE(w->imPoints->ToolTipText, QStringLiteral("3000 N;  2000 E"));
        QCOMPARE(w->labText->text(), QStringLiteral("2 Contour and Datum Points"));
        QCOMPARE(w->labDatNum->text(), QStringLiteral("1"));
        QCOMPARE(w->labConNum->text(), QStringLiteral("1"));
        // Contour markers were brought to the front last.
        QCOMPARE(w->markers->stacking().back(), MarkerKind::Con);
        // imContacts lies exactly over the map picture.
        QCOMPARE(w->imContacts->Left(), w->imPoints->Left());
        QCOMPARE(w->imContacts->Height(), w->imPoints->Height());
    }

    void pointToolTips_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("feet");
        QTest::addColumn<QString>("datumTip");
        QTest::addColumn<QString>("contourTip");
        QTest::newRow("structural, feet") << "struc" << true << QStringLiteral("Stuctural Datum Point 4: Z = 120 feet")
                                          << QStringLiteral("Structural Contour Point 9: Z = -3 feet");
        QTest::newRow("structural, meters") << "struc" << false
                                            << QStringLiteral("Stuctural Datum Point 4: Z = 120 meters")
                                            << QStringLiteral("Structural Contour Point 9: Z = -3 meters");
        QTest::newRow("isopach") << "iso" << false << QStringLiteral("Isopach Datum Point 4: Z = 120 meters")
                                 << QStringLiteral("Isopach Contour Point 9: Z = -3 meters");
        QTest::newRow("no kind chosen") << "" << true << QStringLiteral("Isopach Datum Point 4: Z = 120 feet")
                                        << QStringLiteral("Isopach Contour Point 9: Z = -3 feet");
    }
    void pointToolTips() {
        QFETCH(QString, kind);
        QFETCH(bool, feet);
        auto w = registeredWindow();
        if (kind == QLatin1String("struc")) w->optStruc->setValue(true);
        if (kind == QLatin1String("iso")) w->optIso->setValue(true);
        w->mnuCoordFeet->setChecked(feet);
        addPoint(*w, true, 4, 2000, 3000, 120.4f);
        addPoint(*w, false, 9, 2000, 3000, -2.5f);
        w->mapView->MapReplot();
        QTEST(w->markers->labDat[1].ToolTipText, "datumTip");
        QTEST(w->markers->labCon[1].ToolTipText, "contourTip");
    }

    void contactMode() {
        auto w = registeredWindow();
        w->optRock->setValue(true);
        addPoint(*w, true, 2, 2000, 3000, 7);
        addPoint(*w, true, 1, 2100, 3000, 3);
        addPoint(*w, true, 2, 2200, 3000, 3);
        addPoint(*w, false, 1, 2000, 2000, 3);
        w->doc.ContactShown = QStringLiteral("3");
        w->mapView->MapReplot();
        QCOMPARE(w->markers->labDat[1].ToolTipText, QStringLiteral("Contact 7 Datum Point: 2"));
        QVERIFY(!w->markers->labDat[1].Visible);
        QVERIFY(w->markers->labDat[2].Visible);
        QVERIFY(w->markers->labDat[3].Visible);
        QVERIFY(!w->markers->labCon[1].Visible);
        QCOMPARE(w->labText->text(), QStringLiteral("Contact 3: Points"));
        QCOMPARE(w->markers->stacking().back(), MarkerKind::Dat);

        w->doc.ContactShown = QStringLiteral("5");
        w->mapView->MapReplot();
        for (int i = 1; i <= 3; ++i) QVERIFY(!w->markers->labDat[i].Visible);
        QCOMPARE(w->labText->text(), QStringLiteral("Contact 5: Points"));
    }

    void referenceToolTips() {
        auto w = registeredWindow(1234.6, 5000.4);
        QCOMPARE(w->markers->labRef[1].ToolTipText, QStringLiteral("Reference Point 1: N = 5000; E = 1235"));
        QCOMPARE(w->markers->labRef[2].ToolTipText, QStringLiteral("Reference Point 2: N = 2000; E = 3000"));
        // In degrees under a projection the inverse gives the typed values.
        w->doc.CoordUnits = QStringLiteral("Degrees");
        w->doc.LatLongFormat = QStringLiteral("1");
        w->doc.ProjectionName = projection_names::StandardMercator;
        w->doc.ProjScaleY = 1;
        w->doc.RefMapX1 = -105.5f;
        w->doc.RefMapY1 = ProjectMercator(w->doc, 40.5, true);
        w->mapView->MapReplot();
        QCOMPARE(w->markers->labRef[1].ToolTipText, QStringLiteral("Reference Point 1: 254.5° E;  40.5° N"));
        // A name the program does not know leaves the tips as they are.
        w->doc.ProjectionName = QStringLiteral("Miller Cylindrical");
        w->mapView->MapReplot();
        QCOMPARE(w->markers->labRef[1].ToolTipText, QStringLiteral("Reference Point 1: 254.5° E;  40.5° N"));
    }

    void unregisteredClickMovesOnlyTheFirstMarker() {
        auto w = startWindow();
        importMap(*w, mapPath);
        testsupport::dialogs().clear();
        w->imPoints->Move(0, 0);
        w->doc.RefPixelX1 = 600;
        w->doc.RefPixelY1 = 900;
        w->markers->labRef[2].Left = 77;
        const QString line = w->labText->text();
        const QString status = w->panel(2);
        w->mapView->MapReplot();
        QCOMPARE(w->markers->labRef[1].Left, 450.0);
        QCOMPARE(w->markers->labRef[1].Top, 640.0);
        QCOMPARE(w->markers->labRef[2].Left, 77.0);
        QVERIFY(!w->markers->labRef[1].Visible);
        QCOMPARE(w->labText->text(), line);
        QCOMPARE(w->panel(2), status);
        QVERIFY(!w->imPoints->isHidden());
        QVERIFY(testsupport::dialogs().prompts.empty());
    }

    void labelsOnScreen() {
        auto w = registeredWindow();
        int replots = 0;
        w->mapView->labelReplot = [&] { ++replots; };
        w->doc.LabelCount = 1;
        w->doc.MapLabels.resize(2);
        w->markers->labMap.load(1).Visible = true;
        w->LabelsShown = true;
        w->mnuViewShowLabels->setChecked(false);
        w->mapView->MapReplot();
        // Hidden only when the menu item is checked; redrawn by the labels.
        QVERIFY(w->markers->labMap[1].Visible);
        QCOMPARE(replots, 1);
        w->mnuViewShowLabels->setChecked(true);
        w->mapView->MapReplot();
        QVERIFY(!w->markers->labMap[1].Visible);
        QCOMPARE(replots, 2);
        w->LabelsShown = false;
        w->mapView->MapReplot();
        QVERIFY(!w->mnuViewShowLabels->isChecked());
        QCOMPARE(replots, 2);
    }

    void failuresAreReported() {
        auto w = registeredWindow();
        auto& dl = testsupport::dialogs();
        addPoint(*w, true, 1, 2000, 3000, 5);
        w->doc.MapSpanX = 0;
        w->mapView->MapReplot();
        QCOMPARE(dl.prompts.size(), size_t(1));
        QCOMPARE(dl.prompts[0].text, QStringLiteral("MapReplot error: \n\nDivision by zero"));
        QCOMPARE(dl.prompts[0].icon, dlg::Icon::Information);
        QVERIFY(!w->doc.MapBusy);
        QVERIFY(!w->markers->labDat[1].Visible); // hidden before the failure, left hidden

        // A record without its marker.
        dl.clear();
        w->doc.MapSpanX = 1000;
        ++w->doc.DatCount;
        w->doc.DatumPoints.resize(3);
        w->mapView->MapReplot();
        QCOMPARE(dl.prompts.size(), size_t(1));
        QVERIFY(dl.prompts[0].text.startsWith(QStringLiteral("MapReplot error: \n\n")));
    }

    void fullMapCountsAsThirtyTwoBit() {
        auto w = registeredWindow();
        const int n = 32767;
        Document& d = w->doc;
        d.DatumPoints.resize(n + 1);
        d.ContourPoints.resize(n + 1);
        for (int i = 1; i <= n; ++i) {
            d.DatumPoints[size_t(i)] = DataPoint{int16_t(i), 1000.0f + i % 2000, 2000.0f + i % 1500, 1, false};
            d.ContourPoints[size_t(i)] = DataPoint{int16_t(i), 1500.0f + i % 1000, 2500.0f + i % 900, 2, false};
            w->markers->labDat.load(i);
            w->markers->labCon.load(i);
        }
        d.DatCount = d.ConCount = n;
        w->mapView->MapReplot();
        QVERIFY(testsupport::dialogs().prompts.empty());
        QCOMPARE(w->labText->text(), QStringLiteral("65534 Contour and Datum Points"));
        QCOMPARE(w->labDatNum->text(), QStringLiteral("32767"));
        QVERIFY(w->markers->labCon[n].Visible);
        QCOMPARE(w->markers->labCon[n].ToolTipText, QStringLiteral("Isopach Contour Point 32767: Z = 2 meters"));
    }

    void hitTestingFollowsTheStacking() {
        MarkerOverlay overlay(nullptr, nullptr, nullptr);
        overlay.labRef.load(1) = Marker{100, 100, 300, 400, QStringLiteral("+"), {}, 255, true, {}};
        overlay.labCon.load(1) = Marker{150, 150, 100, 180, QStringLiteral("*"), {}, 255, true, {}};
        overlay.labDat.load(1) = Marker{160, 160, 100, 180, QStringLiteral("*"), {}, 255, true, {}};
        overlay.labDat.load(2) = Marker{170, 170, 100, 180, QStringLiteral("*"), {}, 255, true, {}};
        // At first the registration crosses lie on top.
        QCOMPARE(overlay.hitTest(200, 200).kind, MarkerKind::Ref);
        overlay.bringToFront(MarkerKind::Dat);
        const MarkerHit h = overlay.hitTest(200, 200);
        QCOMPARE(h.kind, MarkerKind::Dat);
        QCOMPARE(h.index, 2); // the later member lies above
        overlay.bringToFront(MarkerKind::Con);
        QCOMPARE(overlay.hitTest(200, 200).kind, MarkerKind::Con);
        overlay.labCon[1].Visible = false;
        QCOMPARE(overlay.hitTest(200, 200).kind, MarkerKind::Dat);
        QCOMPARE(overlay.hitTest(50, 50).kind, MarkerKind::None);
        QCOMPARE(overlay.toolTipAt(50, 50), QString());
    }

    void paintsVisibleMarkersOnly() {
        auto w = registeredWindow();
        addPoint(*w, true, 1, 2000, 3000, 5);
        addPoint(*w, true, 2, 1500, 2500, 5);
        w->markers->labDat[1].ForeColor = 0x0000FF; // red
        w->markers->labDat[2].ForeColor = 0xFF0000; // blue
        w->mapView->MapReplot();
        w->markers->labDat[2].Visible = false;
        w->markers->labRef[1].Visible = w->markers->labRef[2].Visible = false;
        QImage img(w->markers->size(), QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        w->markers->render(&img, QPoint(), QRegion(), QWidget::RenderFlags());
        // Pixels mostly of the given colour (the glyph's edges are smoothed).
        auto countNear = [&](const Marker& m, QRgb colour) {
            const QRect r = twips::rect(m.Left, m.Top, m.Width, m.Height).adjusted(-4, -4, 8, 8);
            int n = 0;
            for (int y = std::max(0, r.top()); y <= std::min(img.height() - 1, r.bottom()); ++y)
                for (int x = std::max(0, r.left()); x <= std::min(img.width() - 1, r.right()); ++x)
                {
                    const QColor c = img.pixelColor(x, y);
                    if (c.alpha() > 100 && qAbs(c.red() - qRed(colour)) < 60 && qAbs(c.green() - qGreen(colour)) < 60 &&
                        qAbs(c.blue() - qBlue(colour)) < 60)
                        ++n;
                }
            return n;
        };
        QVERIFY(countNear(w->markers->labDat[1], qRgb(255, 0, 0)) > 0);
        QCOMPARE(countNear(w->markers->labDat[2], qRgb(0, 0, 255)), 0);
    }

    void glyphsSitOnTheirPoints() {
        MarkerOverlay overlay(nullptr, nullptr, nullptr);
        overlay.resize(200, 200);
        // A cross for a point at (1500, 1500) twips, a star for one at (900, 2100).
        overlay.labRef.load(1) = Marker{1500 - 150, 1500 - 260, 300, 400, QStringLiteral("+"), {}, 0, true, {}};
        overlay.labDat.load(1) = Marker{900 - 40, 2100 - 140, 100, 180, QStringLiteral("*"), {}, 0, true, {}};
        QImage img(overlay.size(), QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        overlay.render(&img, QPoint(), QRegion(), QWidget::RenderFlags());
        // Centre of the inked pixels within a window around a point; the box
        // lies on whole pixels and the ink of a small glyph is not centred on
        // its box, so a few pixels either way is the limit.
        auto centre = [&](QPoint p) {
            double sx = 0, sy = 0, n = 0;
            for (int y = p.y() - 15; y <= p.y() + 15; ++y)
                for (int x = p.x() - 15; x <= p.x() + 15; ++x) {
                    const double a = qAlpha(img.pixel(x, y));
                    sx += a * x;
                    sy += a * y;
                    n += a;
                }
            return n > 0 ? QPointF(sx / n, sy / n) : QPointF(-100, -100);
        };
        const QPointF cross = centre(QPoint(100, 100));
        QVERIFY2(qAbs(cross.x() - 100) <= 2 && qAbs(cross.y() - 100) <= 2,
                 qPrintable(QStringLiteral("%1 %2").arg(cross.x()).arg(cross.y())));
        const QPointF star = centre(QPoint(60, 140));
        QVERIFY2(qAbs(star.x() - 60) <= 3 && qAbs(star.y() - 140) <= 3,
                 qPrintable(QStringLiteral("%1 %2").arg(star.x()).arg(star.y())));
    }
};

VEX_TEST(MapReplotTest);
#include "MapReplotTest.moc"
