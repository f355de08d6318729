// Contact lines on the real main window: the drawing, "Halt Show", the
// selection items, the contact bar and the Show button's switch of views.
#include "LabelTestWindow.h"
#include "app/Twips.h"
#include "common/TestRegistry.h"
#include "digitize/ContactDisplay.h"
#include "digitize/LabelCommands.h"
#include "digitize/LabelLayout.h"

#include <QTest>

using namespace labeltest;

namespace {

struct Pt {
    float z;
    int number;
    float x, y;
    long color;
};

// A registered map of contact data holding the given datum points, each
// with its marker, in the point view.
std::unique_ptr<MainWindow> contactMap(std::initializer_list<Pt> pts) {
    auto w = startRegistered();
    w->doc.DataTitle = QStringLiteral("Ridge");
    w->optRock->setEnabled(true);
    w->optRock->setValue(true);
    Document& d = w->doc;
    d.DatumPoints.assign(1, DataPoint{});
    for (const Pt& p : pts) {
        DataPoint r;
        r.Z = p.z;
        r.Number = static_cast<int16_t>(p.number);
        r.X = p.x;
        r.Y = p.y;
        d.DatumPoints.push_back(r);
        Marker& m = w->markers->labDat.load(w->markers->labDat.count() + 1);
        m.ForeColor = p.color;
        m.Visible = true;
    }
    d.DatCount = static_cast<int>(pts.size());
    w->cmdShow->setEnabled(true);
    w->cmdShow->setText(QStringLiteral("Show Contacts"));
    testsupport::dialogs().clear();
    return w;
}

// Contact 5: three points numbered 3, 1, 2; contact 1: two points.
std::unique_ptr<MainWindow> twoContacts() {
    return contactMap({{5, 3, 1500, 4800, 0x0000FF},
                       {5, 1, 2000, 4500, 0x00FF00},
                       {5, 2, 2500, 4800, 0xFF0000},
                       {1, 1, 1200, 4200, 0x00FFFF},
                       {1, 2, 1800, 4100, 0xFF00FF}});
}

QPointF at(const MainWindow& w, int i) {
    const DataPoint& p = w.doc.DatumPoints[static_cast<size_t>(i)];
    return mapToOverlay(w.doc, p.X, p.Y, {w.imContacts->Left(), w.imContacts->Top(), w.imContacts->Width(), w.imContacts->Height()});
}

// The drawn segments as "from>to" by point index, found by their ends.
QString drawn(const MainWindow& w) {
    QStringList out;
    const MarkerOverlay& mk = *w.markers;
    for (int s = 1; s <= w.doc.ContactLineCount; ++s) {
        const LineSegment& g = mk.LineCon[s];
        int from = 0, to = 0;
        for (int i = 1; i <= w.doc.DatCount; ++i) {
            const QPointF p = at(w, i);
            if (p == QPointF(g.X1, g.Y1) && !from) from = i;
            if (p == QPointF(g.X2, g.Y2) && !to) to = i;
        }
        out << QStringLiteral("%1>%2").arg(from).arg(to);
    }
    return out.join(QLatin1Char(' '));
}

} // namespace

class ContactDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::dialogs().clear(); }
    void cleanup() { MainWindow::DoEvents = [] { QCoreApplication::processEvents(); }; }

    void allContactsAsClosedRingsInListOrder() {
        auto w = twoContacts();
        w->imPoints->setVisible(false);
        w->imContacts->setVisible(true);
        w->contactDisplay->ContactShow();
        QCOMPARE(w->doc.ContactLineCount, 5);
        QCOMPARE(w->markers->LineCon.count(), 5);
        // Contact 1 first, then contact 5 by number: 1 -> 2 -> 3 -> 1.
        QCOMPARE(drawn(*w), QStringLiteral("4>5 5>4 2>3 3>1 1>2"));
        // Each segment in the colour of its starting point's marker.
        QCOMPARE(w->markers->LineCon[1].BorderColor, 0x00FFFFL);
        QCOMPARE(w->markers->LineCon[3].BorderColor, 0x00FF00L);
        QCOMPARE(w->markers->LineCon[5].BorderColor, 0x0000FFL);
        for (int i = 1; i <= 5; ++i) QVERIFY(w->markers->LineCon[i].Visible);
        QCOMPARE(w->labText->text(), QStringLiteral("All Contacts: Map"));
        QCOMPARE(w->panel(2), QStringLiteral("Vexolan: Ridge (Contact Map)"));
        QVERIFY(w->doc.ContoursCurrent);
        QVERIFY(!w->doc.MapBusy);
        QCOMPARE(w->cmbShow->count(), 3);
        QCOMPARE(w->cmbShow->itemText(2), QStringLiteral("5"));
        QVERIFY(testsupport::dialogs().prompts.empty());
        // Drawn again: the old lines go first.
        w->contactDisplay->ContactShow();
        QCOMPARE(w->markers->LineCon.count(), 5);
    }

    // One contact by its designator; a designator without points draws nothing.
    void oneContactByItsDesignator_data() {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("segments");
        QTest::newRow("with points") << "5" << "2>3 3>1 1>2";
        QTest::newRow("without points") << "7" << "";
    }
    void oneContactByItsDesignator() {
        QFETCH(QString, shown);
        QFETCH(QString, segments);
        auto w = twoContacts();
        w->imPoints->setVisible(false);
        w->doc.ContactShown = shown;
        w->contactDisplay->ContactShow();
        QCOMPARE(drawn(*w), segments);
        QCOMPARE(w->labText->text(), QStringLiteral("Contact ") + shown + QStringLiteral(": Map"));
        if (!segments.isEmpty()) QCOMPARE(w->cmbShow->currentText(), shown);
    }

    void noPointsNoLines() {
        auto w = contactMap({});
        w->imPoints->setVisible(false);
        w->contactDisplay->ContactShow();
        QCOMPARE(w->doc.ContactLineCount, 0);
        QCOMPARE(w->markers->LineCon.count(), 0);
    }

    void linesArePainted() {
        auto w = contactMap({{2, 1, 1100, 4900, 0xFF0000}, {2, 2, 2900, 4900, 0xFF0000}});
        w->imPoints->setVisible(false);
        w->imContacts->setPicture(QImage());
        w->imContacts->setVisible(true);
        w->contactDisplay->ContactShow();
        const QImage img = w->markers->grab().toImage();
        const QPointF a = at(*w, 1), b = at(*w, 2);
        const int y = twips::toPx(a.y());
        int blue = 0;
        for (int x = twips::toPx(a.x()) + 2; x < twips::toPx(b.x()) - 2; ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.blue() > 200 && c.red() < 80 && c.green() < 80) ++blue;
        }
        QVERIFY2(blue > 50, qPrintable(QString::number(blue)));
    }

    void showWaitsWhileTheMapIsBusy() {
        auto w = twoContacts();
        w->doc.MapBusy = true;
        w->cmdShow->click();
        QVERIFY(!w->imPoints->isHidden());
        QCOMPARE(w->doc.ContactLineCount, 0);
        w->doc.MapBusy = false;
        w->cmdShow->click();
        QVERIFY(w->imPoints->isHidden());
    }

    void showButtonSwitchesToTheContactPlotAndBack() {
        auto w = twoContacts();
        w->Frame8->setTitle(QStringLiteral("Zoom = 1 (Page)"));
        w->cmdShow->click();
        QVERIFY(w->imPoints->isHidden());
        QVERIFY(!w->imContacts->isHidden());
        QVERIFY(w->picMap->isHidden());
        for (int i = 1; i <= 5; ++i) QVERIFY(!w->markers->labDat[i].Visible);
        QVERIFY(!w->labShow->isHidden() && !w->cmbShow->isHidden() && !w->cmdShowContact->isHidden());
        QVERIFY(w->UpDown1->isHidden());
        QCOMPARE(w->doc.ContactLineCount, 5);
        QCOMPARE(w->cmdShow->text(), QStringLiteral("Show Points"));
        QCOMPARE(w->cmdShow->toolTip(), QStringLiteral("Click to show contour points"));
        QCOMPARE(w->panel(2), QStringLiteral("Vexolan: Ridge (Contour map)"));
        QVERIFY(w->doc.ContoursCurrent);
        for (QWidget* z : std::initializer_list<QWidget*>{w->cmdZoomPage, w->cmdZoomOut, w->cmdZoomIn, w->cmdZoomFull})
            QVERIFY(!z->isEnabled());
        QVERIFY(!w->mnuOpt->menuAction()->isEnabled());

        // "&Points" in the View menu returns to the map view, whose redraw
        // rebuilds the contact list.
        w->cmbShow->clear();
        w->mnuViewShowMap->trigger();
        QCOMPARE(w->cmbShow->count(), 3);
        QVERIFY(!w->imPoints->isHidden());
        QVERIFY(w->imContacts->isHidden());
        QCOMPARE(w->markers->LineCon.count(), 5); // still loaded
        for (int i = 1; i <= 5; ++i) QVERIFY(!w->markers->LineCon[i].Visible);
        QCOMPARE(w->cmdShow->text(), QStringLiteral("Show Contacts"));
        QCOMPARE(w->cmdShow->toolTip(), QStringLiteral("Click to show contact map"));
        // At page zoom, Page and Zoom Out stay off.
        QVERIFY(!w->cmdZoomPage->isEnabled() && !w->cmdZoomOut->isEnabled());
        QVERIFY(w->cmdZoomIn->isEnabled() && w->cmdZoomFull->isEnabled());
        QVERIFY(!w->mnuViewZoomPage->isEnabled() && w->mnuViewZoomIn->isEnabled());
        QVERIFY(w->mnuOpt->menuAction()->isEnabled());
        // The redraw put the point markers back.
        QVERIFY(w->markers->labDat[1].Visible);
    }

    void contourKindsGoToTheContourPlot() {
        auto w = startRegistered();
        w->optStruc->setEnabled(true);
        w->optStruc->setValue(true);
        w->picMap->Move(300, 600, 6000, 3000);
        testsupport::dialogs().clear();
        w->cmdShow_Click();
        QVERIFY(testsupport::dialogs().prompts.empty());
        QVERIFY(w->imPoints->isHidden());
        QVERIFY(!w->picMap->isHidden());
        QCOMPARE(w->cmdShow->text(), QStringLiteral("Show Points"));
        w->cmdShow_Click();
        QVERIFY(!w->imPoints->isHidden());
        QCOMPARE(w->cmdShow->text(), QStringLiteral("Show Contours"));
    }

    void haltShowStopsAfterTheFirstSegment() {
        auto w = twoContacts();
        int pumps = 0;
        // The click on "Halt Show" waits in the queue when the drawing lets
        // events run, before its first segment.
        MainWindow::DoEvents = [&] {
            ++pumps;
            if (w->cmdShow->text() == QLatin1String("Halt Show")) w->cmdShow_Click();
        };
        w->cmdShow_Click();
        QCOMPARE(pumps, 1);
        QCOMPARE(w->doc.ContactLineCount, 1);
        QVERIFY(!w->doc.ContoursCurrent);
        QVERIFY(w->labText->text() != QStringLiteral("All Contacts: Map"));
        QCOMPARE(w->cmdShow->text(), QStringLiteral("Show Points"));

        // The next drawing is not cut short by the old stop request.
        MainWindow::DoEvents = [&] { ++pumps; };
        w->mnuViewShowContactShowAll->trigger();
        QCOMPARE(w->doc.ContactLineCount, 5);
        QVERIFY(w->doc.ContoursCurrent);
    }

    void noEventsRunWhileSegmentsAreLaid() {
        auto w = twoContacts();
        w->imPoints->setVisible(false);
        int pumps = 0;
        MainWindow::DoEvents = [&] { ++pumps; };
        w->contactDisplay->ContactShow();
        QCOMPARE(pumps, 1);
        QCOMPARE(w->doc.ContactLineCount, 5);
    }

    void showAskedWithAllInAnyCase() {
        auto w = twoContacts();
        w->imPoints->setVisible(false);
        w->doc.ContactShown = QStringLiteral("5");
        testsupport::dialogs().queue(QStringLiteral("ALL"));
        w->mnuViewShowContactShow->trigger();
        auto& p = testsupport::dialogs().prompts;
        QCOMPARE(p[0].text, QStringLiteral("Enter designator number for the contact you wish to display"));
        QCOMPARE(p[0].defaultText, QStringLiteral("5"));
        QCOMPARE(w->doc.ContactShown, QStringLiteral("All"));
        QVERIFY(w->mnuViewShowContactShowAll->isChecked());
        QVERIFY(!w->mnuViewShowContactShow->isChecked());
        QCOMPARE(w->mnuViewShowContactShow->text(), QStringLiteral("Show (All)..."));
        QCOMPARE(w->doc.ContactLineCount, 5);
    }

    void showAnswered03FiltersByTextInThePlotAndByNumberOnThePoints() {
        auto w = twoContacts();
        w->imPoints->setVisible(false);
        testsupport::dialogs().queue(QStringLiteral("03"));
        w->contactDisplay->mnuViewShowContactShow_Click();
        QCOMPARE(w->doc.ContactShown, QStringLiteral("03"));
        QCOMPARE(w->doc.ContactLineCount, 0);
        QCOMPARE(w->mnuViewShowContactShow->text(), QStringLiteral("Show (03)..."));
        QVERIFY(w->mnuViewShowContactShow->isChecked());

        // In the point view "05" shows the markers of contact 5.
        w->imContacts->setVisible(false);
        w->imPoints->setVisible(true);
        testsupport::dialogs().queue(QStringLiteral("05"));
        w->contactDisplay->mnuViewShowContactShow_Click();
        QCOMPARE(w->labText->text(), QStringLiteral("Contact 05: Points"));
        for (int i = 1; i <= 3; ++i) QVERIFY(w->markers->labDat[i].Visible);
        for (int i = 4; i <= 5; ++i) QVERIFY(!w->markers->labDat[i].Visible);
        QCOMPARE(w->cmbShow->currentIndex(), 0);
    }

    void showCancelledChangesNothing() {
        auto w = twoContacts();
        w->doc.ContactShown = QStringLiteral("5");
        testsupport::dialogs().queue(dlg::Cancel{});
        w->contactDisplay->mnuViewShowContactShow_Click();
        QCOMPARE(w->doc.ContactShown, QStringLiteral("5"));
        QCOMPARE(w->doc.ContactLineCount, 0);
    }

    void showAllInThePointView() {
        auto w = twoContacts();
        for (int i = 1; i <= 5; ++i) w->markers->labDat[i].Visible = false;
        w->contactDisplay->mnuViewShowContactShowAll_Click();
        QCOMPARE(w->labText->text(), QStringLiteral("All Contacts: Points"));
        for (int i = 1; i <= 5; ++i) QVERIFY(w->markers->labDat[i].Visible);
        QCOMPARE(w->doc.ContactLineCount, 0);
    }

    void listButtonShowsTheChosenEntry() {
        auto w = twoContacts();
        w->imPoints->setVisible(false);
        w->contactDisplay->ContactShow();
        w->cmbShow->setCurrentIndex(2);
        w->cmdShowContact->click();
        QCOMPARE(w->doc.ContactShown, QStringLiteral("5"));
        QCOMPARE(drawn(*w), QStringLiteral("2>3 3>1 1>2"));
        QVERIFY(!w->ContactShowMode);
        QVERIFY(testsupport::dialogs().prompts.empty());
        w->cmbShow->setCurrentIndex(0);
        w->cmdShowContact->click();
        QCOMPARE(w->doc.ContactShown, QStringLiteral("All"));
        QCOMPARE(w->doc.ContactLineCount, 5);
    }

    void sequentialStepping() {
        auto w = twoContacts();
        w->imPoints->setVisible(false);
        w->mnuViewShowContactShowSeq->trigger();
        QVERIFY(w->mnuViewShowContactShowSeq->isChecked());
        QVERIFY(!w->mnuViewShowContactShowAll->isChecked());
        QVERIFY(!w->UpDown1->isHidden());
        QVERIFY(w->cmbShow->isHidden() && w->cmdShowContact->isHidden());
        QCOMPARE(w->cmbShow->count(), 3);
        QCOMPARE(w->doc.ContactLineCount, 0); // nothing drawn yet

        // Up: contact 1, then 5, then round to All; the box between the
        // arrows names the contact drawn.
        QCOMPARE(w->UpDown1->text(), QStringLiteral("All"));
        w->UpDown1->stepUp();
        QCOMPARE(w->doc.ContactShown, QStringLiteral("1"));
        QCOMPARE(w->UpDown1->text(), QStringLiteral("1"));
        QCOMPARE(drawn(*w), QStringLiteral("4>5 5>4"));
        QCOMPARE(w->UpDown1->value(), 0);
        QVERIFY(!w->UpDown1->isHidden());
        QVERIFY(w->mnuViewShowContactShowSeq->isChecked());
        w->UpDown1->stepUp();
        QCOMPARE(w->doc.ContactShown, QStringLiteral("5"));
        QCOMPARE(w->UpDown1->text(), QStringLiteral("5"));
        w->UpDown1->stepUp();
        QCOMPARE(w->doc.ContactShown, QStringLiteral("All"));
        QCOMPARE(w->UpDown1->text(), QStringLiteral("All"));
        QCOMPARE(w->doc.ContactLineCount, 5);
        QVERIFY(w->mnuViewShowContactShowSeq->isChecked());
        QVERIFY(w->cmbShow->isHidden());
        // Down on All stays on All.
        w->UpDown1->stepDown();
        QCOMPARE(w->cmbShow->currentIndex(), 0);
        QCOMPARE(w->doc.ContactShown, QStringLiteral("All"));
        QCOMPARE(w->UpDown1->value(), 0);
        // A label typed now offers the contact shown.
        w->UpDown1->stepUp();
        w->doc.CursorX = 100;
        w->doc.CursorY = 100;
        testsupport::dialogs().queue(dlg::Cancel{});
        w->labelCommands->LabelNew();
        QCOMPARE(testsupport::dialogs().prompts.back().defaultText, QStringLiteral("1"));
    }

    void labelsComeBackUnlessSuppressed() {
        auto w = twoContacts();
        w->doc.CursorX = 1000;
        w->doc.CursorY = 1000;
        testsupport::dialogs().queue(QStringLiteral("Unit 5"));
        w->labelCommands->LabelNew();
        w->mnuViewShowLabels->setChecked(true);
        w->cmdShow_Click();
        QVERIFY(w->markers->labMap[1].Visible);
        QVERIFY(w->mnuViewShowLabels->isChecked());

        // Labels turned off while the plot shows stay off in the next drawing.
        w->mnuViewShowLabels->trigger();
        QVERIFY(w->LabelsSuppressed);
        w->mnuViewShowLabels->setChecked(true);
        w->contactDisplay->mnuViewShowContactShowAll_Click();
        QVERIFY(!w->mnuViewShowLabels->isChecked());
    }
};

VEX_TEST(ContactDisplayTest);
#include "ContactDisplayTest.moc"
