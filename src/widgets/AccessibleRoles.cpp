#include "widgets/AccessibleRoles.h"

#include "widgets/ActionLink.h"

#include <QAccessibleWidget>

#include <utility>

namespace {
// A link: named by its caption, followed by its press action.
class LinkAccessible : public QAccessibleWidget
{
public:
    explicit LinkAccessible(ActionLink *link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return static_cast<ActionLink *>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction())
            static_cast<ActionLink *>(widget())->follow();
    }
};

QAccessibleInterface *roleOf(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (className == QLatin1String("ActionLink"))
        return new LinkAccessible(static_cast<ActionLink *>(widget));
    if (className == QLatin1String("MaterialViewer"))
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == QLatin1String("QuickCaptureDialog"))
        return new QAccessibleWidget(widget, QAccessible::Dialog);
    return nullptr;
}
} // namespace

namespace AccessibleRoles {

void install()
{
    static bool installed = false;
    if (std::exchange(installed, true))
        return;
    QAccessible::installFactory(roleOf);
}

} // namespace AccessibleRoles
