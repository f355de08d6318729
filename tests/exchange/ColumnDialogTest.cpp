// The column dialog shared by the import and the export: its column codes,
// its two faces, the picking of lines in the file list, and its lifetime.
#include "app/AboutBox.h"
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

std::unique_ptr<MainWindow> startWindow() {
    auto w = std::make_unique<MainWindow>();
    w->FormLoad();
    w->show();
    if (AboutBox* s = w->splash()) s->unload();
    QCoreApplication::processEvents();
    testsupport::dialogs().clear();
    return w;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

// Accepts the dialog through its OK button and returns the code built.
QString accept(MainWindow& w, ColumnDialog& d) {
    w.doc.ImportOrder = QStringLiteral("unchanged");
    w.doc.ColumnOrder = QStringLiteral("unchanged");
    QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    return d.isImportFace() ? w.doc.ImportOrder : w.doc.ColumnOrder;
}

// The visible controls of a window whose text does not show whole: a label,
// button or frame narrower than its text, a wrapped label shorter than its
// lines, a control reaching out of its container or into another one.
QStringList cutCaptions(QWidget& window) {
    QStringList cut;
    const auto controls = window.findChildren<QWidget*>();
    for (QWidget* c : controls) {
        if (!c->isVisibleTo(&window)) continue;
        const QRect at = c->geometry();
        if (auto* l = qobject_cast<QLabel*>(c)) {
            if (l->wordWrap() ? l->heightForWidth(at.width()) > at.height() : l->sizeHint().width() > at.width())
                cut << c->objectName();
        } else if (qobject_cast<QAbstractButton*>(c) || qobject_cast<QGroupBox*>(c)) {
            if (c->sizeHint().width() > at.width()) cut << c->objectName();
        } else {
            continue;
        }
        if (!c->parentWidget()->rect().contains(at)) cut << c->objectName() + QStringLiteral(" (outside)");
        for (QWidget* o : controls)
            if (o != c && o->parentWidget() == c->parentWidget() && o->isVisibleTo(&window) &&
                o->geometry().intersects(at) && c->objectName() < o->objectName())
                cut << c->objectName() + QStringLiteral(" over ") + o->objectName();
    }
    return cut;
}

// Clicks an option button on its indicator.
void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2)); }

} // namespace

class ColumnDialogTest : public QObject {
    Q_OBJECT
private slots:
    void freshDialogAcceptedAtOnce() {
        auto w = startWindow();
        ColumnDialog& d = ColumnDialog::frmImEx(*w);
        QVERIFY(d.isImportFace());
        QCOMPARE(d.windowTitle(), QStringLiteral("Vexolan: Import Data"));
        QCOMPARE(accept(*w, d), QStringLiteral("xy00"));
        QCOMPARE(w->doc.ColumnOrder, QString()); // OK empties the other face's code
        QVERIFY(d.isHidden());
        d.prepareExportFace(QStringLiteral("out.txt"), QStringLiteral("Data"));
        QCOMPARE(accept(*w, d), QStringLiteral("xy0"));
        QCOMPARE(w->doc.ImportOrder, QString());
    }

    void oneColumnPerRole() {
        auto w = startWindow();
        ColumnDialog& d = ColumnDialog::frmImEx(*w);
        click(d.optData[0]);
        QVERIFY(d.optData[0]->isChecked());
        click(d.optData[2]);
        // The first column lost its choice.
        QVERIFY(!d.optData[0]->isChecked() && !d.optLong[0]->isChecked());
        QCOMPARE(accept(*w, d), QStringLiteral("0yz0"));
        // "Other" and "None" may repeat.
        d.optOther[0]->setChecked(true);
        d.optOther[3]->setChecked(true);
        QCOMPARE(accept(*w, d), QStringLiteral("-yz-"));
        // Left over from an import, "Other" reads as "0" in the export face.
        d.prepareExportFace(QStringLiteral("out.txt"), QString());
        QCOMPARE(accept(*w, d), QStringLiteral("0yz"));
    }

