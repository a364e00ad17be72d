#include "ui_queue/OutElement.h"

#include "ui_queue/StatusColour.h"
#include "widgets/Panel.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>

#include <optional>

namespace {

std::optional<int> DecimalNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// Position counts every node of the whole tree, parents before their children.
QTreeWidgetItem* NodeAtPosition(QTreeWidget* tree, int position) {
    if (position < 0)
        return nullptr;
    int index = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it, ++index) {
        if (index == position)
            return *it;
    }
    return nullptr;
}

void ApplyToTree(QTreeWidget* tree, const QString& text) {
    if (text == QLatin1String("true") || text == QLatin1String("false")) {
        tree->setEnabled(text == QLatin1String("true"));
        return;
    }
    const auto position = DecimalNumber(text);
    if (!position)
        return;
    QTreeWidgetItem* node = NodeAtPosition(tree, *position);
    if (!node)
        return;
    // The selection is not drawn while it changes.
    tree->setUpdatesEnabled(false);
    tree->setCurrentItem(node);
    tree->setUpdatesEnabled(true);
}

} // namespace

void ClickEvenIfDisabled(QAbstractButton* button) {
    const bool enabled = button->isEnabled();
    if (!enabled)
        button->setEnabled(true);
    button->click();
    if (!enabled)
        button->setEnabled(false);
}

void ApplyControlText(QWidget* control, const QString& text) {
    if (!control)
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text); // an input mask applies as for typed input
    } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
        check->setChecked(text == QLatin1String("true"));
    } else if (auto* radio = qobject_cast<QRadioButton*>(control)) {
        if (text == QLatin1String("true"))
            ClickEvenIfDisabled(radio);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        if (text == QLatin1String("Click"))
            button->click();
        else
            button->setEnabled(text == QLatin1String("true"));
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (const auto index = DecimalNumber(text))
            combo->setCurrentIndex(*index >= 0 && *index < combo->count() ? *index : -1);
    } else if (auto* panel = qobject_cast<TPanel*>(control)) {
        panel->setText(text);
    } else if (control->property("settingsPage").toBool()) {
        if (text == QLatin1String("Show"))
            control->show();
    } else if (auto* tree = qobject_cast<QTreeWidget*>(control)) {
        ApplyToTree(tree, text);
    } else if (text == QLatin1String("Show")) {
        control->show();
    } else {
        control->setEnabled(text == QLatin1String("true"));
    }
}

void ApplyRecord(const TOutElement& record, const TApplyContext& context) {
    switch (record.Kind) {
    case kMemoOut: {
        const auto& memo = static_cast<const TMemoOut&>(record);
        if (memo.Show && context.memo)
            context.memo->appendPlainText(memo.Text);
        break;
    }
    case kControlOut: {
        const auto& out = static_cast<const TControlOut&>(record);
        ApplyControlText(out.Control, out.Text);
        break;
    }
    case kCompOut: {
        const auto& out = static_cast<const TCompOut&>(record);
        if (out.Item)
            out.Item->setEnabled(out.Text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0);
        break;
    }
    case kTriSliderOut: {
        const auto& out = static_cast<const TTriSliderOut&>(record);
        if (context.sliderRule && out.Slider)
            context.sliderRule(out.Slider, out.Value, out.Text);
        break;
    }
    case kMsgOut: {
        const auto& out = static_cast<const TMsgOut&>(record);
        QMessageBox box(QMessageBox::Information, QApplication::applicationDisplayName(), out.Text,
                        QMessageBox::Ok, context.dialogParent);
        box.exec();
        break;
    }
    case kStatusOut: {
        const auto& out = static_cast<const TStatusOut&>(record);
        if (out.Panel)
            out.Panel->setText(out.Text);
        break;
    }
    case kGridOut: {
        const auto& out = static_cast<const TOutStringGrid&>(record);
        if (!out.Grid || out.Column < 0 || out.Column >= out.Grid->columnCount())
            break;
        // Row 0 is the fixed header row, which Qt keeps apart from the cells.
        if (out.Row == 0) {
            out.Grid->setHorizontalHeaderItem(out.Column, new QTableWidgetItem(out.Text));
            break;
        }
        const int row = out.Row - 1;
        if (row < 0 || row >= out.Grid->rowCount())
            break;
        if (QTableWidgetItem* item = out.Grid->item(row, out.Column))
            item->setText(out.Text);
        else
            out.Grid->setItem(row, out.Column, new QTableWidgetItem(out.Text));
        break;
    }
    case kColorOut: {
        const auto& out = static_cast<const TControlOut&>(record);
        SetStatusColour(out.Control, out.Colour);
        break;
    }
    default:
        break;
    }
}
