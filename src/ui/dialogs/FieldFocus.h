#pragma once

#include <QApplication>
#include <QFocusEvent>

// The information dialogs write a field back when it loses the focus to another control of the
// dialog. Not when the window merely goes inactive or a list pops up: the field keeps its place
// as the focus of its window. Nor when the focus goes to "Cancel", which puts everything back
// anyway, and a refused text must not stand in its way.
inline bool FieldLeft(const QEvent* event, const QWidget* cancel) {
    if (event->type() != QEvent::FocusOut) return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
    return QApplication::focusWidget() != cancel;
}
