// Point removal: which points the filters keep, and the commands of the Edit menu driven on the
// real main window with scripted answers.
#include "common/DigitizeSupport.h"
#include "common/TableRows.h"
#include "common/TestRegistry.h"
#include "map/MapView.h"
#include "map/Projections.h"
#include "removal/Filters.h"

#include <QTest>

using namespace testsupport;

Q_DECLARE_METATYPE(removal::FilterRule)

namespace {

// A registered linear map (6 twips per metre) holding contacts or structural data: datum points
// n = 1..datum at (100n, 100n), Z 10n, and contour points n = 1..contour at (100n + 50, 950 - 100n),
// Z 10n + 5, the range 100 to 500 typed.  Each marker's colour is its point's number, so a marker that
// strays from its point shows.
std::unique_ptr<MainWindow> window(bool contacts, int datum = 5, int contour = 3) {
    auto w = startLinearWindow();
    (contacts ? w->optRock : w->optStruc)->setValue(true);
    Document& d = w->doc;
    d.DatumPoints = d.ContourPoints = std::vector<DataPoint>(1);
    for (int16_t n = 1; n <= datum; ++n) {
        d.DatumPoints.push_back({n, 100.0f * n, 100.0f * n, 10.0f * n});
        w->markers->labDat.load(n).ForeColor = n;
    }
    for (int16_t n = 1; n <= contour; ++n) {
        d.ContourPoints.push_back({n, 100.0f * n + 50, 950 - 100.0f * n, 10.0f * n + 5});
        w->markers->labCon.load(n).ForeColor = n;
    }
    w->labDatNum->setText(QString::number(d.DatCount = datum));
    w->labConNum->setText(QString::number(d.ConCount = contour));
    w->mapView->MapReplot();
    w->txtMax->setText(QStringLiteral("500")); // a range typed for the plot
    w->txtMin->setText(QStringLiteral("100"));
    d.DataChanged = false;
    d.ContoursCurrent = true;
    return w;
}

void choose(QAction* item, std::initializer_list<dlg::ScriptedAnswer> answers) {
    for (const auto& a : answers) dialogs().queue(a);
    item->trigger();
}

// The sets as "datum / contour", each as its count caption and its points' Z.  A marker that
// strayed from its point shows as "!", a marker count out of step as "markers n".
QString sets(MainWindow& w) {
    QStringList out;
    for (const bool datum : {true, false}) {
        const auto& points = datum ? w.doc.DatumPoints : w.doc.ContourPoints;
        const auto& marks = datum ? w.markers->labDat : w.markers->labCon;
        const int n = datum ? w.doc.DatCount : w.doc.ConCount;
        out << (datum ? w.labDatNum : w.labConNum)->text() + ':';
        for (int i = 1; i <= std::min(n, marks.count()); ++i)
            out.back() += ' ' + QString::number(points.at(size_t(i)).Z) +
                          (marks[i].ForeColor == points[size_t(i)].Number ? "" : "!");
        if (marks.count() != n) out.back() += QStringLiteral(" markers %1").arg(marks.count());
    }
    return out.join(QStringLiteral(" / "));
}

} // namespace

class RemovalTest : public QObject {
    Q_OBJECT
private slots:
    void init() { dialogs().clear(); }

    // Points 1..5 at longitudes 10, 20, 30, 40, 50 and latitudes 38, 41, 44, 47, 50 (degrees) with
    // Z -2, 0.5, 3, 12, 1, stored projected under the projection; only the first 4 are looked at.
    void filters_data() {
        QTest::addColumn<QString>("projection");
        QTest::addColumn<removal::FilterRule>("rule");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QList<int>>("kept");
        using enum removal::Quantity;
        using enum removal::Removed;
        const auto row = [](const char* projection, removal::FilterRule rule, const char* answer, QList<int> kept) {
            QTest::addRow("%s %s", projection, answer) << QString(projection) << rule << QString(answer) << kept;
        };
        const char* const linear = "Linear Coordinates";
        // The limit is the leading number of the answer; a designator compares as typed.
        row(linear, {Z, Greater}, "2.9x", {1, 2});
        row(linear, {Z, Less}, "x", {2, 3, 4});
        row(linear, {ContactText, TextEquals}, "03", {1, 2, 3, 4});
        row(linear, {ContactText, TextEquals}, "3 ", {1, 2, 3, 4});
        row(linear, {ContactText, TextEquals}, "0.5", {1, 3, 4});
        row(linear, {ContactText, TextDiffers}, "abc", {});
        // Under Mercator Y, and under the two-coordinate projections X and Y, are the degrees of the
        // inverse projection: the stored values (about 1 or less) would keep or remove them all.
        row("Standard Mercator", {Latitude, Less}, "39", {2, 3, 4});
        row("Transverse Mercator", {Longitude, Greater}, "25", {1, 2});
        row("Transverse Mercator", {Latitude, Less}, "39", {2, 3, 4});
    }
    void filters() {
        QFETCH(QString, projection);
        QFETCH(removal::FilterRule, rule);
        QFETCH(QString, answer);
        Document d;
        d.ProjectionName = projection;
        d.ProjScaleX = d.ProjScaleY = 1;
        d.CentralMeridian = float(DegRad(20, true));
        const TwoCoordProjection f = twoCoordProjection(projection);
        std::vector<DataPoint> points(1);
        for (const float z : {-2.0f, 0.5f, 3.0f, 12.0f, 1.0f}) {
            const double lon = 10.0 * double(points.size()), lat = 35 + 3.0 * double(points.size());
            const float y = projection == "Standard Mercator" ? ProjectMercator(d, lat, true) : float(lat);
            points.push_back({0, f ? f(d, lon, lat, true, true) : float(lon), f ? f(d, lon, lat, true, false) : y, z});
        }
        const std::vector<int> kept = removal::keptIndexes(d, points, 4, rule, answer);
        QTEST(QList<int>(kept.begin(), kept.end()), "kept");
    }

