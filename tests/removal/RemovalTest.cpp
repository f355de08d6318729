// Point removal: which points the filters keep, and the commands of the Edit menu driven on the
// real main window with scripted answers.
#include "common/TestRegistry.h"
#include "digitize/DigitizeFixture.h"
#include "map/MapView.h"
#include "map/Projections.h"
#include "removal/Filters.h"

#include <QTest>

using namespace digitize_fixture;
using testsupport::dialogs;

Q_DECLARE_METATYPE(removal::FilterRule)

namespace {

// A registered linear map (6 twips per metre) holding contacts or structural data: datum points
// n = 1..datum at (100n, 100n), Z 10n, and contour points n = 1..contour at (100n + 50, 950 - 100n),
// Z 10n + 5.  Each marker's colour is its point's number, so a marker that strays from its point shows.
std::unique_ptr<MainWindow> window(bool contacts, int datum = 5, int contour = 3) {
    auto w = startWindow();
    registerLinear(*w);
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

    // Each command, on contacts or structural data with some datum and contour points, answered
    // Yes: its prompts, the sets left, and the Show button's caption and tool tip and the frame's
    // title ("Show|tip|frame" before).
    void removal_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("typed"); // "" for the commands that ask for no value
        QTest::addColumn<QStringList>("prompts");
        QTest::addColumn<bool>("contacts");
        QTest::addColumn<int>("datum");
        QTest::addColumn<int>("contour");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("captions");
        const auto filter = [](const char* item, const char* typed, const QString& prompt, const char* question,
                               const char* left) {
            const QString set = QByteArray(item).contains("Dat") ? "datum" : "contour";
            QTest::addRow("%s %s", item, typed) << QString(item) << QString(typed)
                << QStringList{prompt, QStringLiteral("Do you wish to remove all %1 points %2 ?").arg(set, question)}
                << QByteArray(item).contains("One") << 5 << 3 << QString(left) << QStringLiteral("Show|tip|frame");
        };
        const QString x = QStringLiteral("Enter the X value (longitude) %1 which to remove points");
        const QString y = QStringLiteral("Enter the Y value (latitude) %1 which to remove points");
        const QString z = QStringLiteral("Enter the Z value %1 which to remove points");
        filter("mnuOptClearDatXLess", "200", x.arg("below"), "with X < 200", "4: 20 30 40 50 / 3: 15 25 35");
        filter("mnuOptClearDatXGreater", "300", x.arg("above"), "with X > 300", "3: 10 20 30 / 3: 15 25 35");
        filter("mnuOptClearDatYLess", "350", y.arg("below"), "with Y < 350", "2: 40 50 / 3: 15 25 35");
        filter("mnuOptClearDatYGreater", "400", y.arg("above"), "with Y > 400", "4: 10 20 30 40 / 3: 15 25 35");
        filter("mnuOptClearDatZLess", "30", z.arg("below"), "with Z < 30", "3: 30 40 50 / 3: 15 25 35");
        filter("mnuOptClearDatZGreater", "25", z.arg("above"), "with Z > 25", "2: 10 20 / 3: 15 25 35");
        filter("mnuOptClearConXLess", "250", x.arg("below"), "with X < 250", "5: 10 20 30 40 50 / 2: 25 35");
        filter("mnuOptClearConXGreater", "200", x.arg("above"), "with X > 200", "5: 10 20 30 40 50 / 1: 15");
        filter("mnuOptClearConYLess", "800", y.arg("below"), "with Y < 800", "5: 10 20 30 40 50 / 1: 15");
        filter("mnuOptClearConYGreater", "700", y.arg("above"), "with Y > 700", "5: 10 20 30 40 50 / 1: 35");
        filter("mnuOptClearConZLess", "35", z.arg("below"), "with Z < 35", "5: 10 20 30 40 50 / 1: 35");
        filter("mnuOptClearConZGreater", "15", z.arg("above"), "with Z > 15", "5: 10 20 30 40 50 / 1: 15");
        // A filter never empties its set: the last points go only by the commands removing all.
        filter("mnuOptClearConZGreater", "0", z.arg("above"), "with Z > 0", "5: 10 20 30 40 50 / 3: 15 25 35");
        filter("mnuOptClearDatOne", "30", "Enter the contact designator number to remove", "for contact: 30",
               "4: 10 20 40 50 / 3: 15 25 35");
        filter("mnuOptClearDatAllbutOne", "20", "Enter the contact designator number to retain",
               "except those of contact: 20", "1: 20 / 3: 15 25 35");
        const auto all = [](const char* item, const char* what, bool contacts, int datum, int contour, const char* left,
                            const char* captions) {
            QTest::addRow("%s %d/%d", item, datum, contour) << QString(item) << QString()
                << QStringList{QStringLiteral("Do you wish to remove all %1 points?").arg(what)} << contacts << datum
                << contour << QString(left) << QString(captions);
        };
        // Once nothing is left the contour controls and the kind are reset.
        const char* const contours = "Show Contours|Click to show contour map|Contours";
        all("mnuOptClearDatAll", "Datum", false, 5, 3, "0: / 3: 15 25 35", "Show|tip|frame");
        all("mnuOptClearDatAll", "Datum", false, 5, 0, "0: / 0:", contours);
        all("mnuOptClearDatAll", "Datum", true, 2, 0, "0: / 0:", "Show Contacts|Click to show contact map|Contacts");
        all("mnuOptClearConAll", "Contour", true, 0, 3, "0: / 0:", "Show Contours|tip|frame");
        all("mnuOptClearAll", "(Datum and Contour)", true, 2, 3, "0: / 0:", contours);
    }
    void removal() {
        QFETCH(QString, item);
        QFETCH(QString, typed);
        QFETCH(bool, contacts);
        QFETCH(int, datum);
        QFETCH(int, contour);
        auto w = window(contacts, datum, contour);
        w->cmdShow->setText(QStringLiteral("Show"));
        w->cmdShow->setToolTip(QStringLiteral("tip"));
        w->Frame7->setTitle(QStringLiteral("frame"));
        w->doc.LabelCount = 1;
        w->doc.OtherCount = 2;
        emit w->mnuOptClearDat->aboutToShow(); // contact items for contacts, Z items otherwise
        QCOMPARE(w->mnuOptClearDatAllbutOne->isEnabled(), contacts);
        QCOMPARE(w->mnuOptClearDatZGreater->isEnabled(), !contacts);
        if (!typed.isEmpty()) dialogs().queue(typed);
        choose(w->findChild<QAction*>(item), {dlg::Answer::Yes});
        QStringList prompts;
        for (const dlg::Prompt& p : dialogs().prompts) prompts << p.text;
        QTEST(prompts, "prompts");
        QVERIFY(dialogs().prompts.back().buttons == dlg::Buttons::YesNo &&
                dialogs().prompts.back().icon == dlg::Icon::Question);
        QTEST(sets(*w), "left");
        QTEST(w->cmdShow->text() + '|' + w->cmdShow->toolTip() + '|' + w->Frame7->title(), "captions");
        // With nothing left the next save asks for a name; the labels, the second data set and the
        // registration always stay.
        const bool empty = w->doc.DatCount + w->doc.ConCount == 0;
        QCOMPARE((contacts ? w->optRock : w->optStruc)->isChecked(), !empty);
        QCOMPARE(w->doc.AskProjectName, empty);
        QVERIFY(w->doc.DataChanged && !w->doc.ContoursCurrent && w->doc.MapRegistered);
        QCOMPARE(w->doc.LabelCount + w->doc.OtherCount, 3);
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