    void cancelChangesNothing() {
        auto w = startWindow();
        ColumnDialog& d = ColumnDialog::frmImEx(*w);
        w->doc.ImportOrder.clear();
        testsupport::dialogs().queue(dlg::WindowScript([](QDialog* dialog) {
            auto* cd = static_cast<ColumnDialog*>(dialog);
            cd->optData[2]->setChecked(true);
            QTest::mouseClick(cd->cmdCancel, Qt::LeftButton);
            return cd->result();
        }));
        QCOMPARE(d.showModal(), int(QDialog::Rejected));
        QCOMPARE(w->doc.ImportOrder, QString());
        QVERIFY(d.isHidden());
        // The window keeps its state for the next use.
        QCOMPARE(&ColumnDialog::frmImEx(*w), &d);
        QVERIFY(d.optData[2]->isChecked());
        QCOMPARE(testsupport::dialogs().prompts.back().title, QStringLiteral("Vexolan: Import Data"));
    }

    void closedWindowStartsAfresh() {
        auto w = startWindow();
        ColumnDialog* d = &ColumnDialog::frmImEx(*w);
        QCOMPARE(d->pos(), QPoint(twips::toPx(w->Left() + 500), twips::toPx(w->Top() + 500)));
        d->optComma->setChecked(true);
        d->txtHead->setText(QStringLiteral("4"));
        w->doc.ImportOrder.clear();
        testsupport::dialogs().queue(dlg::WindowScript([](QDialog* dialog) {
            dialog->close();
            return int(QDialog::Rejected);
        }));
        d->showModal();
        QCOMPARE(w->doc.ImportOrder, QString()); // seen as a cancel
        QVERIFY(!ColumnDialog::isLoaded(*w));
        ColumnDialog& again = ColumnDialog::frmImEx(*w);
        QVERIFY(again.optTab->isChecked());
        QCOMPARE(again.txtHead->text(), QStringLiteral("0"));
        QCOMPARE(accept(*w, again), QStringLiteral("xy00"));
    }

    void faces() {
        auto w = startWindow();
        ColumnDialog& d = ColumnDialog::frmImEx(*w);
        d.prepareExportFace(QStringLiteral("pts.txt"), QStringLiteral("Depth"));
        QCOMPARE(d.windowTitle(), QStringLiteral("Vexolan: Export Data"));
        QCOMPARE(d.cmdOK->text(), QStringLiteral("Export"));
        QCOMPARE(d.labF->text(), QStringLiteral("Exported file:"));
        QCOMPARE(d.labFile->text(), QStringLiteral("pts.txt"));
        QCOMPARE(d.labLineImport->text(), QStringLiteral("Data text:"));
        QCOMPARE(d.txtLine->text(), QStringLiteral("Depth"));
        QVERIFY(!d.txtHead->isEnabled() && !d.labHead->isEnabled());
        QVERIFY(!d.chkHead->isHidden() && d.labSel->isHidden() && d.labLines->isHidden());
        for (QWidget* c : std::initializer_list<QWidget*>{d.optRock, d.optStruc, d.optIso, d.optPointDat,
                                                          d.optPointCon, d.optLat[3], d.optLong[3], d.optData[3],
                                                          d.optNone[3], d.optOther[0], d.optOther[2]})
            QVERIFY2(!c->isEnabled(), qPrintable(c->objectName()));
        // The export face is the window without the list and its help,
        // as wide as asked or as its captions need.
        d.show();
        QVERIFY(!d.List1->isVisibleTo(&d) && !d.Label3->isVisibleTo(&d));
        QCOMPARE(cutCaptions(d), QStringList());
        const double exportWidth = d.windowWidthTwips();
        QVERIFY(exportWidth >= 7755);

        // Import face: the kind options follow the main window's enabled ones.
        w->optRock->setEnabled(false);
        w->optStruc->setEnabled(true);
        w->optIso->setEnabled(false);
        d.prepareImportFace(QStringLiteral("in.txt"), w->optRock->isEnabled(), w->optStruc->isEnabled(),
                            w->optIso->isEnabled());
        QCOMPARE(d.windowTitle(), QStringLiteral("Vexolan: Import Data"));
        QVERIFY(d.windowWidthTwips() >= 12450 && d.windowWidthTwips() > exportWidth);
        QVERIFY(d.List1->isVisibleTo(&d));
        QCOMPARE(cutCaptions(d), QStringList());
        QCOMPARE(d.cmdOK->text(), QStringLiteral("Import"));
        QCOMPARE(d.labF->text(), QStringLiteral("Imported file:"));
        QCOMPARE(d.labLineImport->text(), QStringLiteral("Import to Line Number:"));
        QVERIFY(d.txtHead->isEnabled() && d.chkHead->isHidden() && !d.labSel->isHidden());
        QVERIFY(!d.optRock->isEnabled() && d.optStruc->isEnabled() && !d.optIso->isEnabled());
        QVERIFY(d.optPointDat->isEnabled());
        // "Contact" is not offered any more: the structural kind takes its
        // place; a chosen kind still offered is kept.
        QVERIFY(d.optStruc->isChecked());
        d.prepareImportFace(QStringLiteral("in.txt"), true, true, true);
        QVERIFY(d.optStruc->isChecked() && d.optRock->isEnabled());
        QVERIFY(d.optPointCon->isEnabled());
        QVERIFY(d.optOther[3]->isEnabled() && d.optNone[3]->isEnabled() && d.optLat[3]->isEnabled());

        // Kind rules: contour points only for the contour kinds.
        d.optStruc->setChecked(true);
        QVERIFY(d.optPointCon->isEnabled());
        d.optPointCon->setChecked(true);
        d.optRock->setEnabled(true);
        d.optRock->setChecked(true);
        QVERIFY(d.optPointDat->isChecked());
        QVERIFY(!d.optPointCon->isEnabled());
        d.optIso->setEnabled(true);
        d.optIso->setChecked(true);
        QVERIFY(d.optPointCon->isEnabled());
    }

