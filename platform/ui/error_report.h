#pragma once

namespace velmora {

// Installs the application-wide error report: an error that no window caught is shown in a
// message box with its text (source ErrorReport, kind Error, OK), and the window stays usable.
// Also installs the desktop's beep as the system sound.
void installErrorReport();

} // namespace velmora
