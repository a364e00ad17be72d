#include "shell/fIn.h"

#include "shell/SettingsFile.h"
#include "ui_queue/OutElement.h"
#include "ui_queue/StatusColour.h"
#include "widgets/MaskEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

TPlace::TPlace(QLayout* layout) : m_parent(layout ? layout->parentWidget() : nullptr), m_layout(layout) {}

TPlace::TPlace(QGridLayout* grid, int row, int column, int rowSpan, int columnSpan)
    : m_parent(grid ? grid->parentWidget() : nullptr), m_grid(grid), m_row(row), m_column(column),
      m_rowSpan(rowSpan), m_columnSpan(columnSpan) {}

void TPlace::Put(QWidget* control) const {
    if (m_grid)
        m_grid->addWidget(control, m_row, m_column, m_rowSpan, m_columnSpan);
    else if (m_layout)
        m_layout->addWidget(control);
}

TPageForm::TPageForm(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setProperty("settingsPage", true);
}

QList<QWidget*> TPageForm::Controls() const {
    QList<QWidget*> controls;
    controls.reserve(m_controls.size());
    for (const QPointer<QWidget>& control : m_controls) {
        if (control)
            controls.append(control);
    }
    return controls;
}

QWidget* TPageForm::FindField(QStringView name) const {
    for (const QPointer<QWidget>& control : m_controls) {
        if (control && QStringView(control->objectName()).compare(name, Qt::CaseInsensitive) == 0)
            return control;
    }
    return nullptr;
}

QWidget* FindField(const TPageForm& page, QStringView name) {
    return page.FindField(name);
}

QWidget* TPageForm::ParentFor(const TPlace& place) {
    return place.Parent() ? place.Parent() : this;
}

QLabel* TPageForm::AddLabel(const TPlace& place, const QString& name, const QString& caption,
                            const QString& hint) {
    auto* label = Own(new QLabel(caption, ParentFor(place)), name, hint);
    place.Put(label);
    return label;
}

QLineEdit* TPageForm::AddEdit(const TPlace& place, const QString& name, const QString& hint, int maxLength) {
    auto* edit = Own(new QLineEdit(ParentFor(place)), name, hint);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    place.Put(edit);
    return edit;
}

TMaskEdit* TPageForm::AddMaskEdit(const TPlace& place, const QString& name, const QString& hint,
                                  const QString& mask) {
    auto* edit = Own(new TMaskEdit(mask, ParentFor(place)), name, hint);
    place.Put(edit);
    return edit;
}

QCheckBox* TPageForm::AddCheckBox(const TPlace& place, const QString& name, const QString& hint,
                                  const QString& caption) {
    auto* box = Own(new QCheckBox(caption, ParentFor(place)), name, hint);
    place.Put(box);
    return box;
}

QRadioButton* TPageForm::AddRadioButton(const TPlace& place, const QString& name, const QString& hint,
                                        const QString& caption) {
    auto* radio = Own(new QRadioButton(caption, ParentFor(place)), name, hint);
    place.Put(radio);
    return radio;
}

QComboBox* TPageForm::AddComboBox(const TPlace& place, const QString& name, const QString& hint,
                                  const QStringList& items) {
    auto* combo = Own(new QComboBox(ParentFor(place)), name, hint);
    combo->addItems(items);
    place.Put(combo);
    return combo;
}

QSpinBox* TPageForm::AddSpinEdit(const TPlace& place, const QString& name, const QString& hint, int minimum,
                                 int maximum) {
    auto* spin = Own(new QSpinBox(ParentFor(place)), name, hint);
    spin->setRange(minimum, maximum);
    place.Put(spin);
    return spin;
}

QPushButton* TPageForm::AddButton(const TPlace& place, const QString& name, const QString& caption,
                                  const QString& hint) {
    auto* button = Own(new QPushButton(caption, ParentFor(place)), name, hint);
    place.Put(button);
    return button;
}