    // Each command of tests/data/removal/commands.txt answered Yes: its prompts, the sets left,
    // and the Show button's caption and tool tip and the frame's title; for some, what the range
    // boxes and the points line read as the next data begins.
    void removal_data() { addFileRows(QStringLiteral("removal/commands.txt")); }
    void removal() {
        const Fields r = rowFields();
        const bool contacts = r.flag(1);
        auto w = window(contacts, r.whole(2), r.whole(3));
        w->cmdShow->setText(QStringLiteral("Show"));
        w->cmdShow->setToolTip(QStringLiteral("tip"));
        w->Frame7->setTitle(QStringLiteral("frame"));
        w->doc.LabelCount = 1;
        w->doc.OtherCount = 2;
        emit w->mnuOptClearDat->aboutToShow(); // contact items for contacts, Z items otherwise
        QCOMPARE(w->mnuOptClearDatAllbutOne->isEnabled(), contacts);
        QCOMPARE(w->mnuOptClearDatZGreater->isEnabled(), !contacts);
        if (!r.str(0).isEmpty()) dialogs().queue(r.str(0));
        choose(w->findChild<QAction*>(QString(QTest::currentDataTag()).section(' ', 0, 0)), {dlg::Answer::Yes});
        QStringList prompts;
        for (const dlg::Prompt& p : dialogs().prompts) prompts << p.text;
        QCOMPARE(prompts.join(" / "), r.str(4));
        QVERIFY(dialogs().prompts.back().buttons == dlg::Buttons::YesNo &&
                dialogs().prompts.back().icon == dlg::Icon::Question);
        QCOMPARE(sets(*w), r.str(5));
        QCOMPARE(w->cmdShow->text() + " / " + w->cmdShow->toolTip() + " / " + w->Frame7->title(), r.str(6));
        // With nothing left the next save asks for a name; the labels, the second data set and the
        // registration always stay.
        const bool empty = w->doc.DatCount + w->doc.ConCount == 0;
        QCOMPARE((contacts ? w->optRock : w->optStruc)->isChecked(), !empty);
        QCOMPARE(w->doc.AskProjectName, empty);
        QVERIFY(w->doc.DataChanged && !w->doc.ContoursCurrent && w->doc.MapRegistered);
        QCOMPARE(w->doc.LabelCount + w->doc.OtherCount, 3);
        if (r.str(7).isEmpty()) return;
        // Isopach chosen, then its first datum point recorded.
        QStringList boxes;
        const auto read = [&] { boxes << w->txtMax->text() + " / " + w->txtMin->text() + " / " + w->labText->text(); };
        w->optIso->setValue(true);
        read();
        w->optDat->setValue(true);
        recordAt(*w, 600, 600, QStringLiteral("12.5"));
        read();
        QCOMPARE(boxes.join("; "), r.str(7));
    }

    // Cancel, an empty answer and No change nothing, nor does a filter that fails, which says why.
    void declinedOrFailedRemovalChangesNothing() {
        auto w = window(false);
        choose(w->mnuOptClearDatZGreater, {dlg::Cancel{}});
        choose(w->mnuOptClearDatZGreater, {QString()});
        choose(w->mnuOptClearDatZGreater, {QStringLiteral("15"), dlg::Answer::No});
        for (QAction* a : {w->mnuOptClearDatAll, w->mnuOptClearConAll, w->mnuOptClearAll}) choose(a, {dlg::Answer::No});
        w->doc.ConCount = 4; // a count beyond the records
        choose(w->mnuOptClearConZGreater, {QStringLiteral("25"), dlg::Answer::Yes, dlg::Answer::OK});
        QCOMPARE(dialogs().prompts.size(), size_t(10));
        QCOMPARE(dialogs().prompts[9].text, QStringLiteral("mnuOptClearCon error: \n\nSubscript out of range"));
        QVERIFY(dialogs().prompts[9].icon == dlg::Icon::Information && dialogs().unanswered == 0);
        w->doc.ConCount = 3;
        QCOMPARE(sets(*w), QStringLiteral("5: 10 20 30 40 50 / 3: 15 25 35"));
        QVERIFY(!w->doc.DataChanged && w->doc.ContoursCurrent);
    }

    // Chosen while a redraw or a combination runs, a command waits for it to
    // end and then runs: the user's choice is not dropped.
    void commandsChosenWhileBusyRunAfterward() {
        auto w = window(false);
        w->doc.MapBusy = true;
        choose(w->mnuOptClearDatZGreater, {QStringLiteral("30"), dlg::Answer::Yes, dlg::Answer::Yes});
        w->mnuOptClearConAll->trigger();
        QVERIFY(dialogs().prompts.empty() && w->doc.DatCount == 5);
        w->doc.MapBusy = false;
        QTRY_COMPARE(w->doc.ConCount, 0);
        QCOMPARE(sets(*w), QStringLiteral("3: 10 20 30 / 0:"));
    }
};

VEX_TEST(RemovalTest);
#include "RemovalTest.moc"
