// Whether the system has a printer installed; the print commands are
// offered only then.
#pragma once

bool PrinterAvailable();
