// The column dialog shared by the import and the export: its codes, its two
// faces, the picking of lines in the file list, and its lifetime.
#include "app/MainWindow.h"
#include "app/Twips.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/Legacy.h"
#include "exchange/ColumnDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Accepts the dialog through its OK button: the code built, then the other
// face's code (emptied).
QString accept(MainWindow& w, ColumnDialog& d) {
    w.doc.ImportOrder = w.doc.ColumnOrder = QStringLiteral("unchanged");
    QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    return d.isImportFace() ? w.doc.ImportOrder + w.doc.ColumnOrder : w.doc.ColumnOrder + w.doc.ImportOrder;
}

// The visible labels, buttons and frames of a window whose text does not
// show whole: narrower than their text (a wrapped label: shorter than its
// lines), reaching out of their container or into another control.
QStringList cutCaptions(QWidget& window) {
    QStringList cut;
    const auto controls = window.findChildren<QWidget*>();
    for (QWidget* c : controls) {
        auto* l = qobject_cast<QLabel*>(c);
        if (!c->isVisibleTo(&window) || !(l || qobject_cast<QAbstractButton*>(c) || qobject_cast<QGroupBox*>(c)))
            continue;
        const QRect at = c->geometry();
        if (l && l->wordWrap() ? l->heightForWidth(at.width()) > at.height() : c->sizeHint().width() > at.width())
            cut << c->objectName();
        if (!c->parentWidget()->rect().contains(at)) cut << c->objectName() + QStringLiteral(" (outside)");
        for (QWidget* o : controls)
            if (o != c && o->parentWidget() == c->parentWidget() && o->isVisibleTo(&window) &&
                o->geometry().intersects(at) && c->objectName() < o->objectName())
                cut << c->objectName() + QStringLiteral(" over ") + o->objectName();
    }
    return cut;
}

} // namespace

class ColumnDialogTest : public QObject {
    Q_OBJECT
private slots:
    // OK builds the code of its face; a role clicked in one column leaves
    // the column that had it; "Other" may repeat, and reads as "0" in the
    // export face.
    void codes() {
        auto w = testsupport::startMainWindow();
        ColumnDialog& d = ColumnDialog::frmImEx(*w);
        QCOMPARE(accept(*w, d), "xy00");
        QVERIFY(d.isHidden());
        for (QAbstractButton* b : {d.optData[0], d.optData[2]})
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
        QCOMPARE(accept(*w, d), "0yz0");
        d.optOther[0]->setChecked(true);
        d.optOther[3]->setChecked(true);
        QCOMPARE(accept(*w, d), "-yz-");
        d.prepareExportFace(QStringLiteral("out.txt"), QString());
        QCOMPARE(accept(*w, d), "0yz");
    }

    // Each face shows every caption whole; the export face is the window
    // without the list; the import face offers the main window's kinds.
    void faces() {
        auto w = testsupport::startMainWindow();
        ColumnDialog& d = ColumnDialog::frmImEx(*w);
        QCOMPARE(d.pos(), QPoint(twips::toPx(w->Left() + 500), twips::toPx(w->Top() + 500)));
        d.prepareExportFace(QStringLiteral("pts.txt"), QStringLiteral("Depth"));
        d.show();
        QCOMPARE(cutCaptions(d), QStringList());
        QCOMPARE(QStringList({d.windowTitle(), d.cmdOK->text(), d.labF->text(), d.labFile->text(),
                              d.labLineImport->text(), d.txtLine->text()}).join(u'|'),
                 "Vexolan: Export Data|Export|Exported file:|pts.txt|Data text:|Depth");
        QVERIFY(!d.List1->isVisibleTo(&d) && !d.txtHead->isEnabled() && d.chkHead->isVisibleTo(&d));
        QVERIFY(!d.optStruc->isEnabled() && !d.optPointDat->isEnabled() && !d.optNone[3]->isEnabled() &&
                !d.optOther[2]->isEnabled());
        const double exportWidth = d.windowWidthTwips();
        QVERIFY(exportWidth >= 7755);

        d.prepareImportFace(QStringLiteral("in.txt"), false, true, false);
        QCOMPARE(cutCaptions(d), QStringList());
        QCOMPARE(QStringList({d.windowTitle(), d.cmdOK->text(), d.labF->text(), d.labLineImport->text()}).join(u'|'),
                 "Vexolan: Import Data|Import|Imported file:|Import to Line Number:");
        QVERIFY(d.windowWidthTwips() >= 12450 && d.windowWidthTwips() > exportWidth);
        QVERIFY(d.List1->isVisibleTo(&d) && d.txtHead->isEnabled() && !d.chkHead->isVisibleTo(&d));
        // "Contact" is no longer offered: the structural kind takes its place.
        QVERIFY(!d.optRock->isEnabled() && !d.optIso->isEnabled() && d.optStruc->isChecked());
        QVERIFY(d.optPointCon->isEnabled() && d.optOther[3]->isEnabled() && d.optNone[3]->isEnabled());
        // Contour points only for the contour kinds.
        d.prepareImportFace(QStringLiteral("in.txt"), true, true, true);
        d.optPointCon->setChecked(true);
        d.optRock->setChecked(true);
        QVERIFY(d.optPointDat->isChecked() && !d.optPointCon->isEnabled());
        d.optIso->setChecked(true);
        QVERIFY(d.optPointCon->isEnabled());
    }

    // Closed through the window system, the window is unloaded and the next
    // use starts afresh; clicks in the list choose the first and the last
    // line read; the file is let go when the window hides.
    void listAndLifetime() {
        QTemporaryDir dir;
        auto w = testsupport::startMainWindow();
        ColumnDialog::frmImEx(*w).txtHead->setText(QStringLiteral("4"));
        testsupport::dialogs().queue(dlg::WindowScript([](QDialog* dialog) {
            dialog->close();
            return int(QDialog::Rejected);
        }));
        w->doc.ImportOrder.clear();
        ColumnDialog::frmImEx(*w).showModal();
        QVERIFY(w->doc.ImportOrder.isEmpty() && !ColumnDialog::isLoaded(*w));
        ColumnDialog& d = ColumnDialog::frmImEx(*w);
        QCOMPARE(d.txtHead->text(), "0");

        const QAbstractItemModel& list = *d.List1->model();
        w->doc.ImportFile = dir.filePath(QStringLiteral("five.txt"));
        legacy::writeFileAtomically(w->doc.ImportFile, "East North\r\n1 2\n3 4\r5 6\r\n7 \xE9");
        d.ShowFile();
        QCOMPARE(list.rowCount(), 5);
        QCOMPARE(list.index(4, 0).data().toString() + '|' + d.labLines->text() + '|' + d.txtLine->text(),
                 "7 \u00E9|Number of lines: 5|5");
        d.show();
        QTest::mouseClick(d.List1->viewport(), Qt::LeftButton, {}, d.List1->visualRect(list.index(2, 0)).center());
        QCOMPARE(d.txtHead->text() + '|' + d.labSel->text(), "2|Line Selected: 3");
        QTest::mouseClick(d.List1->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          d.List1->visualRect(list.index(3, 0)).center());
        QCOMPARE(d.txtHead->text() + '|' + d.txtLine->text() + '|' + d.labSel->text(), "2|4|Line Selected: 4");
        d.cmdCancel_Click();
        QCOMPARE(list.rowCount(), 0);
        w->doc.ImportFile = dir.filePath(QStringLiteral("missing.txt"));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, d.ShowFile());
    }
};

VEX_TEST(ColumnDialogTest);
#include "ColumnDialogTest.moc"
