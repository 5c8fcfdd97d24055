#include "gui/PointerActivation.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

void ActivateUnderPointer(QWidget& view) {
    if (view.hasFocus() || QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr) {
        return;
    }
    for (QWidget* w = view.parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) {
            if (sub->mdiArea() != nullptr && sub->mdiArea()->activeSubWindow() != sub) {
                sub->mdiArea()->setActiveSubWindow(sub);
            }
            view.setFocus();
            return;
        }
    }
}
