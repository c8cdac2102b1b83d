#include "ui/platform/accessibility.h"

#include <QAccessibleWidget>
#include <QDialog>

namespace rainquill {

namespace {

QAccessibleInterface *accessibleFor(const QString &, QObject *object)
{
    // A window of the dialog type that is not one of Qt's dialogs: one of ours.
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget && widget->isWindow() && widget->windowType() == Qt::Dialog && !qobject_cast<QDialog *>(widget))
        return new QAccessibleWidget(widget, QAccessible::Dialog);
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace rainquill
