#include "ui/DisplayLoss.h"

#include <X11/Xlib.h>
#include <unistd.h>

namespace {

DisplayLossHandler gHandler = nullptr;
void* gData = nullptr;

int OnIoError(Display*) {
    if (gHandler != nullptr) gHandler(gData);
    _exit(1);  // Xlib would end the process on return anyway
}

}  // namespace

void WatchDisplayLoss(DisplayLossHandler handler, void* data) {
    gHandler = handler;
    gData = data;
    XSetIOErrorHandler(&OnIoError);
}
