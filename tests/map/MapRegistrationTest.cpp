// Two-point registration driven through the main window: the round trip
// from the typed values to the cursor read-out under every coordinate
// system with a zoom between the clicks (and point 2 registered again), the
// map's proportions under every system, and a registration cut short by
// Cancel or a bad answer.  The tables are under tests/data/map.
#include "common/MapSupport.h"

using namespace maptest;

class MapRegistrationTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString mapPath = writeMap(dir, QStringLiteral("survey.png"), 1000, 800);
    QPointF c1, c2; // the clicks, at (0.2, 0.3) and (0.7, 0.8) of the picture

    // The read-out text the map gives at (x, y) twips on the picture.
    static QString readOut(MainWindow& w, double x, double y) {
        w.mapView->MapPosition(x, y);
        return w.imPoints->ToolTipText;
    }

    // The window with the map under the given system, two decimals of a degree.
    std::unique_ptr<MainWindow> windowUnder(const QString& system, const QString& units, const QString& path) {
        auto w = windowWithMap(path);
        w->mapView->degreeFormatClick(DegreeFormatItem::Decimal2);
        w->mapView->coordClick(coordItemNamed(system));
        w->mapView->coordClick(coordItemNamed(units));
        c1 = {w->imPoints->Width() * 0.2, w->imPoints->Height() * 0.3};
        c2 = {w->imPoints->Width() * 0.7, w->imPoints->Height() * 0.8};
        dialogs().clear();
        return w;
    }

