// The end of the X connection (a logout, a crashed or killed X server). The
// toolkit would end the process on the spot, with an installation half done;
// instead `handler` runs first (it must not return) so that a running
// installation is rolled back before the process ends.
#pragma once

using DisplayLossHandler = void (*)(void* data);

// Installs `handler` for the default display; call after the toolkit is initialised.
void WatchDisplayLoss(DisplayLossHandler handler, void* data);
