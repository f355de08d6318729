#include "digitize/ContactDisplay.h"

#include "app/MainWindow.h"
#include "contour/ContourCommands.h"
#include "digitize/ContactSegments.h"
#include "digitize/Digitizer.h"
#include "digitize/LabelCommands.h"
#include "digitize/LabelLayout.h"
#include "document/Legacy.h"
#include "map/MapView.h"
#include "platform/Dialogs.h"

namespace {
const QString kAll = QStringLiteral("All");
const QString kHalt = QStringLiteral("Halt Show");
} // namespace

ContactDisplay::ContactDisplay(MainWindow& main) : QObject(&main), w(main) {
    w.cmdShow_Click = [this] { cmdShow_Click(); };

    // The spinner rests at 0 between -1 and 1: a click moves it off and the
    // change handler steps the list and puts it back.
    w.UpDown1->setRange(-1, 1);
    w.UpDown1->setValue(0);
    w.UpDown1->setWrapping(false);
    connect(w.UpDown1, &QSpinBox::valueChanged, this, &ContactDisplay::UpDown1_Change);
    connect(w.cmdShowContact, &QPushButton::clicked, this, &ContactDisplay::cmdShowContact_Click);
    connect(w.mnuViewShowContactShow, &QAction::triggered, this, &ContactDisplay::mnuViewShowContactShow_Click);
    connect(w.mnuViewShowContactShowAll, &QAction::triggered, this, &ContactDisplay::mnuViewShowContactShowAll_Click);
    connect(w.mnuViewShowContactShowSeq, &QAction::triggered, this, &ContactDisplay::mnuViewShowContactShowSeq_Click);
}

bool ContactDisplay::pointView() const { return !w.imPoints->isHidden(); }

void ContactDisplay::setCheckMarks(bool one, bool all, bool sequential) {
    w.mnuViewShowContactShow->setChecked(one);
    w.mnuViewShowContactShowAll->setChecked(all);
    w.mnuViewShowContactShowSeq->setChecked(sequential);
}

void ContactDisplay::listBar() {
    w.UpDown1->setVisible(false);
    w.cmbShow->setVisible(true);
    w.cmdShowContact->setVisible(true);
}

void ContactDisplay::steppingBar() {
    // The box between the arrows names the contact on the map.
    w.UpDown1->setCaption(w.doc.ContactShown);
    w.UpDown1->setVisible(true);
    w.cmbShow->setVisible(false);
    w.cmdShowContact->setVisible(false);
}

void ContactDisplay::setZoomCommandsEnabled(bool pageAndOut, bool inAndFull) {
    for (QWidget* b : std::initializer_list<QWidget*>{w.cmdZoomPage, w.cmdZoomOut}) b->setEnabled(pageAndOut);
    for (QAction* a : {w.mnuViewZoomPage, w.mnuViewZoomOut}) a->setEnabled(pageAndOut);
    for (QWidget* b : std::initializer_list<QWidget*>{w.cmdZoomIn, w.cmdZoomFull}) b->setEnabled(inAndFull);
    for (QAction* a : {w.mnuViewZoomIn, w.mnuViewZoomFull}) a->setEnabled(inAndFull);
}

// The texts of the plot view once a drawing is done.
void ContactDisplay::showPlotTexts() {
    w.setPanel(2, QStringLiteral("Vexolan: ") + w.doc.DataTitle + QStringLiteral(" (Contour map)"));
    w.cmdShow->setText(QStringLiteral("Show Points"));
    w.cmdShow->setToolTip(QStringLiteral("Click to show contour points"));
    w.imContacts->setVisible(true);
}

