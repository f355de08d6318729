// The main window a window benchmark drives: started offscreen with its splash
// gone, a blank 2000 x 1500 map loaded and registered as linear metres, 0 to
// 10000 in both directions, and the run of the benchmarks around it.
#pragma once

#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "map/MapView.h"
#include "platform/Dialogs.h"

#include "OffscreenApp.h"

#include <QImage>
#include <benchmark/benchmark.h>
#include <memory>

inline std::unique_ptr<MainWindow> registeredWindow(const OffscreenApp& app) {
    QImage map(2000, 1500, QImage::Format_RGB32);
    map.fill(Qt::white);
    const QString mapPath = app.home().filePath(QStringLiteral("map.png"));
    map.save(mapPath);

    auto w = std::make_unique<MainWindow>();
    w->FormLoad();
    w->show();
    if (AboutBox* s = w->splash()) s->unload();
    QCoreApplication::processEvents();
    auto* script = static_cast<dlg::ScriptedProvider*>(&dlg::provider());
    script->queue(mapPath);
    w->mapView->cmdMap_Click();
    w->mapView->coordClick(CoordItem::Meters);
    const double W = w->imPoints->Width(), H = w->imPoints->Height();
    for (const char* a : {"0", "10000", "10000", "0"}) script->queue(QString::fromLatin1(a));
    w->mapView->MapRegister(W * 0.1, H * 0.1);
    w->mapView->MapRegister(W * 0.9, H * 0.9);
    return w;
}

inline int runBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
