#include "print/PrintCommands.h"

#include "app/MainWindow.h"
#include "app/Twips.h"
#include "document/Legacy.h"
#include "print/PageLayout.h"
#include "print/PrintWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <cmath>

PrintCommands::PrintCommands(MainWindow& main) : QObject(&main), w(main) {
    connect(w.cmdPrint, &QPushButton::clicked, this, &PrintCommands::cmdPrint_Click);
    connect(w.mnuFilePrint, &QAction::triggered, this, &PrintCommands::mnuFilePrint_Click);
}

PrintCommands::~PrintCommands() = default;

void PrintCommands::cmdPrint_Click() {
    try {
        QWidget* source = nullptr;
        QImage image;
        if (w.picMap->isHidden()) {
            // The visible part of the map with its markers.  The offsets are
            // measured from the window's outer corner to where the map panel's
            // inside begins, as laid out on this screen.
            const pagelayout::Capture c = pagelayout::captureArea(
                twips::fromPx(w.Frame1->width()), twips::fromPx(w.Frame1->height()), w.imPoints->Left(),
                w.imPoints->Top(), w.imPoints->Width(), w.imPoints->Height());
            const QPoint inside = w.Frame2->mapTo(&w, QPoint(0, 0)) + (w.geometry().topLeft() - w.frameGeometry().topLeft());
            w.picPrint->resize(std::max(0, twips::toPx(c.width)), std::max(0, twips::toPx(c.height)));
            long x = std::lround((twips::fromPx(inside.x()) + c.x) / twips::PerPixel);
            long y = std::lround((twips::fromPx(inside.y()) + c.y) / twips::PerPixel);
            ClipWindow(w, x, y);
            source = w.picPrint;
            image = w.picPrint->pixmap().toImage();
        } else {
            source = w.picMap;
            image = w.picMap->picture();
        }
        // The window as the user sees it now, before it is greyed out.
        const QImage shown = w.grab().toImage();
        if (!m_window) m_window = std::make_unique<PrintWindow>(w);
        m_window->PrintSetup(&w, source, image, shown);
        w.setEnabled(false);
    } catch (const legacy::Error& e) {
        w.reportError(QStringLiteral("mnuFilePrint error: "), e.description());
    }
}

void PrintCommands::ClipWindow(MainWindow& form, long& x, long& y) {
    try {
        // The screen's twips per pixel are fixed at 15 on this system.
        x = legacy::CLng(x * 15.0 / twips::PerPixel);
        y = legacy::CLng(y * 15.0 / twips::PerPixel);
        // The window's whole surface as it appears on the screen, measured
        // from its outer corner (the frame the window manager draws is not
        // ours to read and stays blank).
        const QRect outer = form.frameGeometry();
        const QPoint client = form.geometry().topLeft() - outer.topLeft();
        QImage surface(outer.size(), QImage::Format_RGB32);
        surface.fill(form.palette().color(QPalette::Window));
        {
            QPainter p(&surface);
            p.drawPixmap(client, form.grab());
        }
        QLabel* target = form.picPrint;
        target->clear();
        QImage pic(target->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        pic.fill(Qt::white);
        {
            QPainter p(&pic);
            p.drawImage(QPoint(0, 0), surface, QRect(int(x), int(y), outer.width(), outer.height()));
        }
        if (target->width() <= 0 || target->height() <= 0) pic = QImage();
        target->setPixmap(QPixmap::fromImage(pic));
        target->update();
        QClipboard* clip = QGuiApplication::clipboard();
        clip->clear();
        if (!pic.isNull()) clip->setImage(pic);
    } catch (const legacy::Error& e) {
        w.reportError(QStringLiteral("ClipWindow error: "), e.description(), 1, 48);
    }
}