private slots:
    void roundTrip_data() { testsupport::addFileRows(QStringLiteral("map/registration.txt")); }
    void roundTrip() {
        const auto r = testsupport::rowFields();
        auto w = windowUnder(r.str(0), r.str(1), mapPath);
        auto& dl = dialogs();
        queueAll(r.str(2).split(u' '));
        for (int i : {5, 6}) if (r.str(i) != u'-') dl.queue(dlg::Answer::OK); // the suggestion
        // A zoom between the clicks: the first one moves with the picture.
        const double W = w->imPoints->Width(), H = w->imPoints->Height();
        w->mapView->MapRegister(c1.x(), c1.y());
        w->mapView->cmdZoomIn_Click();
        const double kx = w->imPoints->Width() / W, ky = w->imPoints->Height() / H;
        QVERIFY(kx > 1.2 && w->doc.RefPixelX1 == float(c1.x() * kx) && w->doc.RefPixelY1 == float(c1.y() * ky));
        w->mapView->MapRegister(c2.x() * kx, c2.y() * ky);
        // Four values asked (their texts: see interrupted), then the suggestions.
        QCOMPARE(dl.prompts.size(), size_t(4 + (r.str(5) != u'-') + (r.str(6) != u'-')));
        QVERIFY((r.str(5) == u'-' || dl.prompts[4].defaultText == r.str(5)) &&
                (r.str(6) == u'-' || dl.prompts[5].defaultText == r.str(6)));
        QVERIFY(dl.unanswered == 0 && dl.answers.empty() && w->doc.MapRegistered && w->optDat->isEnabled());
        QVERIFY(!w->mnuCoord->menuAction()->isEnabled());
        if (r.str(0) == QLatin1String("TMerc")) QCOMPARE(w->doc.CentralParallel, 0.0f); // kept from the reset
        // At the page again the transform follows the picture's size.
        for (auto [fx, fy] : {std::pair{kx, ky}, {1.0, 1.0}}) {
            if (fx == 1.0) w->mapView->cmdZoomPage_Click();
            QCOMPARE(readOut(*w, c1.x() * fx, c1.y() * fy), r.str(3));
            QCOMPARE(readOut(*w, c2.x() * fx, c2.y() * fy), r.str(4));
        }
        // The reference markers sit on their clicks and say where they are.
        const Marker &m1 = w->markers->labRef[1], &m2 = w->markers->labRef[2];
        QVERIFY(qAbs(m1.Left + w->doc.RefMarkOffsetX - w->imPoints->Left() - c1.x()) < 0.5 && m1.Visible);
        QVERIFY(qAbs(m2.Top + w->doc.RefMarkOffsetY - w->imPoints->Top() - c2.y()) < 0.5 && m2.Visible);
        QVERIFY(m2.ToolTipText.startsWith(QStringLiteral("Reference Point 2: ")));
        if (r.str(7) == u'-') return;
        w->doc.RefPixelX2 = w->doc.RefPixelY2 = 0;
        w->markers->labRef[2].Visible = w->doc.MapRegistered = false;
        dl.clear();
        queueAll(r.str(7).split(u' '));
        w->mapView->MapRegister(c2.x() * 0.9, c2.y() * 0.95);
        QVERIFY(w->doc.MapRegistered && dl.prompts[2].defaultText == r.str(7).section(u' ', 2, 2));
        QVERIFY(readOut(*w, c1.x(), c1.y()) == r.str(3) && readOut(*w, c2.x() * 0.9, c2.y() * 0.95) == r.str(8));
    }

    // A field sheet of 2000 x 1500 pixels whose pixels are square on the
    // ground, registered at 105.5 W 40.0 N and 105.0 W 39.6 N (960 x 1000
    // pixels apart) about 105.25 W, 39.8 N: the map's height over its width
    // from PROJ's values of the two points (proj +R=1).  The Mercators keep
    // the picture's 3:4, their map units the same size across and down; the
    // plate carree widens it by 1 / cos 39.8 degrees (exactly 0.4 x 1500 /
    // 1000 over 0.5 x 2000 / 960); the azimuthals and the conics, whose map
    // X counts the picture per degree of longitude, narrow it by cos 39.8.
    void mapProportions_data() { testsupport::addFileRows(QStringLiteral("map/proportions.txt")); }
    void mapProportions() {
        const QString system = QString::fromLatin1(QTest::currentDataTag());
        const double ratio = testsupport::rowFields().num(0);
        auto w = windowUnder(system, QStringLiteral("Degrees"), writeMap(dir, QStringLiteral("sheet.png"), 2000, 1500));
        const double W = w->imPoints->Width(), H = w->imPoints->Height();
        queueAll({"-105.5", "40.0", "-105.0", "39.6", "-105.25", "39.8"});
        w->mapView->MapRegister(W * 400 / 2000, H * 200 / 1500);
        w->mapView->MapRegister(W * 1360 / 2000, H * 1200 / 1500);
        QVERIFY2(w->doc.MapRegistered && qAbs(w->doc.MapSpanY / w->doc.MapSpanX - ratio) < 1e-4,
                 qPrintable(QString::number(w->doc.MapSpanY / w->doc.MapSpanX, 'g', 6)));
    }

    void interrupted_data() { testsupport::addFileRows(QStringLiteral("map/registration-interrupted.txt")); }
    void interrupted() {
        const auto r = testsupport::rowFields();
        auto w = windowUnder(r.str(0), r.str(1), mapPath);
        auto& dl = dialogs();
        for (const QString& a : r.str(2).split(u' ', Qt::SkipEmptyParts))
            a == QLatin1String("cancel") ? dl.queue(dlg::Cancel{}) : dl.queue(a);
        w->mapView->MapRegister(c1.x(), c1.y());
        if (r.str(3) != QLatin1String("one"))
            w->mapView->MapRegister(r.str(3) == QLatin1String("two") ? c2.x() : c1.x(), c2.y());
        QCOMPARE(dl.prompts.back().text + u'/' + dl.prompts.back().title,
                 r.str(4).replace(QLatin1String("\\n"), QLatin1String("\n")) + u'/' + r.str(5));
        const Document& d = w->doc;
        const Marker &m1 = w->markers->labRef[1], &m2 = w->markers->labRef[2];
        QVERIFY(!d.MapRegistered && dl.answers.empty() && d.RefPixelX2 == 0 && d.RefPixelY2 == 0 && !m2.Visible);
        const bool kept = r.str(6) != u'-';
        QVERIFY((d.RefPixelX1 != 0) == kept && m1.Visible == kept && (!kept || m1.ToolTipText == r.str(6)));
        dl.clear();
        w->mapView->MapRegister(c2.x(), c2.y());
        QVERIFY(r.str(7) == u'-' || dl.prompts.front().title == r.str(7));
    }
};

VEX_TEST(MapRegistrationTest);
#include "MapRegistrationTest.moc"
