#include "forms/accessible_roles.h"

#include "forms/form.h"
#include "forms/link_label.h"

#include <QAccessibleWidget>

namespace forms {
namespace {

// A link label: named by its caption; pressing it does what a click does.
class AccessibleLink final : public QAccessibleWidget {
public:
    explicit AccessibleLink(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const LinkLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == pressAction())
            emit static_cast<LinkLabel*>(widget())->Click();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* FormsInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(LinkLabel::staticMetaObject.className()))
        return new AccessibleLink(static_cast<LinkLabel*>(object));
    if (className == QLatin1String(Form::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<Form*>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

void InstallAccessibleRoles() {
    QAccessible::installFactory(FormsInterface);
}

} // namespace forms