// ---------------------------------------------------------------------------
void ContactDisplay::ContactShow() {
    Document& d = w.doc;
    MarkerOverlay& mk = *w.markers;
    w.setBusyPointers(true);
    w.cmdShow->setText(kHalt);
    w.cmdShow->setToolTip(QStringLiteral("Click to stop line calculation"));
    if (w.mnuViewShowContactShowSeq->isChecked()) steppingBar();
    else listBar();

    // A stop request left over from an earlier, halted drawing must not cut
    // this one short; one made while the events run here does.
    d.ShowInterrupt = false;
    // Events run once, here, and not while the segments are laid: a "Halt
    // Show" click is seen only if it is already waiting.
    MainWindow::DoEvents();
    d.MapBusy = true;
    mk.LineCon.unloadAll();
    d.ContactLineCount = 0;

    QString failure;
    bool failed = false;
    auto note = [&](const legacy::Error& e) {
        if (!failed) failure = e.description();
        failed = true;
    };
    try {
        w.digitizer->ContactEnum();
        const MapPicture* c = w.imContacts;
        const OverlayBox box{c->Left(), c->Top(), c->Width(), c->Height()};
        const std::vector<ContactSegment> segments =
            contactSegments(d.DatumPoints, d.DatCount, d.ContactList, d.ContactCount, d.ContactShown);
        // One end of a segment, at its datum point; an end that cannot be
        // placed is left as it was loaded.
        auto placeEnd = [&](int point, double& x, double& y) {
            try {
                const DataPoint& p = d.DatumPoints[static_cast<size_t>(point)];
                const QPointF q = mapToOverlay(d, p.X, p.Y, box);
                x = q.x();
                y = q.y();
            } catch (const legacy::Error& e) {
                note(e);
            }
        };
        bool stopped = false;
        for (const ContactSegment& g : segments) {
            // A step of a segment that fails is passed over and the drawing
            // goes on; the first error is reported at the end.
            d.ContactLineCount += 1;
            LineSegment& s = mk.LineCon.load(d.ContactLineCount);
            try {
                if (g.from > mk.labDat.count()) legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
                s.BorderColor = mk.labDat[g.from].ForeColor;
            } catch (const legacy::Error& e) {
                note(e);
            }
            placeEnd(g.from, s.X1, s.Y1);
            placeEnd(g.to, s.X2, s.Y2);
            s.Visible = true;
            if (d.ShowInterrupt) {
                stopped = true;
                break;
            }
        }
        if (!stopped) {
            w.setPanel(2, QStringLiteral("Vexolan: ") + d.DataTitle + QStringLiteral(" (Contact Map)"));
            w.labText->setText(contactMapText(d.ContactShown));
            if (w.LabelsSuppressed) {
                w.mnuViewShowLabels->setChecked(false);
            } else {
                try {
                    w.labelCommands->LabelReplot();
                } catch (const legacy::Error& e) {
                    note(e);
                }
            }
            d.ContoursCurrent = true;
        }
    } catch (const legacy::Error& e) {
        note(e);
    }
    mk.update();
    if (failed) w.reportError(QStringLiteral("Show contacts error: "), failure, 0, 64);
    d.MapBusy = false;
    w.setBusyPointers(false);
}

// ---------------------------------------------------------------------------
void ContactDisplay::cmdShow_Click() {
    Document& d = w.doc;
    MarkerOverlay& mk = *w.markers;
    try {
        d.ShowInterrupt = false;
        if (w.cmdShow->text() == kHalt) {
            d.ShowInterrupt = true;
            return;
        }
        // While a redraw or a combination runs, switching views would act on
        // points that are being changed.
        if (d.MapBusy) return;
        if (pointView()) {
            if (!w.optRock->isChecked()) {
                w.contourCommands->showContours();
                return;
            }
            // The map view gives way to the contact plot: the map under the
            // contact lines, without the point markers.
            w.imPoints->setVisible(false);
            for (MarkerArray<Marker>* arr : {&mk.labDat, &mk.labCon, &mk.labRef, &mk.labMap})
                for (int i = 1; i <= arr->count(); ++i) (*arr)[i].Visible = false;
            w.labShow->setVisible(true);
            w.cmdShowContact->setVisible(true);
            w.cmbShow->setVisible(true);
            w.UpDown1->setVisible(false);
            // Zoom and the Edit menu's commands redraw the map view; they
            // wait until it is back.
            setZoomCommandsEnabled(false, false);
            w.mnuOpt->menuAction()->setEnabled(false);
            if (w.imContacts->picture().isNull()) w.imContacts->setPicture(w.imPoints->picture());
            w.imContacts->setVisible(true);
            w.tickShownView(MainWindow::ShownView::Plot);
            mk.contactsOnTop = true;
            mk.update();
            ContactShow();
            // A halted drawing leaves an incomplete plot.
            if (d.ShowInterrupt) d.ContoursCurrent = false;
            showPlotTexts();
            return;
        }

        // Back to the map view.
        if (!w.optRock->isChecked()) {
            w.contourCommands->backToMap();
            return;
        }
        w.imPoints->setVisible(true);
        w.imContacts->setVisible(false);
        w.picMap->setVisible(false);
        w.fr3D->setVisible(false);
        w.tickShownView(MainWindow::ShownView::Map);
        for (int i = 1, n = std::min<int>(d.ContactLineCount, mk.LineCon.count()); i <= n; ++i)
            mk.LineCon[i].Visible = false;
        mk.contactsOnTop = false;
        const QString zoom = w.Frame8->title();
        setZoomCommandsEnabled(!zoom.endsWith(QLatin1String("(Page)")), !zoom.endsWith(QLatin1String("(Full)")));
        w.mnuOpt->menuAction()->setEnabled(true);
        const bool contacts = w.optRock->isChecked();
        w.cmdShow->setText(contacts ? QStringLiteral("Show Contacts") : QStringLiteral("Show Contours"));
        w.cmdShow->setToolTip(contacts ? QStringLiteral("Click to show contact map")
                                       : QStringLiteral("Click to show contour map"));
        mk.update();
        w.mapView->MapReplot();
    } catch (const legacy::Error& e) {
        w.reportError(QStringLiteral("cmdShow error: "), e.description(), 2, 64);
    }
}