    void listing() {
        QTemporaryDir dir;
        auto w = startWindow();
        ColumnDialog& d = ColumnDialog::frmImEx(*w);
        const QAbstractItemModel& list = *d.List1->model();
        // Five lines, mixed line ends, no final line end.
        w->doc.ImportFile = writeFile(dir, "five.txt", "East North\r\n1 2\n3 4\r5 6\r\n7 \xE9");
        d.ShowFile();
        QCOMPARE(list.rowCount(), 5);
        QCOMPARE(list.index(4, 0).data().toString(), QStringLiteral("7 \u00E9"));
        QCOMPARE(d.labLines->text(), QStringLiteral("Number of lines: 5"));
        QCOMPARE(d.txtLine->text(), QStringLiteral("5"));
        QCOMPARE(d.LineNumber, 5L);

        // A plain click on the third line makes it the first data line.
        d.show();
        QTest::mouseClick(d.List1->viewport(), Qt::LeftButton, {}, d.List1->visualRect(list.index(2, 0)).center());
        QCOMPARE(d.txtHead->text(), QStringLiteral("2"));
        QCOMPARE(d.labSel->text(), QStringLiteral("Line Selected: 3"));
        // A click with Ctrl on the fourth makes it the last line read.
        QTest::mouseClick(d.List1->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          d.List1->visualRect(list.index(3, 0)).center());
        QCOMPARE(d.txtLine->text(), QStringLiteral("4"));
        QCOMPARE(d.txtHead->text(), QStringLiteral("2"));
        QCOMPARE(d.labSel->text(), QStringLiteral("Line Selected: 4"));

        // No line selected: the labels stay, the kept line number is used.
        d.List1->clearSelection();
        d.List1_MouseUp(false);
        QCOMPARE(d.labSel->text(), QStringLiteral("Line Selected: 4"));
        QCOMPARE(d.txtHead->text(), QStringLiteral("3"));

        // The listed file is let go when the window is hidden.
        d.cmdCancel_Click();
        QCOMPARE(list.rowCount(), 0);

        // An empty file lists nothing.
        w->doc.ImportFile = writeFile(dir, "empty.txt", "");
        d.ShowFile();
        QCOMPARE(list.rowCount(), 0);
        QCOMPARE(d.labLines->text(), QStringLiteral("Number of lines: 0"));
        QCOMPARE(d.txtLine->text(), QStringLiteral("0"));

        // A file that cannot be opened goes to the caller; the list is empty.
        w->doc.ImportFile = writeFile(dir, "two.txt", "a\nb\n");
        d.ShowFile();
        QCOMPARE(list.rowCount(), 2);
        w->doc.ImportFile = dir.filePath("missing.txt");
        QVERIFY_THROWS_EXCEPTION(legacy::Error, d.ShowFile());
        QCOMPARE(list.rowCount(), 0);
    }
};

VEX_TEST(ColumnDialogTest);
#include "ColumnDialogTest.moc"
