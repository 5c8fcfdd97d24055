#pragma once

class QWidget;

// The pointer over a view makes its child window the active one and gives
// the view the keyboard, unless a dialog or a menu is open.
void ActivateUnderPointer(QWidget& view);
