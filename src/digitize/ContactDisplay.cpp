#include "digitize/ContactDisplay.h"

#include "app/MainWindow.h"
#include "digitize/ContactSegments.h"
#include "digitize/Digitizer.h"
#include "digitize/LabelCommands.h"
#include "digitize/LabelLayout.h"
#include "document/Legacy.h"
#include "map/MapView.h"
#include "platform/Dialogs.h"

#include <QElapsedTimer>
#include <QScopeGuard>

namespace {
const QString kAll = QStringLiteral("All");
const QString kHalt = QStringLiteral("Halt Show");
} // namespace

int ContactDisplay::pumpIntervalMs = 30;

ContactDisplay::ContactDisplay(MainWindow& main) : QObject(&main), w(main) {
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
    m_drawing = true;
    const auto drawn = qScopeGuard([&] { m_drawing = false; });
    w.setBusyPointers(true);
    w.cmdShow->setText(kHalt);
    w.cmdShow->setToolTip(QStringLiteral("Click to stop line calculation"));
    if (w.mnuViewShowContactShowSeq->isChecked()) steppingBar();
    else listBar();

    // A stop request left over from an earlier, halted drawing must not cut
    // this one short; one made while the events run here does.
    d.ShowInterrupt = false;
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
        // Every line is worked out before the first is laid: the events
        // pumped in between must not find the drawing half way through the
        // points.  A step of a segment that fails is passed over and the
        // drawing goes on; the first error is reported at the end.
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
        std::vector<LineSegment> lines;
        lines.reserve(segments.size());
        for (const ContactSegment& g : segments) {
            LineSegment s = mk.LineCon.templ();
            try {
                if (g.from > mk.labDat.count()) legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
                s.BorderColor = mk.labDat[g.from].ForeColor;
            } catch (const legacy::Error& e) {
                note(e);
            }
            placeEnd(g.from, s.X1, s.Y1);
            placeEnd(g.to, s.X2, s.Y2);
            s.Visible = true;
            lines.push_back(s);
        }
        // Events run on a short timer while the lines are laid, so that a
        // "Halt Show" click is seen; the drawing stops after the segment
        // under way.
        QElapsedTimer sincePump;
        sincePump.start();
        bool stopped = false;
        for (const LineSegment& s : lines) {
            d.ContactLineCount += 1;
            mk.LineCon.load(d.ContactLineCount) = s;
            if (sincePump.elapsed() >= pumpIntervalMs) {
                mk.update();
                MainWindow::DoEvents();
                sincePump.restart();
            }
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
void ContactDisplay::mnuViewShowContactShow_Click() {
    Document& d = w.doc;
    if (m_drawing) {
        // Refused while the lines are laid; the bar's choice must not carry
        // over to the next "Show...", which would then ask nothing.
        w.ContactShowMode = false;
        return;
    }
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
    if (m_drawing) return;
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
    if (m_drawing) return;
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
    if (m_drawing) {
        w.UpDown1->setValue(0);
        return;
    }
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
