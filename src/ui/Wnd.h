// Base of the installer's windows. Other code (the message box above all)
// knows a window only by the title it reports.
#pragma once

#include "text/WString.h"

class CWnd {
public:
    virtual ~CWnd();
    // The window's title; the base class has none and returns the empty text.
    virtual WString GetTitle() const;
};