QGroupBox* TPageForm::AddGroupBox(const TPlace& place, const QString& name, const QString& caption) {
    auto* box = Own(new QGroupBox(caption, ParentFor(place)), name);
    place.Put(box);
    return box;
}

void TformIncl::ClearFields() {
    ApplyClearRule(*this);
}
void TformIncl::ResetMarks() {
    ApplyMarkReset(*this);
}
void TformIncl::LoadFromIni(TIniFile& ini) {
    LoadControls(*this, ini);
}
void TformIncl::SaveToIni(TIniFile& ini) {
    SaveControls(*this, ini);
}
void TformIncl::SetDefaults() {
    ApplyItemTextDefaults(*this);
}

std::optional<bool> HintAsBool(QStringView hint) {
    if (hint.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (hint.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const qlonglong number = hint.toLongLong(&ok, 10);
    if (ok)
        return number != 0;
    return std::nullopt;
}

void SetRadioSelected(QRadioButton* radio, bool selected) {
    if (!radio || radio->isChecked() == selected)
        return;
    if (selected) {
        ClickEvenIfDisabled(radio);
        return;
    }
    // An exclusive group refuses to clear its checked button; lift the exclusion for the change.
    QButtonGroup* group = radio->group();
    const bool groupExclusive = group && group->exclusive();
    const bool autoExclusive = radio->autoExclusive();
    if (groupExclusive)
        group->setExclusive(false);
    radio->setAutoExclusive(false);
    radio->setChecked(false);
    radio->setAutoExclusive(autoExclusive);
    if (groupExclusive)
        group->setExclusive(true);
}

namespace {

void SetMaskText(TMaskEdit* edit, const QString& text) {
    edit->SetEditText(text);
}

void SetComboIndex(QComboBox* combo, qlonglong index) {
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? int(index) : -1);
}

} // namespace

void ApplyClearRule(TPageForm& page) {
    for (QWidget* control : page.Controls()) {
        if (qobject_cast<QLabel*>(control))
            SetStatusColour(control, QColor());
        else if (auto* edit = qobject_cast<QLineEdit*>(control); edit && !qobject_cast<TMaskEdit*>(edit))
            edit->clear();
        else if (auto* check = qobject_cast<QCheckBox*>(control))
            check->setChecked(false);
    }
}

void ApplyMarkReset(TPageForm& page) {
    for (QWidget* control : page.Controls()) {
        if (qobject_cast<QLabel*>(control))
            SetStatusColour(control, QColor());
    }
}

void ApplyItemTextDefaults(TPageForm& page) {
    for (QWidget* control : page.Controls()) {
        const QString hint = control->toolTip();
        if (auto* mask = qobject_cast<TMaskEdit*>(control)) {
            SetMaskText(mask, hint);
        } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setText(hint);
        } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
            if (const auto ticked = HintAsBool(hint))
                check->setChecked(*ticked);
        } else if (auto* radio = qobject_cast<QRadioButton*>(control)) {
            if (const auto selected = HintAsBool(hint))
                SetRadioSelected(radio, *selected);
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            int found = -1;
            for (int i = 0; i < combo->count() && found < 0; ++i) {
                if (combo->itemText(i).compare(hint, Qt::CaseInsensitive) == 0)
                    found = i;
            }
            combo->setCurrentIndex(found);
        }
    }
}

void ApplyHintDefaults(TPageForm& page) {
    for (QWidget* control : page.Controls()) {
        const QString hint = control->toolTip();
        if (auto* mask = qobject_cast<TMaskEdit*>(control)) {
            SetMaskText(mask, hint);
        } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setText(hint);
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            bool ok = false;
            const qlonglong index = hint.toLongLong(&ok, 10);
            if (ok)
                SetComboIndex(combo, index);
        } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
            check->setChecked(hint.toLower() == u"true");
        } else if (auto* radio = qobject_cast<QRadioButton*>(control)) {
            SetRadioSelected(radio, hint.toLower() == u"true");
        }
    }
}
