#include "ui_queue/StatusColour.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// Which palette role carries the status colour of this control, or NoRole.
QPalette::ColorRole StatusRole(const QWidget* control) {
    if (qobject_cast<const QLabel*>(control))
        return QPalette::WindowText;
    if (qobject_cast<const QLineEdit*>(control) || qobject_cast<const QCheckBox*>(control) ||
        qobject_cast<const QRadioButton*>(control))
        return QPalette::Base;
    return QPalette::NoRole;
}

const char* const kColourProperty = "orvelStatusColour";

} // namespace

void SetStatusColour(QWidget* control, const QColor& colour) {
    if (!control)
        return;
    const QPalette::ColorRole role = StatusRole(control);
    if (role == QPalette::NoRole)
        return;
    QPalette palette = control->palette();
    const QColor shown = colour.isValid() ? colour : QApplication::palette(control).color(role);
    palette.setColor(QPalette::Active, role, shown);
    palette.setColor(QPalette::Inactive, role, shown);
    palette.setColor(QPalette::Disabled, role,
                     colour.isValid() ? colour
                                      : QApplication::palette(control).color(QPalette::Disabled, role));
    if (role == QPalette::Base) {
        // Check boxes and radio buttons paint their background from Window.
        if (!qobject_cast<QLineEdit*>(control)) {
            control->setAutoFillBackground(colour.isValid());
            palette.setColor(QPalette::Window, colour.isValid()
                                                   ? colour
                                                   : QApplication::palette(control).color(QPalette::Window));
        }
    }
    control->setPalette(palette);
    control->setProperty(kColourProperty, colour);
}

QColor StatusColour(const QWidget* control) {
    return control ? control->property(kColourProperty).value<QColor>() : QColor();
}
