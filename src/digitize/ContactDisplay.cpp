#include "digitize/ContactDisplay.h"

#include "app/MainWindow.h"

ContactDisplay::ContactDisplay(MainWindow& main) : QObject(&main), w(main) {}
