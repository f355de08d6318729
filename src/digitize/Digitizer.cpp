#include "digitize/Digitizer.h"

#include "app/MainWindow.h"

Digitizer::Digitizer(MainWindow& main) : QObject(&main), w(main) {}
