#include "history/f_history.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

struct TColumn {
    const char* header;
    int width;
};
constexpr TColumn kColumnTable[TformHistory::kColumns] = {
    {"№", 50},      {"Время", 105}, {"№ объекта", 60}, {"Код", 25}, {"Т\\В", 95},     {"Событие", 140},
    {"Раздел", 40}, {"Шлейф", 40},  {"Посылка", 210},  {"КС", 40},  {"Передано", 40},
};

} // namespace

TformHistory::TformHistory(QWidget* parent) : TPageForm(QStringLiteral("formHistory"), parent) {
    auto* bar = new QWidget(this);
    bar->setFixedHeight(41);
    auto* barLayout = new QHBoxLayout(bar);
    btnBackward = AddButton(barLayout, QStringLiteral("btnBackward"), QStringLiteral("< Назад"));
    Button2 = AddButton(barLayout, QStringLiteral("Button2"), QStringLiteral("Вперед >"));
    Button1 = AddButton(barLayout, QStringLiteral("Button1"),
                        QStringLiteral("Экспорт в Excel открытой страницы истории"));
    btnClear = AddButton(barLayout, QStringLiteral("btnClear"), QStringLiteral("Очистить"));
    btnStart = AddButton(barLayout, QStringLiteral("btnStart"), QStringLiteral("Start"));
    barLayout->addStretch();
    btnBackward->setEnabled(false);
    Button2->setEnabled(false);
    btnClear->setEnabled(false);
    btnStart->hide();

    StringGrid1 = Own(new QTableWidget(kRows - 1, kColumns, this), QStringLiteral("StringGrid1"));
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setDefaultSectionSize(15);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    for (int c = 0; c < kColumns; ++c)
        StringGrid1->setHorizontalHeaderItem(c,
                                             new QTableWidgetItem(QString::fromUtf8(kColumnTable[c].header)));
    RestoreColumnWidths();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(StringGrid1, 1);
}

void TformHistory::ResetGrid() {
    StringGrid1->clearContents();
}

void TformHistory::RestoreColumnWidths() {
    for (int c = 0; c < kColumns; ++c)
        StringGrid1->setColumnWidth(c, kColumnTable[c].width);
}
