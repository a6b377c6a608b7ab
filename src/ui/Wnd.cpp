#include "ui/Wnd.h"

CWnd::~CWnd() = default;

WString CWnd::GetTitle() const { return WString(); }
