#pragma once

#include <QColor>
#include <QString>

#include <cstdint>
#include <functional>

class QAbstractButton;
class QAction;
class QLabel;
class QPlainTextEdit;
class QTableWidget;
class QWidget;

// Record kinds of the update queue; the numbers are the records' own.
enum TOutKind : std::uint8_t {
    kMemoOut = 1,
    kControlOut = 2,
    kCompOut = 3,
    kTriSliderOut = 6,
    kMsgOut = 9,
    kStatusOut = 10,
    kGridOut = 11,
    kColorOut = 12,
};

// Base of every update record. Records are built by the poster, owned by the queue once posted and
// freed by the drain. Control references are not owned: they point to controls of the main window.
struct TOutElement {
    explicit TOutElement(std::uint8_t kind) : Kind(kind) {}
    virtual ~TOutElement() = default;
    const std::uint8_t Kind;
};

struct TMemoOut : TOutElement {
    TMemoOut(QString text, bool show) : TOutElement(kMemoOut), Text(std::move(text)), Show(show) {}
    QString Text;
    bool Show;
};

// Kind 2 carries a text for a control, kind 12 a colour.
struct TControlOut : TOutElement {
    TControlOut(QWidget* control, QString text)
        : TOutElement(kControlOut), Control(control), Text(std::move(text)) {}
    TControlOut(QWidget* control, QColor colour) : TOutElement(kColorOut), Control(control), Colour(colour) {}
    QWidget* Control;
    QString Text;
    QColor Colour;
};

struct TCompOut : TOutElement {
    TCompOut(QAction* item, QString text) : TOutElement(kCompOut), Item(item), Text(std::move(text)) {}
    QAction* Item;
    QString Text;
};

struct TTriSliderOut : TOutElement {
    TTriSliderOut(QWidget* slider, int value, QString text)
        : TOutElement(kTriSliderOut), Slider(slider), Value(value), Text(std::move(text)) {}
    QWidget* Slider;
    int Value;
    QString Text;
};

struct TMsgOut : TOutElement {
    explicit TMsgOut(QString text) : TOutElement(kMsgOut), Text(std::move(text)) {}
    QString Text;
};

struct TStatusOut : TOutElement {
    TStatusOut(QString text, QLabel* panel) : TOutElement(kStatusOut), Text(std::move(text)), Panel(panel) {}
    QString Text;
    QLabel* Panel;
};

struct TOutStringGrid : TOutElement {
    TOutStringGrid(QTableWidget* grid, int row, int column, QString text)
        : TOutElement(kGridOut), Grid(grid), Row(row), Column(column), Text(std::move(text)) {}
    QTableWidget* Grid;
    int Row;
    int Column;
    QString Text;
};

// What applying needs beyond the record's own target.
struct TApplyContext {
    QPlainTextEdit* memo = nullptr;  // the debug log
    QWidget* dialogParent = nullptr; // owner of message boxes
    // The ADC page's slider rules; absent until that page exists.
    std::function<void(QWidget* slider, int value, const QString& text)> sliderRule;
};

// Applies one record to its target on the main thread. Texts that do not suit their target are
// dropped without a message.
void ApplyRecord(const TOutElement& record, const TApplyContext& context);

// The kind-2 rule alone, also used where a program change must act like a queued record.
void ApplyControlText(QWidget* control, const QString& text);

// Clicks a button as a program change does: its click rule runs even while it is disabled.
void ClickEvenIfDisabled(QAbstractButton* button);
