#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TIniFile;
class TMaskEdit;

// Where a page builder puts a new control: a parent widget, a layout (the control becomes a child of
// the layout's widget), or a cell of a grid layout. A layout must already belong to a widget.
class TPlace {
  public:
    TPlace(QWidget* parent) : m_parent(parent) {}
    TPlace(QLayout* layout);
    TPlace(QGridLayout* grid, int row, int column, int rowSpan = 1, int columnSpan = 1);

    QWidget* Parent() const { return m_parent; }
    void Put(QWidget* control) const;

  private:
    QWidget* m_parent = nullptr;
    QLayout* m_layout = nullptr;
    QGridLayout* m_grid = nullptr;
    int m_row = 0;
    int m_column = 0;
    int m_rowSpan = 1;
    int m_columnSpan = 1;
};

// Base of every settings page. A page's fields are its controls: each has objectName = its control
// name and toolTip = its Hint (the factory default). The page keeps the controls it owns in creation
// order; every page rule walks that list. The page's name (its settings-file section) is its
// objectName, and the property "settingsPage" tells the update queue that this widget is a page.
//
// Rules run on program changes the way the panel's values do, so pages connect their own rules to:
// edit boxes and masked edits - textChanged; check boxes - toggled; radio buttons - clicked (a
// program selection clicks the button); combo boxes - activated (a program selection runs no rule).
class TPageForm : public QWidget {
    Q_OBJECT
  public:
    explicit TPageForm(const QString& name, QWidget* parent = nullptr);

    QString PageName() const { return objectName(); }

    // Registers a control the page owns: objectName := name, toolTip := hint, appended to the list.
    template <class T> T* Own(T* control, const QString& name, const QString& hint = {}) {
        control->setObjectName(name);
        control->setToolTip(hint);
        m_controls.append(control);
        return control;
    }

    // Owned controls in creation order (controls deleted early are left out).
    QList<QWidget*> Controls() const;

    // Owned control by name, letter case ignored; nullptr when there is none.
    QWidget* FindField(QStringView name) const;
    template <class T> T* Field(QStringView name) const { return qobject_cast<T*>(FindField(name)); }

    // Builders: each creates a control in the given place and registers it.
    QLabel* AddLabel(const TPlace& place, const QString& name, const QString& caption,
                     const QString& hint = {});
    QLineEdit* AddEdit(const TPlace& place, const QString& name, const QString& hint, int maxLength = 0);
    TMaskEdit* AddMaskEdit(const TPlace& place, const QString& name, const QString& hint,
                           const QString& mask);
    QCheckBox* AddCheckBox(const TPlace& place, const QString& name, const QString& hint,
                           const QString& caption = {});
    QRadioButton* AddRadioButton(const TPlace& place, const QString& name, const QString& hint,
                                 const QString& caption = {});
    QComboBox* AddComboBox(const TPlace& place, const QString& name, const QString& hint,
                           const QStringList& items);
    QSpinBox* AddSpinEdit(const TPlace& place, const QString& name, const QString& hint, int minimum,
                          int maximum);
    QPushButton* AddButton(const TPlace& place, const QString& name, const QString& caption,
                           const QString& hint = {});
    QGroupBox* AddGroupBox(const TPlace& place, const QString& name, const QString& caption);

  private:
    QWidget* ParentFor(const TPlace& place);

    QList<QPointer<QWidget>> m_controls;
};

QWidget* FindField(const TPageForm& page, QStringView name);

// Base of the settings pages with the five operations in slot order; the default bodies are the
// clear rule, the mark reset rule, the generic load, the generic save and the item-text rule.
class TformIncl : public TPageForm {
    Q_OBJECT
  public:
    using TPageForm::TPageForm;

    virtual void ClearFields();
    virtual void ResetMarks();
    virtual void LoadFromIni(TIniFile& ini);
    virtual void SaveToIni(TIniFile& ini);
    virtual void SetDefaults();
};

// Before a read: labels back to the normal colour, edit boxes emptied, check boxes cleared.
void ApplyClearRule(TPageForm& page);
// Before a write: labels back to the normal colour.
void ApplyMarkReset(TPageForm& page);
// Factory defaults for pages whose combo box Hints hold item texts (TformIncl::SetDefaults).
void ApplyItemTextDefaults(TPageForm& page);
// Factory defaults for pages whose combo box Hints hold item indexes.
void ApplyHintDefaults(TPageForm& page);

// "true" / "false" in any letter case, or a whole number (0 false, any other true); otherwise none.
std::optional<bool> HintAsBool(QStringView hint);

// Selects or clears a radio button as a program change does: becoming selected runs its click rule
// (also while it is disabled); clearing leaves its group with no selection.
void SetRadioSelected(QRadioButton* radio, bool selected);
