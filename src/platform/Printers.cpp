#include "platform/Printers.h"

#include <QPrinterInfo>

bool PrinterAvailable() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}