// ---------------------------------------------------------------------------
void ContactDisplay::mnuViewShowContactShow_Click() {
    Document& d = w.doc;
    if (w.ContactShowMode) {
        w.ContactShowMode = false;
        const QString chosen = w.cmbShow->currentText();
        if (chosen.isEmpty()) return;
        d.ContactShown = chosen;
    } else {
        const QString answer = dlg::inputBox(
            QStringLiteral("Enter designator number for the contact you wish to display"), QString(), d.ContactShown);
        if (answer.isEmpty()) return;
        d.ContactShown = answer;
        if (answer.compare(kAll, Qt::CaseInsensitive) == 0) {
            mnuViewShowContactShowAll_Click();
            return;
        }
    }
    MainWindow::DoEvents();
    listBar();
    setCheckMarks(true, false, false);
    w.mnuViewShowContactShow->setText(QStringLiteral("Show (") + d.ContactShown + QStringLiteral(")..."));
    if (pointView()) {
        w.labText->setText(contactPointsText(d.ContactShown));
        const float shown = legacy::NumVal(d.ContactShown);
        MarkerOverlay& mk = *w.markers;
        for (int i = 1, n = std::min(d.DatCount, mk.labDat.count()); i <= n; ++i)
            mk.labDat[i].Visible = d.DatumPoints[static_cast<size_t>(i)].Z == shown;
        mk.update();
        w.cmbShow->setCurrentIndex(0);
        const int entry = w.cmbShow->findText(d.ContactShown, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (entry >= 0) w.cmbShow->setCurrentIndex(entry);
    } else {
        ContactShow();
        showPlotTexts();
    }
    w.ContactShowMode = false;
}

void ContactDisplay::mnuViewShowContactShowAll_Click() {
    Document& d = w.doc;
    d.ContactShown = kAll;
    w.ContactShowMode = false;
    listBar();
    setCheckMarks(false, true, false);
    w.mnuViewShowContactShow->setText(QStringLiteral("Show (") + d.ContactShown + QStringLiteral(")..."));
    MainWindow::DoEvents();
    if (pointView()) {
        w.labText->setText(contactPointsText(d.ContactShown));
        MarkerOverlay& mk = *w.markers;
        for (int i = 1, n = std::min(d.DatCount, mk.labDat.count()); i <= n; ++i) mk.labDat[i].Visible = true;
        mk.update();
    } else {
        ContactShow();
        showPlotTexts();
    }
}

void ContactDisplay::mnuViewShowContactShowSeq_Click() {
    setCheckMarks(false, false, true);
    MainWindow::DoEvents();
    w.digitizer->ContactEnum();
    steppingBar();
    w.ContactShowMode = false;
}

void ContactDisplay::cmdShowContact_Click() {
    if (w.cmbShow->currentText() == kAll) {
        mnuViewShowContactShowAll_Click();
        return;
    }
    w.ContactShowMode = true;
    mnuViewShowContactShow_Click();
}

void ContactDisplay::UpDown1_Change(int value) {
    if (value == 0) return;
    const int i = w.cmbShow->currentIndex();
    w.cmbShow->setCurrentIndex(stepContactIndex(i, w.cmbShow->count(), value > 0 ? 1 : -1));
    if (w.cmbShow->currentText() == kAll) {
        mnuViewShowContactShowAll_Click();
    } else {
        w.ContactShowMode = true;
        mnuViewShowContactShow_Click();
    }
    steppingBar();
    setCheckMarks(false, false, true);
    w.UpDown1->setValue(0);
}
